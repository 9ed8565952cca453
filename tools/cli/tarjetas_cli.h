#pragma once

#include "sesion_cli.h"

// The cards page's operations on the cards of an installation, without a
// display, on the same workflows as the window.
namespace kv::cli {

const Tabla_Comandos &Comandos_Tarjetas();
QString Uso_Tarjetas();

} // namespace kv::cli
