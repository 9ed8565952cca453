#pragma once

#include "sesion_cli.h"

// The operators' logins of the main database, without an installation: what
// an administrator locked out of the program needs to get back in.
namespace kv::cli {

const Tabla_Comandos &Comandos_Logins();
QString Uso_Logins();

} // namespace kv::cli
