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
#include <QThread>
#include <QTime>

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
    EXPECT_EQ(Stored(), QStringList{"1|Front|0012345678|O'Brien, Ann|0012345678 O'Brien, Ann|1|8"});
    EXPECT_EQ(avisos[0].Tipo, 1);
    EXPECT_EQ(avisos[0].Parametro_1, "01");
    EXPECT_EQ(avisos[0].Tarjeta, "0012345678");
    EXPECT_EQ(avisos[0].Puerto, "3");
    EXPECT_EQ(avisos[0].Direccion, 170);
    // The frame was acknowledged: the controller does not send it again.
    Pausa(700);
    EXPECT_EQ(avisos.size(), 1u);
    const QString stats = sim.command("stats").join(' ');
    EXPECT_TRUE(stats.contains("events_pending=0")) << stats.toStdString();
    EXPECT_FALSE(stats.contains("acks_in=0 ")) << stats.toStdString();
}

TEST_F(RegistroTest, TwoControllersOnOneLineEachGetTheirOwnEvents)
{
    SimProcess sim(3, {"--controllers", "2,5"}, inst.portsDir());
    Controller(5, 3, 5, "Back");
    Controller(2, 3, 2, "Front");
    Open();
    inc->Inicia_Registro();
    ASSERT_TRUE(sim.ok("door 5 button"));
    ASSERT_TRUE(sim.ok("refused 2 99"));
    ASSERT_TRUE(sim.ok("door 2 alarm"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 3; }));
    EXPECT_EQ(Stored(), (QStringList{"5|Back||||3|0", "2|Front|0000000099|unknow|0000000099|2|0", "2|Front||||6|0"}));
}

// The simulator's log, in order: when each event frame went out and when the
// PC's ACK came back, in milliseconds of the day.
std::vector<std::pair<int, int>> Acuses(const QString &log)
{
    const auto ms = [](const QString &linea) {
        const QTime t = QTime::fromString(linea.left(12), QStringLiteral("HH:mm:ss.zzz"));
        return t.msecsSinceStartOfDay();
    };
    std::vector<std::pair<int, int>> acuses;
    int enviado = -1;
    for (const QString &linea : log.split(QLatin1Char('\n'))) {
        if (linea.contains(QLatin1String(" out ")) && linea.contains(QLatin1String(", send ")))
            enviado = ms(linea);
        else if (enviado >= 0 && linea.contains(QLatin1String(" in 06 | ACK"))) {
            acuses.emplace_back(enviado, ms(linea));
            enviado = -1;
        }
    }
    return acuses;
}

TEST_F(RegistroTest, AnEventArrivingWhileAnotherIsStoredIsAcknowledgedAtOnce)
{
    SimProcess sim(3, {"--controllers", "1,2"}, inst.portsDir());
    Controller(1, 3, 1, "Entry");
    Controller(2, 3, 2, "Exit");
    Open();
    // The second card is presented while the first event is being stored and
    // shown, and the thread stays busy with it a while longer.
    inc->OnNuevaIncidencia = [&](ZARVColeccionIncidencia *, const TEventoInformacion &info) {
        avisos.push_back(info);
        if (avisos.size() == 1) {
            sim.ok("card 2 0000000002");
            QThread::msleep(20);
        }
    };
    inc->Inicia_Registro();
    ASSERT_TRUE(sim.ok("card 1 0000000001"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 2 && Acuses(sim.log()).size() == 2; }));
    const auto acuses = Acuses(sim.log());
    ASSERT_EQ(acuses.size(), 2u) << sim.log().toStdString();
    for (const auto &[enviado, acuse] : acuses)
        EXPECT_LE(acuse - enviado, 50) << sim.log().toStdString();
    EXPECT_EQ(Stored(), (QStringList{"1|Entry|0000000001|unknow|0000000001|1|-1", "2|Exit|0000000002|unknow|0000000002|1|-1"}));
}

TEST_F(RegistroTest, ARepeatedFrameIsStoredOnceAndTheSameCardLaterAgain)
{
    SimProcess sim(3, {"--controllers", "170", "--resend", "200"}, inst.portsDir());
    Controller(1, 3, 0, "Front");
    Open();
    inc->Inicia_Registro();
    // Two ACKs lost on the line: the controller sends the frame three times.
    ASSERT_TRUE(sim.ok("dropack 2"));
    ASSERT_TRUE(sim.ok("card 170 0000000007"));
    ASSERT_TRUE(Esperar([&] { return sim.command("stats").join(' ').contains("events_pending=0 "); }));
    Pausa(200);
    EXPECT_EQ(avisos.size(), 1u);
    EXPECT_TRUE(sim.command("stats").join(' ').contains("acks_dropped=2 "));
    // Presented again once the window is over: a new event.
    Pausa(TDORNO::VENTANA_REPETIDA_MS);
    ASSERT_TRUE(sim.ok("card 170 0000000007"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 2; }));
    Pausa(200);
    EXPECT_EQ(Stored(), (QStringList{"1|Front|0000000007|unknow|0000000007|1|-1", "1|Front|0000000007|unknow|0000000007|1|-1"}));
}

TEST_F(RegistroTest, ALostLineIsToldAndListensAgainWhenItIsBack)
{
    auto sim = std::make_unique<SimProcess>(3, QStringList{"--controllers", "170"}, inst.portsDir());
    Controller(1, 3, 0, "Front");
    Open();
    std::vector<std::pair<int, QString>> perdidas;
    std::vector<int> recuperadas;
    inc->OnLineaPerdida = [&](int puerto, const QString &error) { perdidas.emplace_back(puerto, error); };
    inc->OnLineaRecuperada = [&](int puerto) { recuperadas.push_back(puerto); };
    inc->Inicia_Registro();
    inc->Vigila_Lineas();

    sim->stop();
    ASSERT_TRUE(Esperar([&] { return !perdidas.empty(); }));
    EXPECT_EQ(perdidas[0].first, 3);
    EXPECT_TRUE(perdidas[0].second.contains("COM3")) << perdidas[0].second.toStdString();
    EXPECT_EQ(inc->Lineas_Perdidas(), QList<int>{3});
    // Still away at the first retry.
    Pausa(ZARVColeccionIncidencia::REINTENTO_MS + 300);
    EXPECT_TRUE(recuperadas.empty());

    sim = std::make_unique<SimProcess>(3, QStringList{"--controllers", "170"}, inst.portsDir());
    ASSERT_TRUE(Esperar([&] { return !recuperadas.empty(); }, 3 * ZARVColeccionIncidencia::REINTENTO_MS));
    EXPECT_EQ(recuperadas, std::vector<int>{3});
    EXPECT_TRUE(inc->Lineas_Perdidas().isEmpty());
    EXPECT_EQ(perdidas.size(), 1u);
    ASSERT_TRUE(sim->ok("door 170 alarm"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 1; }));
    EXPECT_EQ(Stored(), QStringList{"1|Front||||6|0"});
}

TEST_F(RegistroTest, ALineLostAfterRegisteringStoppedIsNotReopened)
{
    auto sim = std::make_unique<SimProcess>(3, QStringList{"--controllers", "170"}, inst.portsDir());
    Controller(1, 3, 0);
    Open();
    int perdidas = 0;
    inc->OnLineaPerdida = [&](int, const QString &) { ++perdidas; };
    inc->Inicia_Registro();
    inc->Vigila_Lineas();
    inc->Detiene_Registro();
    sim->stop();
    sim = std::make_unique<SimProcess>(3, QStringList{"--controllers", "170"}, inst.portsDir());
    Pausa(ZARVColeccionIncidencia::REINTENTO_MS + 500);
    EXPECT_EQ(perdidas, 0);
    EXPECT_FALSE(sim->lineHeld());
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
    EXPECT_TRUE(sim3.lineHeld());
    EXPECT_TRUE(sim4.lineHeld());

    // Both lines deliver, each event to the controller with the sender's
    // address on that port, else to the port's lowest-numbered one.
    ASSERT_TRUE(sim3.ok("door 3 alarm"));
    ASSERT_TRUE(sim4.ok("door 2 alarm"));
    ASSERT_TRUE(Esperar([&] { return avisos.size() == 2; }));
    QStringList rows = Stored();
    rows.sort();
    const auto Atribuido = [&l](int puerto, int direccion) {
        if (l.puertos[size_t(direccion - 1)] == puerto)
            return direccion;
        for (int i = 0; i < 3; ++i) {
            if (l.puertos[size_t(i)] == puerto)
                return i + 1;
        }
        return 0;
    };
    const int en3 = Atribuido(3, 3);
    const int en4 = Atribuido(4, 2);
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
    EXPECT_FALSE(sim3.lineHeld());
    EXPECT_FALSE(sim4.lineHeld());
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
    EXPECT_EQ(Stored(), QStringList{"4|New|0000000001|unknow|0000000001|1|-1"});
}
