// The operators' log in the installation database: made when an older file
// opens, never changed once written, and read back newest first through the
// filters of the logins page and keyvane-cli.
#include "modelfixture.h"

#include "model/auditoria.h"
#include "model/errorbd.h"

#include <QSqlQuery>

using kv::test::FbConnection;

namespace {

int Tabla(FbConnection &db)
{
    return db.scalar("select count(*) from rdb$relations where rdb$relation_name = 'ZARVAUDITORIA'").toInt();
}

} // namespace

TEST_F(ModelTest, AnInstallationFileWithoutTheLogGetsItWhenItOpens)
{
    {
        FbConnection db(inst.installationFile(1));
        ASSERT_EQ(Tabla(db), 0) << "the factory file is older than the log";
    }
    auto sistema = Abre();
    Auditoria::Registra(sistema->Conexion(), Auditoria::Accion::Parametros_Cambiados, {});
    sistema.reset();
    FbConnection db(inst.installationFile(1));
    EXPECT_EQ(Tabla(db), 1);
    EXPECT_EQ(db.rows("select accion, login, resultado from zarvauditoria"), QStringList{"parameters changed|console|done"});
}

TEST_F(ModelTest, AnEntryCanBeNeitherChangedNorDeleted)
{
    auto sistema = Abre();
    Auditoria::Registra(sistema->Conexion(), Auditoria::Accion::Tarjeta_Alta, {.tarjeta = "0000000011"});
    // Not by the program's own connection, not by anyone else's.
    QSqlQuery q(sistema->Conexion());
    EXPECT_FALSE(q.exec("update zarvauditoria set login = 'nobody'"));
    EXPECT_FALSE(q.exec("delete from zarvauditoria"));
    FbConnection db(inst.installationFile(1));
    EXPECT_FALSE(db.exec("update zarvauditoria set resultado = 'refused'"));
    EXPECT_FALSE(db.exec("delete from zarvauditoria"));
    // Number and time are the database's, whatever an insert says.
    EXPECT_TRUE(db.exec("insert into zarvauditoria(id, momento, login, accion, resultado) "
                        "values (1, '2001-01-01', 'x', 'card added', 'done')"));
    EXPECT_EQ(db.rows("select login, tarjeta, extract(year from momento) >= 2026 from zarvauditoria order by id"),
              (QStringList{"console|0000000011|true", "x||true"}));
}

class FiltroAuditoriaTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        sistema = Abre();
        FbConnection db(inst.installationFile(1));
        // Entries of other days than today: written with the time trigger off.
        ASSERT_TRUE(db.exec("ALTER TRIGGER TRA_ZARVAUDITORIA_ALTA INACTIVE"));
        const char *filas[] = {
            "1, '2026-10-31 23:59:59', 'admin', 'card added', '0000000011', NULL, NULL, NULL",
            "2, '2026-11-01 00:00:00', 'guard', 'cardholder added', NULL, 7, 'Ana O''Brien', NULL",
            "3, '2026-11-15 12:00:00', 'Admin', 'card assigned', '0000000011', 7, 'Ana O''Brien', 3",
            "4, '2026-11-30 23:59:59', 'console', 'controller erased', NULL, NULL, NULL, 3",
            "5, '2026-12-01 00:00:00', 'admin', 'login added', NULL, NULL, 'guard', NULL",
        };
        for (const char *f : filas)
            ASSERT_TRUE(db.exec(QStringLiteral("insert into zarvauditoria(id, momento, login, accion, tarjeta, usuario, "
                                               "nombre, controlador, resultado) values (%1, 'done')")
                                    .arg(QLatin1String(f))))
                << db.lastError().toStdString();
        ASSERT_TRUE(db.exec("ALTER TRIGGER TRA_ZARVAUDITORIA_ALTA ACTIVE"));
        ASSERT_TRUE(db.exec("SET GENERATOR GEN_ZARVAUDITORIA TO 5"));
    }
    std::vector<qint64> Ids(const Auditoria::Filtro &f)
    {
        std::vector<qint64> ids;
        for (const Auditoria::Entrada &e : Auditoria::Lee(sistema->Conexion(), f))
            ids.push_back(e.id);
        return ids;
    }
    std::unique_ptr<ZARVSistema> sistema;
};

TEST_F(FiltroAuditoriaTest, TheFiltersPickTheirEntriesNewestFirst)
{
    const QDate nov1(2026, 11, 1), nov30(2026, 11, 30);
    struct Caso {
        const char *que;
        Auditoria::Filtro filtro;
        std::vector<qint64> ids;
    } casos[] = {
        {"everything", {}, {5, 4, 3, 2, 1}},
        {"one month, both ends whole days", {.desde = nov1, .hasta = nov30}, {4, 3, 2}},
        {"from a day on", {.desde = QDate(2026, 11, 30)}, {5, 4}},
        {"a login in any case", {.login = "ADMIN"}, {5, 3, 1}},
        {"a card code", {.objeto = "0000000011"}, {3, 1}},
        {"part of a name", {.objeto = "o'brien"}, {3, 2}},
        {"a controller or cardholder number", {.objeto = "3"}, {4, 3}},
        {"a number that is a cardholder", {.objeto = "7"}, {3, 2}},
        {"all filters at once", {.desde = nov1, .hasta = nov30, .login = "admin", .objeto = "3"}, {3}},
        {"a range the wrong way round", {.desde = nov30, .hasta = nov1}, {}},
        {"at most two", {.limite = 2}, {5, 4}},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(Ids(c.filtro), c.ids) << c.que;
}

TEST_F(FiltroAuditoriaTest, PagesFollowOnWithoutGapsOrRepeats)
{
    Auditoria::Filtro f{.limite = 2};
    std::vector<qint64> vistos;
    for (int pagina = 0; pagina < 4; ++pagina) {
        const std::vector<Auditoria::Entrada> e = Auditoria::Lee(sistema->Conexion(), f);
        for (const Auditoria::Entrada &x : e)
            vistos.push_back(x.id);
        if (e.empty())
            break;
        f.tras_momento = e.back().momento;
        f.tras_id = e.back().id;
    }
    EXPECT_EQ(vistos, (std::vector<qint64>{5, 4, 3, 2, 1}));
}

TEST_F(FiltroAuditoriaTest, ALineIsTabSeparatedWithTheTextsKeptOnOneLine)
{
    Auditoria::Registra(sistema->Conexion(), Auditoria::Accion::Usuario_Alta,
                        {.usuario = 9, .nombre = "Tab\there", .detalle = "two\nlines"});
    const std::vector<Auditoria::Entrada> e = Auditoria::Lee(sistema->Conexion(), {.limite = 1});
    ASSERT_EQ(e.size(), 1u);
    const QStringList campos = Auditoria::Linea(e[0]).split('\t');
    ASSERT_EQ(campos.size(), 9);
    EXPECT_EQ(campos.mid(1), (QStringList{"console", "cardholder added", "", "9", "Tab here", "", "done", "two lines"}));
}
