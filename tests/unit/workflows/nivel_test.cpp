// The administrator level is checked where the action runs: a USER who
// reaches an administrative workflow by any path is refused, and neither the
// database nor the controllers change.
#include "flujofixture.h"

#include "model/globales.h"
#include "model/nivel.h"
#include "model/zarvserver.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"

#include <functional>

using namespace kv::wf;

namespace {

struct Accion {
    const char *nombre;
    std::function<void(Guion &, Progreso_Registrado &)> llamada;
};

const Accion kAcciones[] = {
    {"new", [](Guion &o, Progreso_Registrado &) { Alta_Controlador({"7", "Door 7", "1", "7"}, o); }},
    {"read times", [](Guion &, Progreso_Registrado &) { Lee_Tiempos(1); }},
    {"edit", [](Guion &o, Progreso_Registrado &) { Guarda_Edicion({1, "Renamed", "5", "5", true}, o); }},
    {"delete", [](Guion &o, Progreso_Registrado &) { Elimina_Controlador(3, o); }},
    {"master", [](Guion &o, Progreso_Registrado &) { Cambia_Master(1, o); }},
    {"erase", [](Guion &o, Progreso_Registrado &) { Vacia_Tarjetas(1, o); }},
    {"clone", [](Guion &, Progreso_Registrado &p) { Clona(1, {3, 2}, p); }},
    {"new login", [](Guion &, Progreso_Registrado &) { Globales::Servidor->Nuevo_Login("eva", "e", "ADMIN"); }},
    {"delete login", [](Guion &, Progreso_Registrado &) { Globales::Servidor->Elimina_Login("admin"); }},
    {"reset a password", [](Guion &, Progreso_Registrado &) { Globales::Servidor->Pon_Password("admin", "x"); }},
    {"new installation",
     [](Guion &, Progreso_Registrado &) { Globales::Servidor->Nueva_Instalacion("Otra", "/nonexistent"); }},
    {"delete installation",
     [](Guion &, Progreso_Registrado &) { Globales::Servidor->Elimina_Instalacion("instalacion_1"); }},
};

} // namespace

class NivelTest : public FlujoTest {};

TEST_F(NivelTest, AUserCallingAnAdministrativeWorkflowIsRefusedAndNothingChanges)
{
    Tarjeta(QStringLiteral("0000000011"), {1, 3});
    ASSERT_TRUE(com1->ok("load 1 0000000011"));
    Globales::Servidor->Nuevo_Login("luis", "clave", "USER");
    ASSERT_TRUE(Globales::Servidor->Comprueba_Login("luis", "clave"));
    kv::test::FbConnection principal(inst.mainDatabase());

    const QStringList controladores = db->rows("select * from zarvcontrolador order by cod");
    const QStringList asignaciones = db->rows("select * from zarvcontroladortarjeta order by controlador");
    const QStringList logins = principal.rows("select * from usuario order by cod");
    const QStringList instalaciones = principal.rows("select * from instalacion");
    const qsizetype tramas1 = com1->log().size();
    const qsizetype tramas2 = com2->log().size();

    for (const Accion &a : kAcciones) {
        operador.respuestas = {true};
        EXPECT_THROW(a.llamada(operador, progreso), Nivel::Sin_Permiso) << a.nombre;
        EXPECT_FALSE(Coordinacion::Ocupado()) << a.nombre;
        EXPECT_EQ(Coordinacion::Retenciones(), 0) << a.nombre;
    }
    EXPECT_TRUE(operador.preguntas.isEmpty());
    EXPECT_TRUE(operador.mensajes.isEmpty());
    EXPECT_EQ(progreso.mostrado, 0);
    EXPECT_EQ(db->rows("select * from zarvcontrolador order by cod"), controladores);
    EXPECT_EQ(db->rows("select * from zarvcontroladortarjeta order by controlador"), asignaciones);
    EXPECT_EQ(principal.rows("select * from usuario order by cod"), logins);
    EXPECT_EQ(principal.rows("select * from instalacion"), instalaciones);
    // Not a frame went to either line, and controller 1 keeps its card.
    EXPECT_EQ(com1->log().size(), tramas1);
    EXPECT_EQ(com2->log().size(), tramas2);
    EXPECT_EQ(com1->command("dump 1"), QStringList{"0000000011"});

    // What a USER keeps: testing the controllers.
    EXPECT_TRUE(Test_Controlador(1).responde);
}
