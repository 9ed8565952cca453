#include "app/programa.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return kv::app::Programa().Ejecuta();
}
