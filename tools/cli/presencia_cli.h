#pragma once

#include "sesion_cli.h"

// The attendance area without a display: a cardholder's time sheet of a
// month or a day, printed or saved as the window saves it, and the readers'
// entrance and exit designation, on the same workflow as the window.
namespace kv::cli {

const Tabla_Comandos &Comandos_Presencia();
QString Uso_Presencia();

} // namespace kv::cli
