#pragma once

#include <QStringList>

// The readers page's operations on an installation, without a display:
//   keyvane-cli [--program-dir DIR] [--installation N] [--system-dir DIR] [--ports-dir DIR] COMMAND [ARGS]
// on the same workflows as the window.
namespace kv::cli {

// True when arguments (the whole command line) name one of these commands.
bool Es_Comando_Lectores(const QStringList &arguments);
// Runs it and returns the exit status: 0 done, 1 refused, no answer or a
// mismatch found, 2 usage, file or database error.
int Ejecuta_Lectores(const QStringList &arguments);
QString Uso_Lectores();

} // namespace kv::cli
