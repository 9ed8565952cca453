// Assignments: the card-side statements read back with SQL, the entries a
// reload gives each card (the one-statement read against each card's own
// statement), and the card lists of a controller and of a cardholder.
#include "modelfixture.h"

#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"

#include <QRandomGenerator>
#include <QSqlQuery>

using kv::test::FbConnection;

namespace {

ZARVTarjeta Make(const QString &codigo)
{
    ZARVTarjeta t;
    t.Set_Codigo_Tarjeta(codigo);
    t.Set_Fecha_Alta(QDateTime(QDate(2024, 1, 1), QTime(0, 0)));
    t.Set_Fecha_Caducidad(QDateTime(QDate(2030, 1, 1), QTime(0, 0)));
    return t;
}

// Each card's entries as "code:controller=S/N ..." for comparisons.
QStringList Entries(ZARVColeccionTarjeta &c)
{
    QStringList out;
    for (c.Primero(); !c.Fin(); c.Siguiente()) {
        const auto t = c.Elemento(-1);
        QString s = t->Codigo_Tarjeta() + QLatin1Char(':');
        for (const auto &e : t->Controladores())
            s += QStringLiteral(" %1=%2").arg(e.Controlador->Cod()).arg(e.Almacenada ? 'S' : 'N');
        out << s;
    }
    return out;
}

QStringList Codes(const TTarjetaLista &l)
{
    QStringList out;
    for (const auto &e : l)
        out << e.Tarjeta->Codigo_Tarjeta() + (e.Almacenada ? "=S" : "=N");
    return out;
}

// The same collection, reloading each card's entries with the card's own
// statement, one per card: what the one-statement read must match.
class TarjetasPorTarjeta : public ZARVColeccionTarjeta {
public:
    using ZARVColeccionTarjeta::ZARVColeccionTarjeta;

protected:
    void Lee_Asignaciones_De(const std::vector<std::shared_ptr<ZARVTarjeta>> &tarjetas) override
    {
        for (const auto &t : tarjetas) {
            QSqlQuery &q = Prepara("SELECT controlador,\"_STOREDINHW\" FROM zarvcontroladortarjeta WHERE tarjeta=:tarjeta");
            q.bindValue(":tarjeta", t->Codigo_Tarjeta());
            Ejecuta();
            while (q.next()) {
                if (auto c = Sistema()->Controladores()->Busca(q.value(0).toInt()))
                    t->Anade_Controlador(c, q.value(1).toString() == "S");
            }
            q.finish();
        }
    }
};

} // namespace

class AsignacionTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        db = std::make_unique<FbConnection>(inst.installationFile(1));
        ASSERT_TRUE(db->isOpen());
        for (int cod = 1; cod <= 3; ++cod)
            ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                                                "VALUES(%1,3,'Door %1','Null',%1)")
                                     .arg(cod)));
        sistema = Abre();
        tarjetas = sistema->Tarjetas();
    }
    void TearDown() override
    {
        sistema.reset();
        db.reset();
    }
    QStringList Rows()
    {
        return db->rows("select tarjeta,controlador,\"_STOREDINHW\" from zarvcontroladortarjeta order by tarjeta,controlador");
    }
    std::shared_ptr<ZARVControlador> Ctl(int cod) { return sistema->Controladores()->Busca(cod); }

    std::unique_ptr<FbConnection> db;
    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionTarjeta *tarjetas = nullptr;
};

TEST_F(AsignacionTest, InsertWithAssignmentsLeavesOnePendingRowPerEntry)
{
    ZARVTarjeta t = Make("0000000010");
    t.Anade_Controlador(Ctl(1), true);
    t.Anade_Controlador(Ctl(2), true);
    EXPECT_TRUE(tarjetas->Inserta_Con_Asignaciones(t));
    // Pending whatever the entry says: nothing has been written to a controller yet.
    EXPECT_EQ(Rows(), (QStringList{"0000000010|1|N", "0000000010|2|N"}));
    EXPECT_TRUE(tarjetas->Esta_Asignada("0000000010"));
    // The reload follows the whole change: the loaded card has its entries.
    EXPECT_EQ(Entries(*tarjetas), QStringList{"0000000010: 1=N 2=N"});
}

TEST_F(AsignacionTest, AssignSwallowsAPairAlreadyThereAndKeepsItsFlag)
{
    tarjetas->Inserta(Make("0000000010"));
    const ZARVTarjeta &t = *tarjetas->Busca("0000000010");
    tarjetas->Asigna(t, 1, true);
    tarjetas->Asigna(t, 2, false);
    EXPECT_NO_THROW(tarjetas->Asigna(t, 1, false));
    EXPECT_EQ(Rows(), (QStringList{"0000000010|1|S", "0000000010|2|N"}));
}

TEST_F(AsignacionTest, FlagsMoveBetweenPendingAndStored)
{
    tarjetas->Inserta(Make("0000000010"));
    tarjetas->Inserta(Make("0000000011"));
    tarjetas->Asigna(*tarjetas->Busca("0000000010"), 1, true);
    tarjetas->Asigna(*tarjetas->Busca("0000000010"), 2, true);
    tarjetas->Asigna(*tarjetas->Busca("0000000011"), 2, false);

    tarjetas->Marca_Pendiente("0000000010", 2);
    EXPECT_EQ(Rows(), (QStringList{"0000000010|1|S", "0000000010|2|N", "0000000011|2|N"}));
    tarjetas->Marca_Todas_Almacenadas();
    EXPECT_EQ(db->scalar("select count(*) from zarvcontroladortarjeta where \"_STOREDINHW\"='N'").toInt(), 0);
    EXPECT_EQ(Rows().size(), 3);
}

TEST_F(AsignacionTest, CountsAndTheFullReadInControllerOrder)
{
    EXPECT_EQ(tarjetas->Cuenta_Asignaciones(), 0);
    EXPECT_FALSE(tarjetas->Esta_Asignada("0000000010"));
    for (const char *code : {"0000000010", "0000000011", "0000000012"})
        tarjetas->Inserta(Make(code));
    tarjetas->Asigna(*tarjetas->Busca("0000000010"), 3, true);
    tarjetas->Asigna(*tarjetas->Busca("0000000011"), 1, false);
    tarjetas->Asigna(*tarjetas->Busca("0000000012"), 2, true);
    tarjetas->Asigna(*tarjetas->Busca("0000000012"), 1, true);
    EXPECT_EQ(tarjetas->Cuenta_Asignaciones(), 4);
    EXPECT_EQ(tarjetas->Cuenta_Tarjetas_Controlador(1), 2);
    EXPECT_EQ(tarjetas->Cuenta_Tarjetas_Controlador(7), 0);
    EXPECT_TRUE(tarjetas->Esta_Asignada("0000000011"));

    std::vector<int> numeros(4);
    QStringList codigos(4);
    tarjetas->Lee_Asignaciones(numeros, codigos);
    EXPECT_EQ(numeros, (std::vector<int>{1, 1, 2, 3}));
    EXPECT_EQ(codigos.mid(2), (QStringList{"0000000012", "0000000010"}));
    EXPECT_EQ(QSet<QString>(codigos.begin(), codigos.begin() + 2), (QSet<QString>{"0000000011", "0000000012"}));

    // Arrays sized before a row was added: only as many rows as they hold.
    std::vector<int> pocos(2, -7);
    QStringList pocos_codigos(2);
    tarjetas->Asigna(*tarjetas->Busca("0000000010"), 1, true);
    tarjetas->Lee_Asignaciones(pocos, pocos_codigos);
    EXPECT_EQ(pocos, (std::vector<int>{1, 1}));

    tarjetas->Quita_Asignaciones(*tarjetas->Busca("0000000012"));
    EXPECT_FALSE(tarjetas->Esta_Asignada("0000000012"));
    EXPECT_EQ(tarjetas->Cuenta_Asignaciones(), 3);
    tarjetas->Quita_Todas_Asignaciones();
    EXPECT_EQ(tarjetas->Cuenta_Asignaciones(), 0);
}

TEST_F(AsignacionTest, AssignmentsToControllersTheInstallationLacksAreSkipped)
{
    tarjetas->Inserta(Make("0000000010"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('0000000010',2,'S')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('0000000010',42,'N')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('0000000010',1,'N')"));
    // Rows of a card that does not exist belong to nobody.
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('0000000099',1,'N')"));
    tarjetas->Refrescar();
    EXPECT_EQ(Entries(*tarjetas), QStringList{"0000000010: 2=S 1=N"});
    const auto &e = tarjetas->Busca("0000000010")->Controladores();
    EXPECT_EQ(e[0].Controlador, Ctl(2));
}

// Deletions and later inserts make the rows' storage order differ from their
// insertion order and from any key order: whatever order each card's own
// statement gives, the one-statement reload must give the same.
TEST_F(AsignacionTest, OneReadGivesEveryCardTheEntriesItsOwnStatementGives)
{
    QRandomGenerator rng(20240301);
    QSqlDatabase &d = db->db();
    ASSERT_TRUE(d.transaction());
    QSqlQuery card(d), row(d);
    card.prepare("INSERT INTO zarvtarjeta VALUES(:c,'N',NULL,NULL,-1,'N')");
    row.prepare("INSERT INTO zarvcontroladortarjeta VALUES(:c,:n,:f)");
    for (int i = 0; i < 300; ++i) {
        card.bindValue(":c", QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')));
        ASSERT_TRUE(card.exec());
    }
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 600; ++i) {
            row.bindValue(":c", QStringLiteral("%1").arg(rng.bounded(300), 10, 10, QLatin1Char('0')));
            row.bindValue(":n", 1 + rng.bounded(3));
            row.bindValue(":f", rng.bounded(2) ? "S" : "N");
            row.exec(); // duplicates refused, as the program never inserts one
        }
        ASSERT_TRUE(d.commit());
        QSqlQuery del(d);
        ASSERT_TRUE(del.exec(QStringLiteral("DELETE FROM zarvcontroladortarjeta WHERE mod(controlador + "
                                            "cast(tarjeta as integer), %1) = 0")
                                 .arg(3 + round)));
        ASSERT_TRUE(d.transaction());
    }
    ASSERT_TRUE(d.commit());
    // A card code with trailing blanks matches its assignments as the
    // database compares texts.
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('77 ','N',NULL,NULL,-1,'N')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('77',3,'S')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('77  ',1,'N')"));

    tarjetas->Refrescar();
    TarjetasPorTarjeta porTarjeta(sistema.get(), inst.installationFile(1), nullptr);
    porTarjeta.Refrescar();
    const QStringList one = Entries(*tarjetas);
    EXPECT_EQ(one, Entries(porTarjeta));
    EXPECT_EQ(one.size(), 301);
    EXPECT_TRUE(one.contains("77 : 3=S 1=N"));
}

TEST_F(AsignacionTest, AControllersCardsComeWithTheirFlagsInCardOrder)
{
    ASSERT_TRUE(db->exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(5,'Ana','Ruiz','S','')"));
    sistema->Usuarios()->Carga();
    ZARVTarjeta a = Make("0000000020");
    a.Set_Usuario(sistema->Usuarios()->Busca(5));
    tarjetas->Inserta(a);
    tarjetas->Inserta(Make("0000000010"));
    tarjetas->Inserta(Make("0000000030"));
    tarjetas->Asigna(*tarjetas->Busca("0000000020"), 1, true);
    tarjetas->Asigna(*tarjetas->Busca("0000000010"), 1, false);
    tarjetas->Asigna(*tarjetas->Busca("0000000030"), 2, true);
    tarjetas->Refrescar();

    // Cards without cardholder (-1) first, then by cardholder.
    EXPECT_EQ(Codes(Ctl(1)->Tarjetas_Controlador()), (QStringList{"0000000010=N", "0000000020=S"}));
    EXPECT_EQ(Codes(Ctl(2)->Tarjetas_Controlador()), QStringList{"0000000030=S"});
    EXPECT_TRUE(Ctl(3)->Tarjetas_Controlador().empty());
    // It walks the card collection with its cursor.
    EXPECT_TRUE(tarjetas->Fin());

    EXPECT_TRUE(Ctl(1)->Tiene_Tarjeta(Make("0000000010")));
    EXPECT_FALSE(Ctl(1)->Tiene_Tarjeta(Make("000000010")));
    EXPECT_FALSE(Ctl(2)->Tiene_Tarjeta(Make("0000000010")));

    // After the controllers reload, the cards still hold the old objects:
    // the match is by number, so the new controllers find their cards.
    sistema->Controladores()->Refrescar();
    EXPECT_EQ(Codes(Ctl(1)->Tarjetas_Controlador()), (QStringList{"0000000010=N", "0000000020=S"}));

    // A controller a window built itself belongs to no installation.
    ZARVControlador suelto;
    suelto.Set_Cod(1);
    EXPECT_TRUE(suelto.Tarjetas_Controlador().empty());
}

TEST_F(AsignacionTest, ACardholdersCardsAreFoundByNumberEvenAfterTheCardholdersReload)
{
    ASSERT_TRUE(db->exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(5,'Ana','Ruiz','S','')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(6,'Luis','Sol','S','')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000002','N',NULL,NULL,5,'N')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000001','N',NULL,NULL,5,'N')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000003','N',NULL,NULL,6,'N')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('0000000001',1,'S')"));
    sistema->Usuarios()->Carga();
    tarjetas->Refrescar();
    sistema->Usuarios()->Carga(); // the cards keep the cardholder objects of the earlier load

    const auto ana = sistema->Usuarios()->Busca(5);
    const TTarjetaLista l = ana->Tarjetas_Usuario();
    ASSERT_EQ(l.size(), 2u);
    QStringList got = Codes(l);
    got.sort();
    // Every entry unstored, whatever its assignments say.
    EXPECT_EQ(got, (QStringList{"0000000001=N", "0000000002=N"}));
    EXPECT_EQ(Codes(sistema->Usuarios()->Tarjetas_Usuario(*sistema->Usuarios()->Busca(6))), QStringList{"0000000003=N"});

    ZARVUsuario nadie;
    nadie.Set_Id(5);
    EXPECT_TRUE(nadie.Tarjetas_Usuario().empty());
}
