// The discipline every controller workflow follows: listening comes back
// exactly as it was found, on every path; the maintenance timer is held while
// a workflow runs and comes back only when the settings ask; a second
// workflow, or a maintenance tick, never runs inside another's exchange; and
// each port listens once, whatever the order of its controllers.
#include "flujofixture.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccionincidencia.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"
#include "workflows/lectura.h"
#include "workflows/mantenimiento.h"

#include <QTimer>

using namespace kv::wf;

namespace {

ZARVColeccionIncidencia *Log()
{
    return Globales::Sistema->Incidencias();
}

struct Caso {
    const char *name;
    std::function<void(FlujoTest &, Guion &, Progreso_Registrado &)> flujo;
    bool falla = false;
};

const Caso Casos[] = {
    {"TestAll", [](auto &, auto &, auto &) { Test_Controladores({1, 2, 3}, nullptr); }},
    {"Master", [](auto &, auto &o, auto &) { Cambia_Master(2, o); }},
    {"Erase",
     [](auto &, auto &o, auto &) {
         o.respuestas = {true};
         Vacia_Tarjetas(3, o);
     }},
    {"Delete",
     [](auto &, auto &o, auto &) {
         o.respuestas = {true};
         Elimina_Controlador(3, o);
     }},
    {"Clone", [](auto &, auto &, auto &p) { Clona(1, {3, 2}, p); }},
    {"MaintenanceTick", [](auto &, auto &, auto &) { Tick_Mantenimiento(nullptr); }},
    // Controller 9's port has no device behind it: the test raises the
    // port's error, and listening must still come back.
    {"MissingPort", [](auto &, auto &, auto &) { Test_Controladores({1, 9}, nullptr); }, true},
};

} // namespace

class EscuchaTest : public FlujoTest, public ::testing::WithParamInterface<std::tuple<Caso, bool>> {};

TEST_P(EscuchaTest, ListeningComesBackExactlyAsItWasFound)
{
    const auto &[caso, escuchando] = GetParam();
    if (std::string(caso.name) == "MissingPort")
        Controlador(9, 9, 1);
    if (escuchando) {
        // A missing port 9 is reported once registering starts; the others listen.
        try {
            Log()->Inicia_Registro();
        } catch (const std::exception &) {
        }
    }
    if (caso.falla)
        EXPECT_THROW(caso.flujo(*this, operador, progreso), std::runtime_error);
    else
        caso.flujo(*this, operador, progreso);

    EXPECT_FALSE(Coordinacion::Ocupado());
    EXPECT_EQ(Log()->Escuchando(), escuchando);
    if (escuchando)
        EXPECT_TRUE(Escucha_De_Verdad());
    else
        EXPECT_TRUE(Lineas_Libres());
}

INSTANTIATE_TEST_SUITE_P(Readers, EscuchaTest, ::testing::Combine(::testing::ValuesIn(Casos), ::testing::Bool()),
                         [](const auto &info) {
                             return std::string(std::get<0>(info.param).name)
                                    + (std::get<1>(info.param) ? "_Listening" : "_NotListening");
                         });

TEST_F(FlujoTest, WhileAWorkflowRunsNothingListensAndTheTimerIsHeld)
{
    Log()->Inicia_Registro();
    ASSERT_TRUE(temporizador.isActive());
    int vistos = 0;
    Test_Controladores({1, 2, 3}, [&](int, const Resultado_Test &r) {
        ++vistos;
        EXPECT_TRUE(r.responde);
        EXPECT_TRUE(Coordinacion::Ocupado());
        EXPECT_FALSE(temporizador.isActive());
        EXPECT_FALSE(Log()->Escuchando());
    });
    EXPECT_EQ(vistos, 3);
    EXPECT_TRUE(temporizador.isActive());
    EXPECT_TRUE(Log()->Escuchando());
}

struct Ajustes {
    const char *name;
    bool testear;
    bool liberar;
    bool activo;
};

class TemporizadorTest : public FlujoTest, public ::testing::WithParamInterface<Ajustes> {};

TEST_P(TemporizadorTest, TheTimerRunsAfterAWorkflowOnlyWhenTheSettingsAskForIt)
{
    const Ajustes &a = GetParam();
    Variables::Testear_cx = a.testear;
    Variables::Liberar_tarj = a.liberar;
    Coordinacion::Ajusta_Mantenimiento();
    EXPECT_EQ(temporizador.isActive(), a.activo);
    Test_Controladores({1}, nullptr);
    EXPECT_EQ(temporizador.isActive(), a.activo);
    // A refused workflow, too, gives back what it took.
    Guion otro;
    Test_Controladores({2}, [&](int, const Resultado_Test &) {
        EXPECT_THROW(Cambia_Master(1, otro), Ocupado);
    });
    EXPECT_EQ(temporizador.isActive(), a.activo);
    EXPECT_EQ(Coordinacion::Retenciones(), 0);
    // With no installation open there is nothing to maintain.
    Globales::Sistema.reset();
    Coordinacion::Ajusta_Mantenimiento();
    EXPECT_FALSE(temporizador.isActive());
}

INSTANTIATE_TEST_SUITE_P(Settings, TemporizadorTest,
                         ::testing::Values(Ajustes{"Both", true, true, true}, Ajustes{"TestOnly", true, false, true},
                                           Ajustes{"ReleaseOnly", false, true, true},
                                           Ajustes{"Neither", false, false, false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(FlujoTest, AMaintenanceTickDuringACloneIsSkippedAndTheCloneCompletes)
{
    Tarjeta(QStringLiteral("0000000011"), {1});
    Tarjeta(QStringLiteral("0000000022"), {1});
    Tarjeta(QStringLiteral("0000000033"), {1});
    ASSERT_TRUE(com1->ok("load 1 0000000011 0000000022 0000000033"));
    QList<Resultado_Tick> ticks;
    progreso.en_paso = [&] { ticks << Tick_Mantenimiento(nullptr); };
    Clona(1, {3}, progreso);
    EXPECT_EQ(ticks, (QList<Resultado_Tick>{Resultado_Tick::Saltado, Resultado_Tick::Saltado, Resultado_Tick::Saltado}));
    EXPECT_EQ(com1->command("dump 3"), (QStringList{"0000000011", "0000000022", "0000000033"}));
    EXPECT_EQ(db->rows("select tarjeta,\"_STOREDINHW\" from zarvcontroladortarjeta where controlador=3 order by tarjeta"),
              (QStringList{"0000000011|S", "0000000022|S", "0000000033|S"}));
    // Once the clone is over the next tick runs.
    EXPECT_EQ(Tick_Mantenimiento(nullptr), Resultado_Tick::Hecho);
}

TEST_F(FlujoTest, ATestClickedDuringAMasterCardWaitIsRefusedAndBothEnd)
{
    ASSERT_TRUE(com1->ok("set 1 master-delay 1500"));
    bool rechazado = false;
    QString mensaje;
    QTimer::singleShot(300, [&] {
        try {
            Test_Controladores({2}, nullptr);
        } catch (const Ocupado &e) {
            rechazado = true;
            mensaje = QString::fromStdString(e.what());
        }
    });
    EXPECT_TRUE(Cambia_Master(1, operador));
    EXPECT_TRUE(rechazado);
    EXPECT_EQ(mensaje, Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_34")));
    EXPECT_EQ(operador.mensajes, QStringList{Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_2"))});
    // Both ended: the controllers answer the next test.
    int responden = 0;
    Test_Controladores({1, 2, 3}, [&](int, const Resultado_Test &r) { responden += r.responde; });
    EXPECT_EQ(responden, 3);
}

TEST_F(FlujoTest, ControllersOfOnePortThatAreNotNeighboursListenOnceWithoutAnError)
{
    // In number order the ports are 1, 2, 1.
    EXPECT_NO_THROW(Log()->Inicia_Registro());
    EXPECT_TRUE(Escucha_De_Verdad());
    const int antes = Incidencias_Guardadas();
    ASSERT_TRUE(com1->ok("card 3 777"));
    ASSERT_TRUE(com2->ok("card 2 888"));
    EXPECT_TRUE(Espera([&] { return Incidencias_Guardadas() == antes + 2; }, 3000));
}

class LecturaTest : public FlujoTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LecturaTest, TheReadingReaderSurvivesTheWindowsOwnWorkflowsAndIsGivenBack)
{
    const bool registrando = GetParam();
    if (registrando)
        Log()->Inicia_Registro();
    Variables::Lector_Activo = true;
    Variables::Lector_Codigo = 3;
    QStringList leidas;
    const int antes = Incidencias_Guardadas();
    {
        Lectura_Tarjetas lectura([&](const QString &codigo) { leidas << codigo; });
        ASSERT_TRUE(lectura.Activa());
        ASSERT_TRUE(com1->ok("card 3 111"));
        ASSERT_TRUE(Espera([&] { return leidas.size() == 1; }, 3000));

        // The window's own workflow takes the line and gives it back.
        Test_Controladores({3, 1}, nullptr);
        ASSERT_TRUE(com1->ok("card 3 222"));
        ASSERT_TRUE(Espera([&] { return leidas.size() == 2; }, 3000));
        // Registering switched off meanwhile leaves the window its reader.
        if (registrando) {
            Log()->Detiene_Registro();
            Coordinacion::Reabre_Lectura();
            ASSERT_TRUE(com1->ok("card 3 333"));
            ASSERT_TRUE(Espera([&] { return leidas.size() == 3; }, 3000));
        }
        EXPECT_EQ(Incidencias_Guardadas(), antes);
    }
    EXPECT_EQ(leidas.first(), QStringLiteral("0000000111"));
    EXPECT_EQ(leidas.at(1), QStringLiteral("0000000222"));
    EXPECT_EQ(Coordinacion::Lectura(), nullptr);
    // Given back: the reader's events are the log's again, and nothing
    // holds a line that nothing listens to.
    EXPECT_TRUE(Lineas_Libres());
    Log()->Inicia_Registro();
    ASSERT_TRUE(com1->ok("card 3 444"));
    EXPECT_TRUE(Espera([&] { return Incidencias_Guardadas() > antes; }, 3000));
    EXPECT_EQ(leidas.size(), registrando ? 3 : 2);
}

INSTANTIATE_TEST_SUITE_P(Registering, LecturaTest, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "On" : "Off"; });

TEST_F(FlujoTest, WithoutAReadingReaderInUseNothingIsTaken)
{
    Variables::Lector_Activo = false;
    Variables::Lector_Codigo = 3;
    Lectura_Tarjetas lectura([](const QString &) {});
    EXPECT_FALSE(lectura.Activa());
    EXPECT_TRUE(Lineas_Libres());
}
