// Changes made of several statements are all or nothing: a failure injected
// into the database halfway (a trigger that raises) leaves every row as it
// was. New numbers are the ones the insert itself took.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"

using kv::test::FbConnection;

class TransaccionTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        db = std::make_unique<FbConnection>(inst.installationFile(1));
        ASSERT_TRUE(db->isOpen());
        for (int cod : {1, 2, 3}) {
            ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                                                "VALUES(%1,1,'Door %1','Null',%1)")
                                     .arg(cod)));
        }
        ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000011','N',NULL,NULL,-1,'N')"));
        ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000022','N',NULL,NULL,-1,'N')"));
        ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('0000000011',2,'S')"));
        ASSERT_TRUE(db->exec("INSERT INTO zarvcontroladortarjeta VALUES('0000000022',2,'N')"));
        ASSERT_TRUE(db->exec("CREATE EXCEPTION kv_fallo 'injected failure'"));
        sistema = Abre();
    }
    void TearDown() override
    {
        sistema.reset();
        db.reset();
    }
    // A trigger that fails every statement of that kind on that table
    // matching condicion.
    void Falla(const QString &tabla, const QString &momento, const QString &condicion = QStringLiteral("1=1"))
    {
        ASSERT_TRUE(db->exec(QStringLiteral("CREATE TRIGGER kv_falla FOR %1 %2 AS BEGIN IF (%3) THEN EXCEPTION kv_fallo; END")
                                 .arg(tabla, momento, condicion)))
            << db->lastError().toStdString();
    }
    QStringList Todo()
    {
        return db->rows("select 'c', cod from zarvcontrolador union all "
                        "select 't', codigo_tarjeta from zarvtarjeta union all "
                        "select tarjeta || '@' || controlador, \"_STOREDINHW\" from zarvcontroladortarjeta");
    }

    std::unique_ptr<FbConnection> db;
    std::unique_ptr<ZARVSistema> sistema;
};

TEST_F(TransaccionTest, DeletingAControllerKeepsItsAssignmentsWhenTheControllerRowCannotGo)
{
    const QStringList antes = Todo();
    Falla("zarvcontrolador", "BEFORE DELETE");
    EXPECT_THROW(sistema->Controladores()->Elimina_Con_Tarjetas(*sistema->Controladores()->Busca(2)), ErrorBD);
    EXPECT_EQ(Todo(), antes);

    ASSERT_TRUE(db->exec("DROP TRIGGER kv_falla"));
    sistema->Controladores()->Elimina_Con_Tarjetas(*sistema->Controladores()->Busca(2));
    EXPECT_EQ(db->rows("select count(*) from zarvcontroladortarjeta"), QStringList{"0"});
    EXPECT_EQ(sistema->Controladores()->Busca(2), nullptr);
}

TEST_F(TransaccionTest, ReplacingAControllersCardsKeepsTheOldOnesWhenACardCannotGoIn)
{
    const QStringList antes = Todo();
    Falla("zarvcontroladortarjeta", "BEFORE INSERT", "new.tarjeta = '0000000022'");
    const std::vector<std::pair<QString, bool>> nuevas{{"0000000011", true}, {"0000000022", false}};
    EXPECT_THROW(sistema->Controladores()->Reemplaza_Tarjetas(*sistema->Controladores()->Busca(2), nuevas), ErrorBD);
    EXPECT_EQ(Todo(), antes);

    ASSERT_TRUE(db->exec("DROP TRIGGER kv_falla"));
    sistema->Controladores()->Reemplaza_Tarjetas(*sistema->Controladores()->Busca(2),
                                                {{"0000000022", true}});
    EXPECT_EQ(db->rows("select tarjeta,controlador,\"_STOREDINHW\" from zarvcontroladortarjeta"),
              QStringList{"0000000022|2|S"});
}

TEST_F(TransaccionTest, ACardWhoseAssignmentCannotGoInIsNotStoredEither)
{
    const QStringList antes = Todo();
    Falla("zarvcontroladortarjeta", "BEFORE INSERT", "new.controlador = 3");
    ZARVTarjeta t;
    t.Set_Codigo_Tarjeta("0000000033");
    t.Anade_Controlador(sistema->Controladores()->Busca(1), false);
    t.Anade_Controlador(sistema->Controladores()->Busca(3), false);
    EXPECT_THROW(sistema->Tarjetas()->Inserta_Con_Asignaciones(t), ErrorBD);
    EXPECT_EQ(Todo(), antes);
    EXPECT_EQ(sistema->Tarjetas()->Busca("0000000033"), nullptr);
    // A code already in use fails whole as well.
    ASSERT_TRUE(db->exec("DROP TRIGGER kv_falla"));
    t.Set_Codigo_Tarjeta("0000000011");
    EXPECT_THROW(sistema->Tarjetas()->Inserta_Con_Asignaciones(t), ErrorBD);
    EXPECT_EQ(Todo(), antes);
}

TEST_F(TransaccionTest, ANewCardholderGetsTheNumberItsOwnInsertTook)
{
    // Another station has moved the generator on meanwhile.
    db->scalar("SELECT gen_id(GEN_ZARVUSUARIO_ID, 40) FROM rdb$database");
    ZARVUsuario u;
    u.Set_Nombre("Ana");
    u.Set_Apellidos("O'Brien");
    int id = -1;
    sistema->Usuarios()->Inserta(u, id);
    EXPECT_EQ(db->scalar("select id from zarvusuario where apellidos = 'O''Brien'").toInt(), id);
    EXPECT_GT(id, 40);
}

TEST_F(TransaccionTest, ANewInstallationIsListedUnderTheCodeItsRowTook)
{
    const int code = server.Nueva_Instalacion(QStringLiteral("Almacén"), inst.programDir());
    EXPECT_TRUE(server.Lista_Instalaciones().contains(QStringLiteral("%1.- Almacén").arg(code)));
    EXPECT_TRUE(QFile::exists(inst.installationFile(code)));
}
