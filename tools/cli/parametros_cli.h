#pragma once

#include "sesion_cli.h"

// The application parameters of the settings file without a display, on the
// same workflow as the parameters window: shown, or changed and written only
// when something differs.
namespace kv::cli {

const Tabla_Comandos &Comandos_Parametros();
QString Uso_Parametros();

} // namespace kv::cli
