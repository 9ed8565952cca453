#include "tst_arranque.h"
#include "tst_eventos.h"
#include "tst_impresion_incidencias.h"
#include "tst_listas.h"
#include "tst_login.h"
#include "tst_logins.h"
#include "tst_piezas.h"
#include "tst_usuario_incidencia.h"
#include "tst_vista_incidencias.h"

#include "clases.h"

#include "ui/operador.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Nothing may wait for a click nobody makes: every answer is queued by
    // the test that needs it, and what would have been shown is recorded.
    kv::ui::Operador::setUnattended(true);
    return Ejecuta_Clases(argc, argv,
                          {Clase<TestPiezas>(), Clase<TestArranque>(), Clase<TestLogin>(), Clase<TestListas>(),
                           Clase<TestLogins>(), Clase<TestEventos>(), Clase<TestVistaIncidencias>(),
                           Clase<TestImpresionIncidencias>(), Clase<TestUsuarioIncidencia>()});
}
