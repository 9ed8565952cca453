#pragma once

#include "sesion_cli.h"

// The users page's operations on the cardholders of an installation, without
// a display, on the same workflows as the window.
namespace kv::cli {

const Tabla_Comandos &Comandos_Usuarios();
QString Uso_Usuarios();

} // namespace kv::cli
