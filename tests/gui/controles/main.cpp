#include "tst_controles.h"

#include "clases.h"

#include "ui/operador.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Every question answers no, every modal window is refused and every file
    // dialog cancelled, so a control can be used without anyone at the screen;
    // what would have been shown is recorded and counts as an effect.
    kv::ui::Operador::setUnattended(true);
    return Ejecuta_Clases(argc, argv, {Clase<TestControles>()});
}
