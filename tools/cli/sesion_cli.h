#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// The commands of keyvane-cli on the program's databases, without a display:
//   keyvane-cli [--program-dir DIR] [--installation N] [--system-dir DIR] [--ports-dir DIR] COMMAND [ARGS]
// Each reaches the main database in the console's administrator session, and
// the installation as well when it works on one.
namespace kv::cli {

// What a command needs open before it runs.
enum class Alcance {
    Base_Principal, // the main database alone: no installation file is touched
    Instalacion,    // the main database and the installation of the call
};

struct Comando {
    int minimo;
    int maximo; // -1: any number
    Alcance alcance;
    std::function<int(const QStringList &)> ejecuta;
    // Runs once the settings are read and before anything is opened; it may
    // add to the arguments what ejecuta is to get. A status other than 0 ends
    // the command with that status.
    std::function<int(QStringList &)> previo = {};
};

using Tabla_Comandos = QMap<QString, Comando>;

// One line on standard error; returns estado.
int Falla(const QString &texto, int estado = 2);

// True when arguments (the whole command line) name one of these commands.
bool Es_Comando_Sesion(const QStringList &arguments);
// Runs it and returns the exit status: 0 done, 1 refused, unknown login, no
// answer or a mismatch found, 2 usage, file or database error.
int Ejecuta_Sesion(const QStringList &arguments);
QString Uso_Sesion();

} // namespace kv::cli
