#pragma once

#include <QString>

class QObject;

// Reaching the main database and opening an installation the way the program
// does, for the program itself and for the headless commands.
namespace kv::wf {

// The main database's file name in the database directory.
extern const QString Fichero_Principal;

// Globales::Servidor on the main database of the database directory, through
// the server of the settings (Servidor_BD, with the account Usuario_BD and
// Password_BD) or embedded when it names none; a main database of an earlier
// version is brought up to date (ZARVServer::Actualiza_Esquema).
void Conecta_Servidor(QObject *owner = nullptr);
// The installation to open: LAST_INSTALLATION of the settings when it is a
// number the main database lists, else empty (the caller then takes the
// lowest).
QString Instalacion_Recordada();
// The lowest code the main database lists, or empty when it lists none.
QString Primera_Instalacion();
// Closes the open installation and opens the one with that code:
// Globales::Sistema with its collections loaded and its lines connected.
// Raises ErrorBD when its file cannot be opened.
// owner owns the controllers' links (none: the command layers free them).
void Abre_Instalacion(const QString &codigo, QObject *owner = nullptr);

} // namespace kv::wf
