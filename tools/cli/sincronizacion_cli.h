#pragma once

#include "sesion_cli.h"

// The send, verify and sync of the controllers' card memories, without a
// display, on the same workflows as the send and receive windows.
namespace kv::cli {

const Tabla_Comandos &Comandos_Sincronizacion();
QString Uso_Sincronizacion();

} // namespace kv::cli
