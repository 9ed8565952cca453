// Writing a card's pending assignments into the controllers, against
// keyvane-sim: every confirmed write marks its row stored, a controller that
// refuses or stays silent keeps its row pending and makes the result false,
// and the write goes to the pending controller's own address.
#include "modelfixture.h"
#include "simprocess.h"

#include "link/zarvcomunicador.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcolecciontarjeta.h"

using kv::test::FbConnection;
using kv::test::SimProcess;

namespace {

ZARVTarjeta Make(const QString &codigo)
{
    ZARVTarjeta t;
    t.Set_Codigo_Tarjeta(codigo);
    return t;
}

} // namespace

class EnviaTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        db = std::make_unique<FbConnection>(inst.installationFile(1));
        ASSERT_TRUE(db->isOpen());
    }
    void TearDown() override
    {
        sistema.reset();
        db.reset();
    }
    void Controller(int cod, int puerto, int direccion)
    {
        ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                                            "VALUES(%1,%2,'Door %1','Null',%3)")
                                 .arg(cod)
                                 .arg(puerto)
                                 .arg(direccion)));
    }
    void Pending(const QString &codigo, int cod, const char *flag = "N")
    {
        ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvcontroladortarjeta VALUES('%1',%2,'%3')").arg(codigo).arg(cod).arg(flag)));
    }
    void Open()
    {
        sistema = Abre();
        tarjetas = sistema->Tarjetas();
        // As the installation opens: each port's first controller gets its line.
        sistema->Conecta_Controladores();
        // As the sending workflow does before it talks to the controllers.
        sistema->Incidencias()->Detiene_Registro();
    }
    QStringList Rows()
    {
        return db->rows("select controlador,\"_STOREDINHW\" from zarvcontroladortarjeta order by controlador");
    }

    std::unique_ptr<FbConnection> db;
    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionTarjeta *tarjetas = nullptr;
};

struct Fallo {
    const char *name;
    const char *fault; // of controller 2's line; empty for none
    bool resultado;
    const char *fila2;
};

class EnviaFalloTest : public EnviaTest, public ::testing::WithParamInterface<Fallo> {};

TEST_P(EnviaFalloTest, EachConfirmedWriteIsMarkedStoredAndAnyOtherMakesItFalse)
{
    const Fallo &f = GetParam();
    SimProcess sim3(3, {"--controllers", "170"}, inst.portsDir());
    SimProcess sim4(4, {"--controllers", "170"}, inst.portsDir());
    Controller(1, 3, 0);
    Controller(2, 4, 0);
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0012345678','N',NULL,NULL,-1,'N')"));
    Pending("0012345678", 1);
    Pending("0012345678", 2);
    if (*f.fault) {
        ASSERT_TRUE(sim4.ok(QStringLiteral("fault 170 %1").arg(f.fault)));
    }
    Open();

    EXPECT_EQ(tarjetas->Envia_Pendientes(*tarjetas->Busca("0012345678")), f.resultado);
    EXPECT_EQ(Rows(), (QStringList{"1|S", QStringLiteral("2|%1").arg(f.fila2)}));
    EXPECT_EQ(sim3.command("dump 170"), QStringList{"0012345678"});

    // The retry writes only what is still pending.
    ASSERT_TRUE(sim4.ok("fault 170 none"));
    EXPECT_TRUE(tarjetas->Envia_Pendientes(*tarjetas->Busca("0012345678")));
    EXPECT_EQ(Rows(), (QStringList{"1|S", "2|S"}));
    EXPECT_EQ(sim3.command("dump 170"), QStringList{"0012345678"});
    EXPECT_EQ(sim4.command("dump 170"), QStringList{"0012345678"});
}

INSTANTIATE_TEST_SUITE_P(Controllers, EnviaFalloTest,
                         ::testing::Values(Fallo{"BothConfirm", "", true, "S"}, Fallo{"SecondRefuses", "refuse", false, "N"},
                                           Fallo{"SecondSilent", "silence", false, "N"},
                                           Fallo{"SecondAnswersBareAck", "ack", false, "N"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(EnviaTest, TheWriteReachesOnlyThePendingControllersOwnAddress)
{
    // Controllers 1 and 3 share COM3 at addresses 1 and 3, with a controller
    // at 170 on the same line; the card is pending on controller 3 only.
    SimProcess sim(3, {"--controllers", "1,3,170"}, inst.portsDir());
    Controller(1, 3, 1);
    Controller(3, 3, 3);
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000042','N',NULL,NULL,-1,'N')"));
    Pending("0000000042", 1, "S");
    Pending("0000000042", 3);
    Open();
    EXPECT_TRUE(tarjetas->Envia_Pendientes(*tarjetas->Busca("0000000042")));
    EXPECT_EQ(sim.command("dump 3"), QStringList{"0000000042"});
    EXPECT_TRUE(sim.command("dump 1").isEmpty());
    EXPECT_TRUE(sim.command("dump 170").isEmpty());
    EXPECT_EQ(Rows(), (QStringList{"1|S", "3|S"}));
}

TEST_F(EnviaTest, OnlyPendingRowsOfLoadedControllersAreWritten)
{
    SimProcess sim3(3, {"--controllers", "170"}, inst.portsDir());
    SimProcess sim4(4, {"--controllers", "170"}, inst.portsDir());
    Controller(1, 3, 0);
    // Controller 2 shares port 3 with 1: the installation opened no line for it.
    Controller(2, 3, 0);
    Controller(3, 4, 0);
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000042','N',NULL,NULL,-1,'N')"));
    Pending("0000000042", 1, "S");
    Pending("0000000042", 2);
    // No controller 9 in the installation: passed over, the result stays true.
    Pending("0000000042", 9);
    Open();
    ASSERT_EQ(sistema->Controladores()->Busca(2)->Comunicador(), nullptr);

    EXPECT_TRUE(tarjetas->Envia_Pendientes(*tarjetas->Busca("0000000042")));
    EXPECT_EQ(Rows(), (QStringList{"1|S", "2|S", "9|N"}));
    EXPECT_EQ(sim3.command("dump 170"), QStringList{"0000000042"});
    // Stored already at 3's controller: nothing sent there.
    EXPECT_TRUE(sim4.command("dump 170").isEmpty());
    // A card with nothing pending: nothing to do, true.
    EXPECT_TRUE(tarjetas->Envia_Pendientes(Make("0000000077")));
}

TEST_F(EnviaTest, ALineThatCannotBeOpenedIsReportedAfterTheWritesBeforeIt)
{
    SimProcess sim3(3, {"--controllers", "170"}, inst.portsDir());
    Controller(1, 3, 0);
    Controller(2, 200, 0); // no device behind COM200
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000042','N',NULL,NULL,-1,'N')"));
    Pending("0000000042", 1);
    Pending("0000000042", 2);
    Open();
    EXPECT_THROW(tarjetas->Envia_Pendientes(*tarjetas->Busca("0000000042")), std::runtime_error);
    EXPECT_EQ(Rows(), (QStringList{"1|S", "2|N"}));
}
