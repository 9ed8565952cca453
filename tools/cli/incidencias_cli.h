#pragma once

#include "sesion_cli.h"

// The incidence view's list of a date range, without a display: printed, or
// saved in the view's file format.
namespace kv::cli {

const Tabla_Comandos &Comandos_Incidencias();
QString Uso_Incidencias();

} // namespace kv::cli
