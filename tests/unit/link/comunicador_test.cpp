// The command layer end to end: keyvane-sim's controllers on a
// pseudo-terminal, every command, every fault the line can show, the events,
// and ports that cannot be opened or vanish.
#include "link/ecomport.h"
#include "link/textoestado.h"
#include "link/zarvcomunicador.h"
#include "platform/paths.h"
#include "simprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using kv::test::SimProcess;

namespace {

constexpr int PUERTO = 3;

bool Esperar(const std::function<bool()> &pred, int ms)
{
    QDeadlineTimer plazo(ms);
    while (!pred() && !plazo.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return pred();
}

// The message of a general error, or a note of what else happened.
template <typename F>
QString Error(F &&f)
{
    try {
        f();
    } catch (const EComPort &e) {
        return QStringLiteral("EComPort: ") + QString::fromUtf8(e.what());
    } catch (const std::runtime_error &e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("no error");
}

class ComunicadorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kv::Paths::setPortsDir(m_dir.path());
        m_sim = std::make_unique<SimProcess>(PUERTO, QStringList{QStringLiteral("--controllers"), QStringLiteral("1,170")});
        m_com = std::make_unique<ZARVComunicador>();
        m_com->Puerto_Serie = QString::number(PUERTO);
        ASSERT_TRUE(m_com->Conectar());
    }
    void TearDown() override
    {
        m_com.reset();
        m_sim.reset();
        kv::Paths::reset();
        Establecer_Textos_Estado({});
    }
    TTest_Informacion Test(std::uint8_t direccion = 170)
    {
        TTest_Informacion info;
        m_com->Test_Lector(direccion, info);
        return info;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<SimProcess> m_sim;
    std::unique_ptr<ZARVComunicador> m_com;
};

TEST_F(ComunicadorTest, EveryCommandDoesWhatItSays)
{
    m_sim->command(QStringLiteral("set 170 version 23"));
    TTest_Informacion info = Test();
    EXPECT_EQ(info.Correcto, 1);
    EXPECT_EQ(info.Version, 23);
    EXPECT_EQ(info.Num_Tarjetas, QStringLiteral("0"));

    EXPECT_TRUE(m_com->Enviar_Tiempos(12, 5, 170));
    info = Test();
    // The controller keeps the times as packed decimal, so the hex text reads as seconds.
    EXPECT_EQ(info.Tiempo_Cerradura, QStringLiteral("12"));
    EXPECT_EQ(info.Tiempo_Puerta_Abierta, QStringLiteral("05"));

    EXPECT_TRUE(m_com->Anyadir_Tarjeta(QStringLiteral("12345"), 170));
    EXPECT_TRUE(m_com->Cargar_Tarjeta(QStringLiteral("777"), true, 170));
    EXPECT_EQ(m_sim->command(QStringLiteral("dump 170")).join(' ').remove(QLatin1Char(' ')).contains(QStringLiteral("0000012345")), true);
    EXPECT_EQ(m_com->Leer_Tarjeta(1, 170), QStringLiteral("0000012345"));
    EXPECT_EQ(m_com->Leer_Tarjeta(2, 170), QStringLiteral("0000000777"));
    EXPECT_EQ(m_com->Leer_Tarjeta(3, 170), QString()) << "a position holding no card";
    EXPECT_EQ(Test().Num_Tarjetas, QStringLiteral("2"));

    EXPECT_TRUE(m_com->Borrar_Tarjeta(QStringLiteral("12345"), 170));
    EXPECT_EQ(m_com->Leer_Tarjeta(1, 170), QStringLiteral("0000000777"));
    EXPECT_TRUE(m_com->Vaciar_Tarjetas(170));
    EXPECT_EQ(Test().Num_Tarjetas, QStringLiteral("0"));

    // Every command leaves the port closed.
    EXPECT_FALSE(m_com->Enlace()->Connected());
}

TEST_F(ComunicadorTest, MasterChangeWaitsForTheCardWithinItsLongTimeOut)
{
    m_sim->command(QStringLiteral("set 170 master-delay 1200"));
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(m_com->Cambiar_Master(170));
    EXPECT_GE(t.elapsed(), 1200);
}

TEST_F(ComunicadorTest, TestRecordFieldsAndStateTexts)
{
    Establecer_Textos_Estado({QStringLiteral("cambio"), QStringLiteral("x"), QStringLiteral("cerrada"), QString(), QString(),
                              QString(), QString(), QStringLiteral("abierta")});
    QStringList codigos;
    for (int i = 1; i <= 300; ++i)
        codigos << QString::number(1000 + i);
    m_sim->command(QStringLiteral("load 1 ") + codigos.join(' '));
    struct {
        int estado;
        QString texto;
    } casos[] = {{7, QStringLiteral("abierta")}, {2, QStringLiteral("cerrada")}, {1, QString()}, {9, QString()}};
    for (const auto &c : casos) {
        m_sim->command(QStringLiteral("set 1 state %1").arg(c.estado));
        const TTest_Informacion info = Test(1);
        EXPECT_EQ(info.Correcto, 1) << c.estado;
        EXPECT_EQ(info.Estado, c.texto) << c.estado;
        EXPECT_EQ(info.Num_Tarjetas, QStringLiteral("300"));
    }
}

TEST_F(ComunicadorTest, AbsentControllerGivesNoAnswerAfterThreeTimeOuts)
{
    QElapsedTimer t;
    t.start();
    const TTest_Informacion info = Test(5);
    EXPECT_GE(t.elapsed(), 3 * 350);
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_EQ(info.Correcto, 0);
    EXPECT_TRUE(info.Estado.isEmpty() && info.Num_Tarjetas.isEmpty() && info.Tiempo_Cerradura.isEmpty());
    EXPECT_FALSE(m_com->Anyadir_Tarjeta(QStringLiteral("1"), 5));
    EXPECT_EQ(m_com->Leer_Tarjeta(1, 5), QString());
}

TEST_F(ComunicadorTest, AddressZeroOfTheRecordReachesController170)
{
    m_com->SetDireccion(0);
    EXPECT_TRUE(m_com->Anyadir_Tarjeta(QStringLiteral("4242"), m_com->Direccion()));
    EXPECT_EQ(m_com->Leer_Tarjeta(1, 170), QStringLiteral("0000004242"));
}

struct CasoFallo {
    const char *nombre;
    const char *fallo;
    bool anyadir;    // Anyadir_Tarjeta's result
    int correcto;    // Test_Lector's Correcto
    int minimo_ms;   // lower bound of the time Anyadir_Tarjeta takes
    int maximo_ms;
};

class FalloTest : public ComunicadorTest, public ::testing::WithParamInterface<CasoFallo> {};

TEST_P(FalloTest, CommandsSurviveTheFault)
{
    const CasoFallo &c = GetParam();
    m_sim->command(QStringLiteral("fault 170 ") + QString::fromLatin1(c.fallo));
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(m_com->Anyadir_Tarjeta(QStringLiteral("12345"), 170), c.anyadir);
    EXPECT_GE(t.elapsed(), c.minimo_ms);
    EXPECT_LT(t.elapsed(), c.maximo_ms);
    EXPECT_EQ(Test().Correcto, c.correcto);
    m_sim->command(QStringLiteral("fault 170 none"));
    EXPECT_EQ(Test().Correcto, 1) << "the controller answers again once the fault is gone";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FalloTest,
    ::testing::Values(CasoFallo{"Silence", "silence", false, 0, 100 + 3 * 350, 3000},
                      CasoFallo{"Refusal", "refuse", false, 0, 100, 1000},
                      CasoFallo{"BadChecksum", "badsum", false, 0, 100 + 3 * 350, 3000},
                      CasoFallo{"EchoOfOwnFrames", "echo", true, 1, 100, 1000},
                      CasoFallo{"SlowWithinTheTimeOut", "slow 150", true, 1, 250, 1000},
                      CasoFallo{"SlowerThanThreeTimeOuts", "slow 1500", false, 0, 100 + 3 * 350, 3000}),
    [](const auto &info) { return std::string(info.param.nombre); });

// A controller that confirms with a lone ACK: taken when the frame before it
// came from the same controller, and never good enough for a test record.
TEST_F(ComunicadorTest, BareAckConfirmsAfterAFrameFromTheSameController)
{
    EXPECT_EQ(Test().Correcto, 1);
    m_sim->command(QStringLiteral("fault 170 ack"));
    EXPECT_TRUE(m_com->Anyadir_Tarjeta(QStringLiteral("5"), 170));
    EXPECT_EQ(Test().Correcto, 0);
    EXPECT_EQ(m_com->Leer_Tarjeta(1, 170), QString());
}

// Listening: the incidences as the collection receives them.
class IncidenciaTest : public ComunicadorTest {
protected:
    void SetUp() override
    {
        ComunicadorTest::SetUp();
        if (HasFatalFailure())
            return;
        m_com->OnIncidencia = [this](ZARVComunicador *sender, const TEventoInformacion &e) {
            EXPECT_EQ(sender, m_com.get());
            m_eventos.push_back(e);
        };
    }
    bool Pendientes_Cero()
    {
        const QString s = m_sim->command(QStringLiteral("stats")).join(' ');
        return s.contains(QStringLiteral("events_pending=0"));
    }
    std::vector<TEventoInformacion> m_eventos;
};

TEST_F(IncidenciaTest, EachEventKindIsDecoded)
{
    m_com->Activar_Incidencias();
    struct {
        QString orden;
        int tipo;
        QString parametro_1, parametro_7, tarjeta;
    } casos[] = {
        {QStringLiteral("card 170 0012345678"), 1, QStringLiteral("01"), QString(), QStringLiteral("0012345678")},
        {QStringLiteral("refused 1 99"), 2, QStringLiteral("02"), QString(), QStringLiteral("0000000099")},
        {QStringLiteral("door 1 button"), 3, QString(), QString(), QString()},
        {QStringLiteral("door 170 opened"), 4, QString(), QStringLiteral("01"), QString()},
        {QStringLiteral("door 170 closed"), 5, QString(), QStringLiteral("00"), QString()},
        {QStringLiteral("door 170 alarm"), 6, QString(), QString(), QString()},
    };
    for (const auto &c : casos) {
        m_eventos.clear();
        m_sim->command(c.orden);
        ASSERT_TRUE(Esperar([this] { return !m_eventos.empty(); }, 3000)) << c.orden.toStdString();
        const TEventoInformacion &e = m_eventos.front();
        EXPECT_EQ(e.Tipo, c.tipo) << c.orden.toStdString();
        EXPECT_EQ(e.Parametro_1, c.parametro_1);
        EXPECT_EQ(e.Parametro_7, c.parametro_7);
        EXPECT_EQ(e.Tarjeta, c.tarjeta);
        EXPECT_EQ(e.Puerto, QStringLiteral("3"));
    }
    Esperar([] { return false; }, 200);
    EXPECT_EQ(m_eventos.size(), 1u) << "an acknowledged event came again";
}

TEST_F(IncidenciaTest, WithoutListeningEventsAreAcknowledgedButNotRaised)
{
    // Conectar opened the port; not-demanded delivery stays off.
    m_com->Enlace()->Activar_Aviso(true);
    m_sim->command(QStringLiteral("card 170 1"));
    EXPECT_TRUE(Esperar([this] { return Pendientes_Cero(); }, 3000));
    Esperar([] { return false; }, 200);
    EXPECT_TRUE(m_eventos.empty());

    m_com->Activar_Incidencias();
    m_com->Desactivar_Incidencias();
    m_sim->command(QStringLiteral("card 170 2"));
    EXPECT_TRUE(Esperar([this] { return Pendientes_Cero(); }, 3000));
    Esperar([] { return false; }, 200);
    EXPECT_TRUE(m_eventos.empty());
}

// The simulator keeps one event on the line at a time, so these follow each
// other as closely as its ACK handshake allows; two frames inside one notice
// period, in one read, are covered byte-exactly in the link's own tests.
TEST_F(IncidenciaTest, EventsInQuickSuccessionAreAllDecodedInOrder)
{
    m_com->Activar_Incidencias();
    m_sim->command(QStringLiteral("card 170 11"));
    m_sim->command(QStringLiteral("card 1 22"));
    m_sim->command(QStringLiteral("door 1 alarm"));
    ASSERT_TRUE(Esperar([this] { return m_eventos.size() >= 3; }, 3000));
    EXPECT_EQ(m_eventos[0].Tarjeta, QStringLiteral("0000000011"));
    EXPECT_EQ(m_eventos[1].Tarjeta, QStringLiteral("0000000022"));
    EXPECT_EQ(m_eventos[2].Tipo, 6);
}

TEST_F(IncidenciaTest, ACommandEndsListening)
{
    m_com->Activar_Incidencias();
    EXPECT_TRUE(m_com->Vaciar_Tarjetas(170));
    EXPECT_FALSE(m_com->Enlace()->Connected());
    m_sim->command(QStringLiteral("card 170 1"));
    Esperar([] { return false; }, 300);
    EXPECT_TRUE(m_eventos.empty());
}

TEST_F(ComunicadorTest, PortThatCannotBeOpenedRaisesTheGeneralError)
{
    ZARVComunicador otro;
    otro.Puerto_Serie = QStringLiteral("9");
    EXPECT_EQ(Error([&] { otro.Conectar(); }), QStringLiteral("Error en el puerto COM9"));
    EXPECT_EQ(Error([&] { otro.Anyadir_Tarjeta(QStringLiteral("1"), 170); }), QStringLiteral("Error en el puerto COM9"));

    // A port is opened exclusively: a listening controller holds it.
    m_com->Desconectar();
    ZARVComunicador vecino;
    vecino.Puerto_Serie = QString::number(PUERTO);
    vecino.Conectar();
    vecino.Activar_Incidencias();
    EXPECT_EQ(Error([&] { Test(); }), QStringLiteral("Error en el puerto COM3"));
    vecino.Desconectar();
    EXPECT_EQ(Test().Correcto, 1);
}

TEST_F(ComunicadorTest, SimulatorKilledMidExchange)
{
    m_sim->command(QStringLiteral("set 170 master-delay 4000"));
    QTimer::singleShot(400, [this] { m_sim->stop(); });
    QElapsedTimer t;
    t.start();
    const QString error = Error([&] { m_com->Cambiar_Master(170); });
    EXPECT_TRUE(error.startsWith(QStringLiteral("EComPort: COM3"))) << error.toStdString();
    EXPECT_LT(t.elapsed(), 4000);
    EXPECT_FALSE(m_com->Enlace()->Connected());
    EXPECT_FALSE(m_com->Enlace()->Ocupado());
    EXPECT_EQ(Error([&] { Test(); }), QStringLiteral("Error en el puerto COM3"));
}

TEST_F(IncidenciaTest, SimulatorKilledWhileListening)
{
    bool perdida = false;
    m_com->Enlace()->OnLineaPerdida = [&](QObject *, const QString &) { perdida = true; };
    m_com->Activar_Incidencias();
    m_sim->stop();
    EXPECT_TRUE(Esperar([&] { return !m_com->Enlace()->Connected(); }, 3000));
    EXPECT_TRUE(perdida);
    EXPECT_TRUE(m_eventos.empty());
}

} // namespace
