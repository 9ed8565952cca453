#pragma once

#include "sesion_cli.h"

// The export/import window's workbook exchange without a display: the cards
// and their holders written to a workbook for another department, and such
// a workbook imported, on the same workflows as the window.
namespace kv::cli {

const Tabla_Comandos &Comandos_Libros();
QString Uso_Libros();

} // namespace kv::cli
