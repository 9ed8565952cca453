#include "tst_parametros.h"

#include "clases.h"

#include "ui/operador.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Every answer is queued by the test that needs it; nothing waits for a click.
    kv::ui::Operador::setUnattended(true);
    return Ejecuta_Clases(argc, argv, {Clase<TestParametros>()});
}
