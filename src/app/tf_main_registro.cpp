// Registering incidences on and off, and the periodic maintenance. Listening
// follows the operator's switch: on, every port listens; off, the lines are
// closed and the controllers keep their events until registering starts again.
#include "app/tf_main.h"

#include "app/textos.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccionincidencia.h"
#include "ui/imagen_pulsable.h"
#include "workflows/coordinacion.h"
#include "workflows/mantenimiento.h"

#include <QTreeWidget>

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
    const kv::wf::Resultado_Tick r = kv::wf::Tick_Mantenimiento([this](const QString &descripcion) {
        Anade_Fila_Incidencia(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_13")),
                              textos::Ahora_Texto(), descripcion, QString::fromUtf8("¿?¿?"), QStringLiteral("-1"),
                              -1);
    });
    // Released cards change what the users and cards pages show.
    if (r == kv::wf::Resultado_Tick::Caducadas && Arbol1->currentItem())
        Arbol1Change(Arbol1->currentItem());
}
