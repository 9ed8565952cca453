// Changes made of several statements are all or nothing, their entry in the
// operators' log included: a failure injected into the database halfway (a
// trigger that raises) leaves every row as it was and no entry. New numbers
// are the ones the insert itself took.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/transaccionbd.h"
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
                        "select tarjeta || '@' || controlador, \"_STOREDINHW\" from zarvcontroladortarjeta union all "
                        "select 'log ' || accion, coalesce(tarjeta, '') || '@' || coalesce(controlador, 0) from zarvauditoria");
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
    EXPECT_THROW(sistema->Controladores()->Reemplaza_Tarjetas(*sistema->Controladores()->Busca(2), nuevas,
                                                              Auditoria::Accion::Tarjetas_Recibidas),
                 ErrorBD);
    EXPECT_EQ(Todo(), antes);

    ASSERT_TRUE(db->exec("DROP TRIGGER kv_falla"));
    sistema->Controladores()->Reemplaza_Tarjetas(*sistema->Controladores()->Busca(2), {{"0000000022", true}},
                                                Auditoria::Accion::Tarjetas_Recibidas);
    EXPECT_EQ(db->rows("select tarjeta,controlador,\"_STOREDINHW\" from zarvcontroladortarjeta"),
              QStringList{"0000000022|2|S"});
    EXPECT_EQ(db->rows("select accion, controlador, detalle, resultado from zarvauditoria"),
              QStringList{"cards received|2|1 cards|done"});
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

// The entry is the change's last statement: when it cannot be written the
// change goes too, single statements and changes of several alike.
TEST_F(TransaccionTest, AChangeWhoseLogEntryCannotBeWrittenIsNotStored)
{
    const QStringList antes = Todo();
    Falla("zarvauditoria", "BEFORE INSERT");
    ZARVUsuario u;
    u.Set_Nombre("Ana");
    int id = 0;
    EXPECT_THROW(sistema->Usuarios()->Inserta(u, id), ErrorBD);
    EXPECT_THROW(sistema->Controladores()->Elimina_Con_Tarjetas(*sistema->Controladores()->Busca(2)), ErrorBD);
    ZARVTarjeta t;
    t.Set_Codigo_Tarjeta("0000000044");
    EXPECT_THROW(sistema->Tarjetas()->Inserta_Con_Usuario(t, -1), ErrorBD);
    t.Anade_Controlador(sistema->Controladores()->Busca(1), false);
    EXPECT_THROW(sistema->Tarjetas()->Inserta_Con_Asignaciones(t), ErrorBD);
    EXPECT_EQ(Todo(), antes);
    EXPECT_EQ(db->scalar("select count(*) from zarvusuario").toInt(), 0);

    ASSERT_TRUE(db->exec("DROP TRIGGER kv_falla"));
    sistema->Tarjetas()->Inserta_Con_Asignaciones(t);
    EXPECT_EQ(db->rows("select accion, tarjeta, coalesce(controlador, -1), login, resultado from zarvauditoria order by id"),
              (QStringList{"card added|0000000044|-1|console|done", "card assigned|0000000044|1|console|done"}));
}

// A change that is one transaction of its own, made part of a larger one:
// the outer commit keeps both, and an inner part that failed, even if its
// error was caught on the way, spoils the whole.
TEST_F(TransaccionTest, AnInnerChangeJoinsTheOuterOneAndItsFailureSpoilsIt)
{
    ZARVColeccionControlador *c = sistema->Controladores();
    {
        TransaccionBD fuera(c->Conexion_BD());
        c->Elimina_Con_Tarjetas(*c->Busca(3));
        // Not kept yet: another connection does not see it.
        EXPECT_EQ(db->scalar("select count(*) from zarvcontrolador where cod = 3").toInt(), 1);
        fuera.Confirma();
    }
    EXPECT_EQ(db->scalar("select count(*) from zarvcontrolador where cod = 3").toInt(), 0);

    const QStringList antes = Todo();
    Falla("zarvcontrolador", "BEFORE DELETE");
    {
        TransaccionBD fuera(c->Conexion_BD());
        c->Quita_Tarjetas(*c->Busca(2));
        try {
            c->Elimina_Con_Tarjetas(*c->Busca(1));
        } catch (const ErrorBD &) {
            // swallowed: the outer change must still not be kept
        }
        EXPECT_THROW(fuera.Confirma(), ErrorBD);
    }
    EXPECT_EQ(Todo(), antes);
}
