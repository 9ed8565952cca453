#pragma once

#include "sesion_cli.h"

// The installation list, and an installation's backup and restore, without a
// display: the installation window's workflows, with the same safety rules.
namespace kv::cli {

const Tabla_Comandos &Comandos_Instalaciones();
QString Uso_Instalaciones();

} // namespace kv::cli
