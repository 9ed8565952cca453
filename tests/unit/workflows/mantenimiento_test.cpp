// The maintenance tick against keyvane-sim (readers 1 and 3 on COM1, reader 2
// on COM2, none at address 0) and a real installation file, at a fixed "now".
#include "flujofixture.h"

#include "model/globales.h"
#include "model/reloj.h"
#include "model/variables.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvcolecciontarjeta.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"
#include "workflows/mantenimiento.h"

using namespace kv::wf;

namespace {

const QDateTime Ahora(QDate(2030, 6, 15), QTime(12, 0, 0));

} // namespace

class MantenimientoTest : public FlujoTest {
protected:
    void SetUp() override
    {
        FlujoTest::SetUp();
        Reloj::Fija(Ahora);
        ASSERT_TRUE(db->exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) "
                             "VALUES(7,'Ana','Ruiz','S','')"));
        Globales::Sistema->Usuarios()->Refrescar();
    }

    void TearDown() override
    {
        Reloj::Libera();
        FlujoTest::TearDown();
    }

    // A card of user 7 in the given readers' memories and assigned to them.
    void Tarjeta_De_Usuario(const QString &codigo, const QList<int> &lectores, bool usa_caducidad,
                            const QDateTime &caducidad)
    {
        Tarjeta(codigo, lectores);
        for (const int l : lectores)
            ASSERT_TRUE((l == 2 ? com2 : com1)->ok(QStringLiteral("load %1 %2").arg(l).arg(codigo)));
        ASSERT_TRUE(db->exec(QStringLiteral("UPDATE zarvtarjeta SET usuario=7, usar_fecha_cad='%1', "
                                            "fecha_caducidad=TIMESTAMP '%2' WHERE codigo_tarjeta='%3'")
                                 .arg(usa_caducidad ? "S" : "N", caducidad.toString("yyyy-MM-dd HH:mm:ss"), codigo)));
        Globales::Sistema->Tarjetas()->Refrescar();
    }

    // "user|uses expiry" of the card.
    QString Titular(const QString &codigo)
    {
        return db->rows(QStringLiteral("select usuario, usar_fecha_cad from zarvtarjeta where codigo_tarjeta='%1'")
                            .arg(codigo))
            .value(0);
    }

    QStringList Asignaciones(const QString &codigo)
    {
        return db->rows(
            QStringLiteral("select controlador from zarvcontroladortarjeta where tarjeta='%1' order by 1").arg(codigo));
    }

    QStringList Memoria(int lector) { return (lector == 2 ? com2 : com1)->command(QStringLiteral("dump %1").arg(lector)); }

    QStringList Sin_Respuesta;
    Resultado_Tick Tick()
    {
        return Tick_Mantenimiento([this](const QString &descripcion) { Sin_Respuesta << descripcion; });
    }
};

namespace {

struct Caso {
    const char *codigo;
    QList<int> lectores;
    bool usa_caducidad;
    QDateTime caducidad;
    // When the release is switched on.
    bool liberada;
};

const Caso Casos[] = {
    {"0000000001", {1, 2}, true, Ahora.addSecs(-1), true},
    {"0000000002", {3}, true, Ahora.addYears(-5), true},
    // Nothing to take out of the readers: freed at once.
    {"0000000003", {}, true, Ahora.addDays(-1), true},
    {"0000000004", {1}, true, Ahora, false},
    {"0000000005", {1}, true, Ahora.addSecs(1), false},
    {"0000000006", {1, 2}, false, Ahora.addYears(-5), false},
    {"0000000007", {}, false, Ahora.addDays(-1), false},
};

} // namespace

class LiberacionTest : public MantenimientoTest, public ::testing::WithParamInterface<bool> {};

TEST_P(LiberacionTest, OnlyCardsUsingAnExpiryStrictlyBeforeNowAreReleased)
{
    const bool liberar = GetParam();
    Variables::Liberar_tarj = liberar;
    for (const Caso &c : Casos)
        Tarjeta_De_Usuario(c.codigo, c.lectores, c.usa_caducidad, c.caducidad);

    EXPECT_EQ(Tick(), liberar ? Resultado_Tick::Caducadas : Resultado_Tick::Hecho);

    for (const Caso &c : Casos) {
        const bool liberada = liberar && c.liberada;
        EXPECT_EQ(Titular(c.codigo), liberada ? "-1|N" : QString("7|") + (c.usa_caducidad ? "S" : "N")) << c.codigo;
        QStringList asignados;
        for (const int l : c.lectores) {
            if (!liberada)
                asignados << QString::number(l);
            EXPECT_EQ(Memoria(l).contains(c.codigo), !liberada) << c.codigo << " in reader " << l;
        }
        EXPECT_EQ(Asignaciones(c.codigo), asignados) << c.codigo;
    }
    EXPECT_TRUE(Sin_Respuesta.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Setting, LiberacionTest, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "ReleaseOn" : "ReleaseOff"; });

TEST_F(MantenimientoTest, AnExpiredCardASilentReaderKeepsIsReleasedAtALaterTick)
{
    Tarjeta_De_Usuario("0000000011", {1, 2}, true, Ahora.addSecs(-60));
    ASSERT_TRUE(com2->ok("fault 2 silence"));

    EXPECT_EQ(Tick(), Resultado_Tick::Caducadas);
    EXPECT_EQ(Sin_Respuesta, QStringList{"Door 2"});
    EXPECT_EQ(Titular("0000000011"), "7|S");
    EXPECT_EQ(Asignaciones("0000000011"), QStringList{"2"});
    EXPECT_TRUE(Memoria(1).isEmpty());

    ASSERT_TRUE(com2->ok("fault 2 none"));
    EXPECT_EQ(com2->command("dump 2"), QStringList{"0000000011"});
    Sin_Respuesta.clear();
    EXPECT_EQ(Tick(), Resultado_Tick::Caducadas);
    EXPECT_TRUE(Sin_Respuesta.isEmpty());
    EXPECT_EQ(Titular("0000000011"), "-1|N");
    EXPECT_TRUE(Asignaciones("0000000011").isEmpty());
    EXPECT_TRUE(Memoria(1).isEmpty());
    EXPECT_TRUE(Memoria(2).isEmpty());
    // Released cards are not visited again.
    EXPECT_EQ(Tick(), Resultado_Tick::Hecho);
}

TEST_F(MantenimientoTest, ATickWhileAWorkflowHoldsTheControllersIsSkipped)
{
    Tarjeta_De_Usuario("0000000011", {1}, true, Ahora.addSecs(-60));
    QList<Resultado_Tick> durante;
    Test_Controladores({1, 2}, [&](int, const Resultado_Test &) { durante << Tick(); });
    EXPECT_EQ(durante, (QList<Resultado_Tick>{Resultado_Tick::Saltado, Resultado_Tick::Saltado}));
    EXPECT_EQ(Titular("0000000011"), "7|S");
    EXPECT_EQ(Memoria(1), QStringList{"0000000011"});

    EXPECT_EQ(Tick(), Resultado_Tick::Caducadas);
    EXPECT_EQ(Titular("0000000011"), "-1|N");
}

TEST_F(MantenimientoTest, EveryReaderIsTestedAtItsOwnAddress)
{
    struct Fallo {
        const char *orden;
        QStringList sin_respuesta;
    };
    // None of the readers is at address 0: a test at any other than its own
    // would go unanswered.
    for (const Fallo &f : {Fallo{"fault 2 none", {}}, Fallo{"fault 2 silence", {"Door 2"}}}) {
        ASSERT_TRUE(com2->ok(f.orden));
        Sin_Respuesta.clear();
        EXPECT_EQ(Tick(), Resultado_Tick::Hecho) << f.orden;
        EXPECT_EQ(Sin_Respuesta, f.sin_respuesta) << f.orden;
    }
}

TEST_F(MantenimientoTest, AfterATickTheTimerRunsOnlyWhenASettingAsksForMaintenance)
{
    struct Ajuste {
        bool testear;
        bool liberar;
        bool activo;
    };
    for (const Ajuste a : {Ajuste{false, false, false}, Ajuste{true, false, true}, Ajuste{false, true, true},
                           Ajuste{true, true, true}}) {
        Variables::Testear_cx = a.testear;
        Variables::Liberar_tarj = a.liberar;
        // Found the other way round, so that only the tick can have set it.
        if (a.activo)
            temporizador.stop();
        else
            temporizador.start();
        EXPECT_EQ(Tick(), Resultado_Tick::Hecho);
        EXPECT_EQ(temporizador.isActive(), a.activo) << a.testear << a.liberar;
    }
}
