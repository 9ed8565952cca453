// Registering against keyvane-sim: which lines listen, events from a card
// presented at a simulated controller down to the stored row and the main
// window's notice, and what a stop, a restart and a missing line do.
#include "modelfixture.h"
#include "simprocess.h"

#include "link/zarvcomunicador.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcolecciontarjeta.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSerialPort>

#include <functional>

using kv::test::FbConnection;
using kv::test::SimProcess;

namespace {

bool Esperar(const std::function<bool()> &hecho, int ms = 5000)
{
    const QDeadlineTimer limite(ms);
    while (!hecho() && !limite.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return hecho();
}

void Pausa(int ms)
{
    Esperar([] { return false; }, ms);
}

bool Busy(const SimProcess &sim)
{
    QSerialPort p(sim.linkPath());
    if (!p.open(QIODevice::ReadWrite))
        return true;
    p.close();
    return false;
}

bool Escucha(const std::shared_ptr<ZARVControlador> &c)
{
    return c->Comunicador() && c->Comunicador()->Enlace() && c->Comunicador()->Enlace()->Activar_NdemandRC();
}

} // namespace

class RegistroTest : public ModelTest {
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
    void Controller(int cod, int puerto, int direccion, const QString &descripcion = QString())
    {
        ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                                            "VALUES(%1,%2,'%3','Null',%4)")
                                 .arg(cod)
                                 .arg(puerto)
                                 .arg(descripcion.isEmpty() ? QStringLiteral("Door %1").arg(cod) : descripcion)
                                 .arg(direccion)));
    }
    // Opens the installation as the main window does, with its live list.
    void Open()
    {
        sistema = Abre();
        sistema->Conecta_Controladores();
        inc = sistema->Incidencias();
        inc->OnNuevaIncidencia = [this](ZARVColeccionIncidencia *, const TEventoInformacion &info) {
            avisos.push_back(info);
        };
    }
    std::shared_ptr<ZARVControlador> Ctl(int cod) { return sistema->Controladores()->Busca(cod); }
    QStringList Stored()
    {
        return db->rows("select controlador,hist_controlador,tarjeta,hist_tarjeta,descripcion,evento,usr "
                        "from zarvincidencia order by cod");
    }

    std::unique_ptr<FbConnection> db;
    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionIncidencia *inc = nullptr;
    std::vector<TEventoInformacion> avisos;
};

TEST_F(RegistroTest, ACardPresentedAtTheDoorBecomesAStoredRowAndANotice)
{
    SimProcess sim(3, {"--controllers", "170"}, inst.portsDir());
    Controller(1, 3, 0, "Front");
    ASSERT_TRUE(db->exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(8,'Ann','O''Brien','S','')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0012345678','N',NULL,NULL,8,'N')"));
    Open();
    inc->Inicia_Registro();

    ASSERT_TRUE(sim.ok("card 170 12345678"));
    ASSERT_TRUE(Esperar([&] { return !avisos.empty(); }));
    EXPECT_EQ(Stored(), QStringList{"1|Front|0012345|unknow|0012345|1|8"});
    EXPECT_EQ(avisos[0].Tipo, 1);
    EXPECT_EQ(avisos[0].Parametro_1, "01");
    EXPECT_EQ(avisos[0].Tarjeta, "0012345678");
    EXPECT_EQ(avisos[0].Puerto, "3");
    // The frame was acknowledged: the controller does not send it again.
    Pausa(700);
    EXPECT_EQ(avisos.size(), 1u);
    const QString stats = sim.command("stats").join(' ');
    EXPECT_TRUE(stats.contains("events_pending=0")) << stats.toStdString();
    EXPECT_FALSE(stats.contains("acks_in=0 ")) << stats.toStdString();
}

TEST_F(RegistroTest, EveryEventOfASharedPortGoesToItsLowestNumberedController)
{
    SimProcess sim(3, {"--controllers", "2,5"}, inst.portsDir());
    Controller(5, 3, 5, "Back");
    Controller(2, 3, 2, "Front");
    Open();
    inc->Inicia_Registro();
    ASSERT_TRUE(sim.ok("door 5 button"));
    ASSERT_TRUE(sim.ok("refused 5 99"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 2; }));
    EXPECT_EQ(Stored(), (QStringList{"2|Front||||3|0", "2|Front|0000000|unknow|0000000|2|0"}));
}

struct Lineas {
    const char *name;
    std::vector<int> puertos;   // controllers 1, 2, 3 on these ports
    std::vector<bool> escucha;  // whose line Inicia_Registro switches on
    bool falla;                 // a line could not be opened
};

class IniciaTest : public RegistroTest, public ::testing::WithParamInterface<Lineas> {};

TEST_P(IniciaTest, OneLinePerPortListensAndStopSilencesAll)
{
    const Lineas &l = GetParam();
    SimProcess sim3(3, {"--controllers", "1,2,3"}, inst.portsDir());
    SimProcess sim4(4, {"--controllers", "1,2,3"}, inst.portsDir());
    for (int i = 0; i < 3; ++i)
        Controller(i + 1, l.puertos[size_t(i)], i + 1);
    Open();
    // Every controller's output goes to the log, opened or not.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Ctl(i + 1)->OnIncidencia) << i + 1;
    if (l.falla)
        EXPECT_THROW(inc->Inicia_Registro(), std::runtime_error);
    else
        EXPECT_NO_THROW(inc->Inicia_Registro());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(Escucha(Ctl(i + 1)), l.escucha[size_t(i)]);
    }
    EXPECT_TRUE(Busy(sim3));
    EXPECT_TRUE(Busy(sim4));

    // Both lines deliver, each event to its port's lowest-numbered controller.
    ASSERT_TRUE(sim3.ok("door 3 alarm"));
    ASSERT_TRUE(sim4.ok("door 2 alarm"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 2; }));
    QStringList rows = Stored();
    rows.sort();
    const int en3 = l.puertos[0] == 3 ? 1 : 2;
    const int en4 = l.puertos[1] == 4 ? 2 : 3;
    EXPECT_EQ(rows, (QStringList{QStringLiteral("%1|Door %1||||6|0").arg(std::min(en3, en4)),
                                 QStringLiteral("%1|Door %1||||6|0").arg(std::max(en3, en4))}));

    inc->Detiene_Registro();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_FALSE(Escucha(Ctl(i + 1)));
        if (Ctl(i + 1)->Comunicador()) {
            EXPECT_FALSE(Ctl(i + 1)->Comunicador()->OnIncidencia);
        }
    }
    EXPECT_FALSE(Busy(sim3));
    EXPECT_FALSE(Busy(sim4));
}

INSTANTIATE_TEST_SUITE_P(Ports, IniciaTest,
                         ::testing::Values(Lineas{"Neighbours", {3, 3, 4}, {true, false, true}, false},
                                           // Not neighbours: the first of each port listens for it all the same.
                                           Lineas{"Apart", {3, 4, 3}, {true, true, false}, false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(RegistroTest, EventsWaitingWhileStoppedArriveOnceRegisteringStartsAgain)
{
    SimProcess sim(3, {"--controllers", "170"}, inst.portsDir());
    Controller(1, 3, 0);
    Open();
    inc->Inicia_Registro();
    inc->Detiene_Registro();
    ASSERT_TRUE(sim.ok("door 170 opened"));
    Pausa(500);
    EXPECT_TRUE(Stored().isEmpty());
    inc->Inicia_Registro();
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 1; }));
    EXPECT_EQ(avisos[0].Tipo, 4);
    EXPECT_EQ(Stored(), QStringList{"1|Door 1||||4|0"});
}

TEST_F(RegistroTest, AMissingLineIsReportedWhileTheOthersListen)
{
    SimProcess sim(3, {"--controllers", "170"}, inst.portsDir());
    Controller(1, 200, 0); // no device behind COM200
    Controller(2, 3, 0);
    Open();
    EXPECT_THROW(inc->Inicia_Registro(), std::runtime_error);
    EXPECT_TRUE(Escucha(Ctl(2)));
    ASSERT_TRUE(sim.ok("door 170 closed"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 1; }));
    EXPECT_EQ(Stored(), QStringList{"2|Door 2||||5|0"});
}

TEST_F(RegistroTest, AControllerLoadedAfterTheOpeningStillGetsItsLine)
{
    SimProcess sim(3, {"--controllers", "170"}, inst.portsDir());
    Open();
    // Added through the collection: loaded without command layer or receiver.
    ZARVControlador nuevo;
    nuevo.Set_Cod(4);
    nuevo.Set_Puerto_Serie(3);
    nuevo.Set_Descripcion("New");
    sistema->Controladores()->Inserta(nuevo);
    ASSERT_EQ(Ctl(4)->Comunicador(), nullptr);
    inc->Inicia_Registro();
    EXPECT_TRUE(Escucha(Ctl(4)));
    ASSERT_TRUE(sim.ok("card 170 1"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 1; }));
    EXPECT_EQ(Stored(), QStringList{"4|New|0000000|unknow|0000000|1|-1"});
}
