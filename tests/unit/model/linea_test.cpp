// Controllers' lines against keyvane-sim on pseudo-terminals: opening, a
// port that cannot be opened, one line per port, lines released on reload
// and close, and events relayed with the controller as sender.
#include "modelfixture.h"
#include "simprocess.h"

#include "link/zarvcomunicador.h"
#include "model/zarvcoleccioncontrolador.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

using kv::test::SimProcess;

namespace {

ZARVControlador Make(int cod, int puerto, int direccion)
{
    ZARVControlador c;
    c.Set_Cod(cod);
    c.Set_Puerto_Serie(puerto);
    c.Set_Direccion(static_cast<std::uint8_t>(direccion));
    c.Set_Descripcion(QStringLiteral("Door %1").arg(cod));
    return c;
}

bool Open(const std::shared_ptr<ZARVControlador> &c)
{
    return c && c->Comunicador() && c->Comunicador()->Conectado();
}

} // namespace

class LineaTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        sistema = Abre();
        ctl = sistema->Controladores();
    }

    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionControlador *ctl = nullptr;
};

TEST_F(LineaTest, OpensTheLineOnceAndSetsTheCommandLayerFromTheRow)
{
    SimProcess sim(3, {"--controllers", "170"}, inst.portsDir());
    ctl->Inserta(Make(1, 3, 0));
    const auto c = ctl->Busca(1);
    EXPECT_EQ(c->Comunicador(), nullptr);
    ASSERT_TRUE(c->Abrir_Comunicacion());
    ASSERT_NE(c->Comunicador(), nullptr);
    EXPECT_TRUE(c->Comunicador()->Conectado());
    EXPECT_EQ(c->Comunicador()->Puerto_Serie, "3");
    EXPECT_EQ(c->Comunicador()->Direccion(), 170);
    EXPECT_TRUE(sim.lineHeld());

    // Already open: true, the same command layer, the port left as it is.
    ZARVComunicador *const layer = c->Comunicador();
    EXPECT_TRUE(c->Abrir_Comunicacion());
    EXPECT_EQ(c->Comunicador(), layer);
    EXPECT_TRUE(sim.lineHeld());

    // The line works: the controller answers a test through it.
    TTest_Informacion info;
    c->Comunicador()->Test_Lector(c->Direccion_Bus(), info);
    EXPECT_EQ(info.Correcto, 1);

    c->Cerrar_Comunicacion();
    EXPECT_FALSE(sim.lineHeld());
}

TEST_F(LineaTest, APortThatCannotBeOpenedLeavesTheControllerUnconnected)
{
    // No simulator and no device behind COM200.
    ctl->Inserta(Make(1, 200, 1));
    const auto c = ctl->Busca(1);
    EXPECT_FALSE(c->Abrir_Comunicacion());
    ASSERT_NE(c->Comunicador(), nullptr);
    EXPECT_FALSE(c->Comunicador()->Conectado());
    EXPECT_FALSE(c->Abrir_Comunicacion());

    // A port held by another controller's line cannot be opened either.
    SimProcess sim(3, {"--controllers", "1,2"}, inst.portsDir());
    ctl->Inserta(Make(2, 3, 1));
    ctl->Inserta(Make(3, 3, 2));
    EXPECT_TRUE(ctl->Busca(2)->Abrir_Comunicacion());
    EXPECT_FALSE(ctl->Busca(3)->Abrir_Comunicacion());
    EXPECT_FALSE(Open(ctl->Busca(3)));
    // Once the first lets go, the second gets the line.
    ctl->Busca(2)->Cerrar_Comunicacion();
    EXPECT_TRUE(ctl->Busca(3)->Abrir_Comunicacion());
}

struct PortCase {
    const char *name;
    std::vector<int> ports;     // controllers 1, 2, 3 on these ports
    std::vector<bool> opened;   // whose line Conecta_Controladores opens
    std::vector<bool> tried;    // who got a command layer at all
};

class ConectaTest : public LineaTest, public ::testing::WithParamInterface<PortCase> {};

TEST_P(ConectaTest, OpensOneLinePerPort)
{
    const PortCase &pc = GetParam();
    SimProcess sim3(3, {"--controllers", "1,2,3"}, inst.portsDir());
    SimProcess sim4(4, {"--controllers", "1,2,3"}, inst.portsDir());
    for (int i = 0; i < 3; ++i)
        ctl->Inserta(Make(i + 1, pc.ports[size_t(i)], i + 1));
    sistema->Conecta_Controladores();
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i + 1);
        const auto c = ctl->Busca(i + 1);
        EXPECT_EQ(Open(c), pc.opened[size_t(i)]);
        EXPECT_EQ(c->Comunicador() != nullptr, pc.tried[size_t(i)]);
    }
    EXPECT_TRUE(sim3.lineHeld());
    EXPECT_TRUE(sim4.lineHeld());
}

INSTANTIATE_TEST_SUITE_P(
    Ports, ConectaTest,
    ::testing::Values(PortCase{"Neighbours", {3, 3, 4}, {true, false, true}, {true, false, true}},
                      // Not neighbours: the port the first holds is not tried again.
                      PortCase{"Apart", {3, 4, 3}, {true, true, false}, {true, true, false}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LineaTest, ReloadAndCloseReleaseTheLines)
{
    SimProcess sim(3, {"--controllers", "1"}, inst.portsDir());
    ctl->Inserta(Make(1, 3, 1));
    const auto old = ctl->Busca(1);
    ASSERT_TRUE(old->Abrir_Comunicacion());
    ASSERT_TRUE(sim.lineHeld());

    ctl->Refrescar();
    EXPECT_FALSE(sim.lineHeld());
    const auto fresh = ctl->Busca(1);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(fresh->Comunicador(), nullptr);
    EXPECT_EQ(fresh->OnIncidencia, nullptr);
    EXPECT_TRUE(fresh->Abrir_Comunicacion());

    sistema.reset();
    EXPECT_FALSE(sim.lineHeld());
}

TEST_F(LineaTest, EventsArePassedOnWithTheControllerAsSender)
{
    SimProcess sim(5, {"--controllers", "7"}, inst.portsDir());
    ctl->Inserta(Make(2, 5, 7));
    const auto c = ctl->Busca(2);
    ASSERT_TRUE(c->Abrir_Comunicacion());

    std::vector<std::pair<ZARVControlador *, TEventoInformacion>> got;
    c->OnIncidencia = [&](ZARVControlador *sender, const TEventoInformacion &info) { got.emplace_back(sender, info); };
    c->Comunicador()->Activar_Incidencias();

    ASSERT_TRUE(sim.ok("card 7 12345678"));
    const QDeadlineTimer deadline(5000);
    while (got.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].first, c.get());
    EXPECT_EQ(got[0].second.Tipo, 1);
    EXPECT_EQ(got[0].second.Tarjeta, "0012345678");
    EXPECT_EQ(got[0].second.Puerto, "5");

    // Without a receiver the event is dropped.
    c->OnIncidencia = nullptr;
    ASSERT_TRUE(sim.ok("card 7 1"));
    const QDeadlineTimer quiet(600);
    while (!quiet.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(got.size(), 1u);
}
