#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// General utilities: running external tools, splitting and joining texts, and
// month boundaries.
namespace uzarv {

// Name of the command file Ejecuta_Comandos writes (and leaves in place).
inline const QString Fichero_Comandos = QStringLiteral("tmp_execute.sh");

// Starts programa with argumentos (each handed to the program unchanged; no
// shell sees them) and waits for it to end. While it waits, timers and
// repaints keep running but keyboard and mouse input stays queued, so windows
// do not go blank and the operator cannot start a second action meanwhile.
//
// Returns the program's exit code, 128 + the signal number when a signal
// ended it, or -1 when it could not be started. When salida is given, what the
// program wrote to its standard output and error is appended to it; otherwise
// it is discarded.
int Ejecuta_y_Espera(const QString &programa, const QStringList &argumentos, QByteArray *salida = nullptr);

// Writes the command file directorio/tmp_execute.sh, one line per command
// (each a program followed by its arguments, every one of them quoted for the
// shell, so a file name holding quotes, spaces, "$" or backticks reaches the
// program exactly), and runs it through /bin/sh with Ejecuta_y_Espera.
// Throws kv::FileError, without running anything, when the file cannot be
// written. Returns what Ejecuta_y_Espera returns for the shell.
int Ejecuta_Comandos(const QString &directorio, const QList<QStringList> &comandos, QByteArray *salida = nullptr);

// One argument quoted for the POSIX shell.
QString Cita_Shell(const QString &argumento);
// One command line of the command file.
QString Linea_Comando(const QStringList &comando);

// Splits texto at separador. After each piece only the separator's first
// character is removed, so with a longer separator the rest of it starts the
// next piece: "3.- Oficina" at ".-" gives "3" and "- Oficina". A text without
// the separator (or an empty separator) gives one piece, the whole text.
QStringList Separa(const QString &separador, const QString &texto);
// Joins lista with separador between neighbours; an empty list gives "".
QString Une(const QString &separador, const QStringList &lista);

// Day 1 and the last day of fecha's month, both at 00:00.
QDateTime Primer_Dia_Mes(const QDateTime &fecha);
QDateTime Ultimo_Dia_Mes(const QDateTime &fecha);

} // namespace uzarv
