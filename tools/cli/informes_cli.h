#pragma once

#include "sesion_cli.h"

// The Reports tab without a display: a report of the catalogue rendered
// from the same template to a PDF file, on the same report code as the window.
namespace kv::cli {

const Tabla_Comandos &Comandos_Informes();
QString Uso_Informes();

// True when the command line runs a report: it paints, so the program needs
// Qt's GUI application (on the offscreen platform) instead of the core one.
bool Es_Informe(int argc, char **argv);

} // namespace kv::cli
