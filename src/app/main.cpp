#include "app/programa.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char **argv)
{
    // Without TZ, the C library re-reads the time-zone file for every date it
    // converts, which doubles the cost of loading cards and incidences.
    if (!std::getenv("TZ"))
        setenv("TZ", ":/etc/localtime", 0);
    QApplication app(argc, argv);
    return kv::app::Programa().Ejecuta();
}
