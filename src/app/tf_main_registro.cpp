// Registering incidences on and off, and the periodic maintenance. Listening
// follows the operator's switch: on, every port listens; off, the lines are
// closed and the controllers keep their events until registering starts again.
#include "app/tf_main.h"

#include "app/textos.h"

#include "model/errorbd.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccionincidencia.h"
#include "ui/imagen_pulsable.h"
#include "ui/imagenes.h"
#include "workflows/coordinacion.h"
#include "workflows/mantenimiento.h"

#include <QTreeWidget>
#include <utility>

void TF_Main::I_PLAY_OFFClick()
{
    Cambia_Registro(true);
}

void TF_Main::I_PLAY_ONClick()
{
    Cambia_Registro(false);
}

void TF_Main::Cambia_Registro(bool activo)
{
    // Switching while a workflow holds the readers would change the lines
    // under it, and the workflow would then put back what it found, not what
    // the operator asked for.
    kv::wf::Coordinacion::Exige_Libres();
    I_PLAY_OFF->setVisible(!activo);
    I_PLAY_ON->setVisible(activo);
    Variables::Registrando = activo;
    // Registering locks the buttons that change controllers.
    if (Pagina_Lectores *p = Lectores())
        p->Control_Botones_Cx(!activo);
    ZARVColeccionIncidencia *incidencias = kv::wf::Coordinacion::Incidencias();
    if (!incidencias)
        return;
    if (activo) {
        incidencias->Inicia_Registro();
    } else {
        incidencias->Detiene_Registro();
        // A window reading cards keeps its reader.
        kv::wf::Coordinacion::Reabre_Lectura();
    }
}

void TF_Main::Eliminar_Tarj_cad_Y_Test_LectoresTimer()
{
    // The rows are only shown: a reader that does not answer is no event of
    // the door, and nothing of it is stored.
    const auto sin_respuesta = [this](const QString &descripcion) {
        Anade_Fila_Incidencia(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_13")),
                              textos::Ahora_Texto(), descripcion, QString::fromUtf8("¿?¿?"), QStringLiteral("-1"),
                              -1);
    };
    kv::wf::Resultado_Tick r = kv::wf::Resultado_Tick::Hecho;
    try {
        r = kv::wf::Tick_Mantenimiento(sin_respuesta);
        m_mantenimiento_sin_servidor = false;
    } catch (const ErrorBD &e) {
        // Nobody may be at the desk: a window every tick would pile up.
        // The next tick tries again.
        if (!e.Conexion_Perdida())
            throw;
        if (!std::exchange(m_mantenimiento_sin_servidor, true))
            Anade_Fila_Incidencia(QStringLiteral("Database server unreachable"), textos::Ahora_Texto(),
                                  QStringLiteral("Database"), e.Texto(), QStringLiteral("-1"), kv::ui::Icono_Alarma);
        return;
    }
    // Released cards change what the users and cards pages show.
    if (r == kv::wf::Resultado_Tick::Caducadas && Arbol1->currentItem())
        Arbol1Change(Arbol1->currentItem());
}
