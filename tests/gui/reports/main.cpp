#include "tst_informes.h"

#include "clases.h"

#include "ui/operador.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Nothing may wait for a click nobody makes: every answer is queued by
    // the test that needs it, and what would have been shown is recorded.
    kv::ui::Operador::setUnattended(true);
    return Ejecuta_Clases(argc, argv, {Clase<TestInformes>()});
}
