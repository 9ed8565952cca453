#pragma once

#include "sesion_cli.h"

// The readers page's operations on an installation, without a display, on
// the same workflows as the window.
namespace kv::cli {

const Tabla_Comandos &Comandos_Lectores();
QString Uso_Lectores();

} // namespace kv::cli
