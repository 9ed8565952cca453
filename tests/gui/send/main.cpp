#include "tst_envio.h"
#include "tst_recepcion.h"
#include "tst_reintento.h"

#include "clases.h"

#include "ui/operador.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Every answer is queued by the test that needs it.
    kv::ui::Operador::setUnattended(true);
    return Ejecuta_Clases(argc, argv, {Clase<TestEnvio>(), Clase<TestRecepcion>(), Clase<TestReintento>()});
}
