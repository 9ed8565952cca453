#pragma once

#include "sesion_cli.h"

// The operators' log of the open installation, newest first, one
// tab-separated line per entry.
namespace kv::cli {

const Tabla_Comandos &Comandos_Auditoria();
QString Uso_Auditoria();

} // namespace kv::cli
