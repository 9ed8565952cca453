// The operators' log as the workflows leave it, against keyvane-sim and a
// real installation file: each workflow run leaves exactly its entries, with
// the operator, the object and the outcome (done, refused by a controller,
// cancelled by the operator).
#include "flujofixture.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcolecciontarjeta.h"
#include "workflows/flujo_lectores.h"
#include "workflows/flujo_tarjetas.h"
#include "workflows/flujo_usuarios.h"
#include "workflows/gestion_instalaciones.h"
#include "workflows/libro_tarjetas.h"
#include "workflows/mantenimiento.h"
#include "workflows/parametros.h"
#include "workflows/sincronizacion.h"

using namespace kv::wf;

namespace {

struct Caso_Auditoria {
    const char *name;
    // Run before the log is looked at: rows and faults the workflow meets.
    std::function<void(FlujoTest &, kv::test::SimProcess &com1)> prepara;
    std::function<void(Guion &, Progreso_Cancelable &, const QString &dir)> ejecuta;
    // "action|card|name|controller|outcome", in order.
    QStringList entradas;
};

const std::function<bool()> si = [] { return true; };
const std::function<bool()> no = [] { return false; };

Datos_Usuario Ana()
{
    Datos_Usuario d;
    d.nombre = QStringLiteral("Ana");
    d.apellidos = QStringLiteral("O'Brien");
    d.tarjetas = {QStringLiteral("0000000055")};
    d.lectores = {1};
    return d;
}

} // namespace

class AuditoriaTest : public FlujoTest, public ::testing::WithParamInterface<Caso_Auditoria> {
public:
    using FlujoTest::Tarjeta;

protected:
    qint64 Ultima() { return db->scalar(QStringLiteral("select coalesce(max(id), 0) from zarvauditoria")).toLongLong(); }
    QStringList Desde(qint64 id)
    {
        return db->rows(QStringLiteral("select accion, coalesce(tarjeta, ''), coalesce(nombre, ''), "
                                       "coalesce(controlador, 0), resultado from zarvauditoria where id > %1 order by id")
                            .arg(id));
    }
};

TEST_P(AuditoriaTest, EachWorkflowLeavesExactlyItsEntries)
{
    const Caso_Auditoria &c = GetParam();
    if (c.prepara)
        c.prepara(*this, *com1);
    const qint64 base = Ultima();
    Progreso_Cancelable cancelable;
    c.ejecuta(operador, cancelable, inst.root());
    // A workbook is named by its full path: "@" stands for the test's directory.
    EXPECT_EQ(Desde(base).replaceInStrings(inst.root(), QStringLiteral("@")), c.entradas);
    EXPECT_EQ(db->rows(QStringLiteral("select distinct login from zarvauditoria where id > %1").arg(base)),
              QStringList{"console"});
}

INSTANTIATE_TEST_SUITE_P(
    Workflows, AuditoriaTest,
    ::testing::Values(
        Caso_Auditoria{"RegisterAFreeCard", {},
                       [](Guion &, Progreso_Cancelable &, const QString &) {
                           Registra_Tarjeta(QStringLiteral("123"), false, {});
                       },
                       {"card added|0000000123||0|done"}},
        Caso_Auditoria{"SetACardsExpiry",
                       [](FlujoTest &t, kv::test::SimProcess &) {
                           static_cast<AuditoriaTest &>(t).Tarjeta(QStringLiteral("0000000011"), {});
                       },
                       [](Guion &, Progreso_Cancelable &, const QString &) {
                           Guarda_Caducidad(QStringLiteral("0000000011"), true, QDateTime(QDate(2027, 1, 31), QTime(0, 0)));
                       },
                       {"card changed|0000000011||0|done"}},
        Caso_Auditoria{"DeleteACardFromItsReaderAndTheDatabase",
                       [](FlujoTest &t, kv::test::SimProcess &) {
                           static_cast<AuditoriaTest &>(t).Tarjeta(QStringLiteral("0000000011"), {1});
                       },
                       [](Guion &, Progreso_Cancelable &, const QString &) { Borra_Tarjeta(QStringLiteral("11"), no); },
                       {"card unassigned|0000000011||1|done", "card deleted|0000000011||0|done"}},
        Caso_Auditoria{"ADeadReaderKeepsTheCardAndTheOperatorKeepsIt",
                       [](FlujoTest &t, kv::test::SimProcess &com1) {
                           static_cast<AuditoriaTest &>(t).Tarjeta(QStringLiteral("0000000011"), {1});
                           ASSERT_TRUE(com1.ok("fault 1 silence"));
                       },
                       [](Guion &, Progreso_Cancelable &, const QString &) { Borra_Tarjeta(QStringLiteral("11"), no); },
                       {"card unassigned|0000000011||1|refused", "card deleted|0000000011||0|cancelled"}},
        Caso_Auditoria{"ABatchDeleteStoppedHalfway",
                       [](FlujoTest &t, kv::test::SimProcess &) {
                           static_cast<AuditoriaTest &>(t).Tarjeta(QStringLiteral("0000000011"), {});
                           static_cast<AuditoriaTest &>(t).Tarjeta(QStringLiteral("0000000022"), {});
                       },
                       [](Guion &g, Progreso_Cancelable &p, const QString &) {
                           p.cancelar_tras = 1;
                           Elimina_Tarjetas({QStringLiteral("11"), QStringLiteral("22")}, {}, p, g, si);
                       },
                       {"card deleted|0000000011||0|done", "card deleted|0000000022||0|cancelled"}},
        Caso_Auditoria{"ANewCardholderWithACardForOneReader", {},
                       [](Guion &g, Progreso_Cancelable &, const QString &) { Guarda_Usuario_Nuevo(Ana(), g); },
                       {"cardholder added||O'Brien, Ana|0|done", "card added|0000000055|O'Brien, Ana|0|done",
                        "card assigned|0000000055|O'Brien, Ana|1|done"}},
        Caso_Auditoria{"ANewController", {},
                       [](Guion &g, Progreso_Cancelable &, const QString &) {
                           Alta_Controlador({QStringLiteral("5"), QStringLiteral("Gate"), QStringLiteral("1"),
                                             QStringLiteral("5")},
                                            g);
                       },
                       {"controller added|||5|done"}},
        Caso_Auditoria{"AControllersDeletionAnsweredNo", {},
                       [](Guion &g, Progreso_Cancelable &, const QString &) {
                           g.respuestas = {false};
                           Elimina_Controlador(2, g);
                       },
                       {"controller deleted|||2|cancelled"}},
        Caso_Auditoria{"AControllersDeletion", {},
                       [](Guion &g, Progreso_Cancelable &, const QString &) {
                           g.respuestas = {true};
                           Elimina_Controlador(2, g);
                       },
                       {"controller deleted|||2|done"}},
        Caso_Auditoria{"AMasterCardChange", {},
                       [](Guion &g, Progreso_Cancelable &, const QString &) { Cambia_Master(1, g); },
                       {"master card|||1|done"}},
        Caso_Auditoria{"AnEraseADeadControllerRefuses",
                       [](FlujoTest &, kv::test::SimProcess &com1) { ASSERT_TRUE(com1.ok("fault 3 silence")); },
                       [](Guion &g, Progreso_Cancelable &, const QString &) {
                           g.respuestas = {true};
                           Vacia_Tarjetas(3, g);
                       },
                       {"controller erased|||3|refused"}},
        Caso_Auditoria{"SendEveryCard",
                       [](FlujoTest &t, kv::test::SimProcess &) {
                           static_cast<AuditoriaTest &>(t).Tarjeta(QStringLiteral("0000000011"), {1, 2});
                       },
                       [](Guion &, Progreso_Cancelable &p, const QString &) { Envia_Todas(p); },
                       {"cards sent|||1|done", "cards sent|||2|done"}},
        Caso_Auditoria{"ReceiveEveryController",
                       [](FlujoTest &, kv::test::SimProcess &com1) { ASSERT_TRUE(com1.ok("fault 3 silence")); },
                       [](Guion &g, Progreso_Cancelable &p, const QString &) { Recibe_Todas(p, g); },
                       {"cards received|||1|done", "cards received|||2|done", "cards received|||3|refused"}},
        Caso_Auditoria{"CloneAController",
                       [](FlujoTest &t, kv::test::SimProcess &) {
                           static_cast<AuditoriaTest &>(t).Tarjeta(QStringLiteral("0000000011"), {1});
                       },
                       [](Guion &, Progreso_Cancelable &p, const QString &) { Clona(1, {3}, p); },
                       {"controller cloned|||3|done"}},
        Caso_Auditoria{"EditAControllersTimes", {},
                       [](Guion &g, Progreso_Cancelable &, const QString &) {
                           Guarda_Edicion({1, QStringLiteral("Main door"), QStringLiteral("6"), QStringLiteral("25"), true},
                                          g);
                       },
                       {"times set|||1|done", "controller changed|||1|done"}},
        Caso_Auditoria{"LoginsAddedChangedAndDeleted", {},
                       [](Guion &, Progreso_Cancelable &, const QString &) {
                           Globales::Servidor->Nuevo_Login(QStringLiteral("ana"), QStringLiteral("pw1"),
                                                           QStringLiteral("USER"));
                           Globales::Servidor->Pon_Password(QStringLiteral("ana"), QStringLiteral("pw2"));
                           Globales::Servidor->Elimina_Login(QStringLiteral("ana"));
                       },
                       {"login added||ana|0|done", "password changed||ana|0|done", "login deleted||ana|0|done"}},
        Caso_Auditoria{"ParametersChanged", {},
                       [](Guion &, Progreso_Cancelable &, const QString &) {
                           Parametros_App p = Parametros_Actuales();
                           p.Liberar_tarj = !p.Liberar_tarj;
                           Aplica_Parametros(p);
                       },
                       {"parameters changed|||0|done"}},
        Caso_Auditoria{"AWorkbookExportedAndImported", {},
                       [](Guion &, Progreso_Cancelable &p, const QString &dir) {
                           Registra_Tarjeta(QStringLiteral("77"), false, {});
                           const QString libro = dir + QStringLiteral("/cards.xlsx");
                           Exporta_Libro(libro);
                           Importa_Libro(Lee_Libro_Importacion(libro), Modo_Importacion::Reemplazar, {}, p);
                       },
                       {"card added|0000000077||0|done", "workbook exported||@/cards.xlsx|0|done",
                        "workbook imported||@/cards.xlsx|0|done"}}),
    [](const ::testing::TestParamInfo<Caso_Auditoria> &i) { return std::string(i.param.name); });

using AuditoriaFlujoTest = FlujoTest;

TEST_F(AuditoriaFlujoTest, EntriesCarryTheLoggedInOperatorAndTheServersTime)
{
    ASSERT_TRUE(Globales::Servidor->Comprueba_Login(QStringLiteral("admin"), QStringLiteral("admin")));
    const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
    Registra_Tarjeta(QStringLiteral("5"), false, {});
    const QStringList filas = db->rows(QStringLiteral("select login from zarvauditoria where accion = 'card added'"));
    EXPECT_EQ(filas, QStringList{"admin"});
    const QDateTime momento =
        db->scalar(QStringLiteral("select momento from zarvauditoria where accion = 'card added'")).toDateTime();
    EXPECT_GE(momento, antes);
    EXPECT_LE(momento, QDateTime::currentDateTime().addSecs(1));
}

// An installation's change is logged in the installation open afterwards:
// the new one for a creation, the one switched to for a switch.
TEST_F(AuditoriaFlujoTest, InstallationsAreLoggedWhereTheOperatorIsAfterwards)
{
    const int nueva = Crea_Instalacion(QStringLiteral("Warehouse"), Apertura_Modelo);
    ASSERT_GT(nueva, 1);
    Cambia_Instalacion(QStringLiteral("1"), Apertura_Modelo);
    kv::test::FbConnection otra(inst.installationFile(nueva));
    EXPECT_EQ(otra.rows(QStringLiteral("select accion, nombre, resultado from zarvauditoria")),
              QStringList{QStringLiteral("installation created|%1.- Warehouse|done").arg(nueva)});
    EXPECT_EQ(db->rows(QStringLiteral("select accion, resultado from zarvauditoria where accion like 'installation%'")),
              QStringList{"installation switched|done"});
}

TEST_F(AuditoriaFlujoTest, WhatTheMaintenanceDoesIsLoggedAsItsOwn)
{
    ASSERT_TRUE(Globales::Servidor->Comprueba_Login(QStringLiteral("admin"), QStringLiteral("admin")));
    Tarjeta(QStringLiteral("0000000011"), {2});
    ASSERT_TRUE(db->exec("update zarvtarjeta set usar_fecha_cad = 'S', fecha_caducidad = '2020-01-01'"));
    Globales::Sistema->Tarjetas()->Refrescar();
    const qint64 base = db->scalar(QStringLiteral("select max(id) from zarvauditoria")).toLongLong();
    EXPECT_EQ(Tick_Mantenimiento({}), Resultado_Tick::Caducadas);
    EXPECT_EQ(db->rows(QStringLiteral("select login, accion, tarjeta, coalesce(controlador, 0) from zarvauditoria "
                                      "where id > %1 order by id")
                           .arg(base)),
              (QStringList{"maintenance|card unassigned|0000000011|2", "maintenance|card changed|0000000011|0"}));
}
