#pragma once

#include "model/serviciocopia.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

// Installation management: switching, creating, deleting, backing up and
// restoring installations, for the installation window and for keyvane-cli.
//
// Whatever replaces the open installation first does the part that can fail
// without it (the new row and file, the restored copy) and only then closes
// it; a failure on the way opens the one that was open before. Each holds the
// controllers for its duration (another workflow refuses it with Ocupado and
// it refuses them), with the maintenance timer held off, and afterwards
// incidence listening follows the registering switch on whatever is open.
namespace kv::wf {

class Interlocutor;

// Opens the installation with that code and shows it: the main window's
// opening (its lists, title and live events) or, headless, the model alone
// (Abre_Instalacion). Raises what the opening raises.
using Apertura = std::function<void(const QString &codigo)>;
// The model alone, for the headless commands.
void Apertura_Modelo(const QString &codigo);

// A workflow that did not do what was asked. Its text is the operator's
// message: what failed, what became of the installations and why; Fallo
// tells what kind of failure it was.
class Fallo_Instalacion : public std::runtime_error {
public:
    explicit Fallo_Instalacion(const QString &texto, Fallo_Copia fallo = Fallo_Copia::Otro);
    const QString &Texto() const { return m_texto; }
    Fallo_Copia Fallo() const { return m_fallo; }

private:
    QString m_texto;
    Fallo_Copia m_fallo;
};

// Closes the open installation: every controller's line released, the
// connections closed, the model gone (Close_instalacion). Nothing is open
// afterwards until an installation is opened.
void Cierra_Instalacion();
// The code of the open installation; empty when none is open.
QString Instalacion_Abierta();

// Closes the open installation and opens codigo.
void Cambia_Instalacion(const QString &codigo, const Apertura &abre);
// Creates an installation named nombre (stored exactly as typed) and opens
// it; returns its code, 0 (nothing done) for an empty name.
int Crea_Instalacion(const QString &nombre, const Apertura &abre);
// After the operator confirms, deletes installation codigo, its row and its
// file, and opens the list's first one. entrada is its "<code>.- <name>"
// for the question. The last installation is never deleted. False when
// nothing was done (no answer yes, the last one).
bool Elimina_Instalacion(const QString &codigo, const QString &entrada, Interlocutor &operador, const Apertura &abre);
// Backs installation codigo up into fichero, with the installation open. A
// previous file of that name is replaced only by a complete backup.
void Exporta_Instalacion(const QString &codigo, const QString &fichero, const ProgresoCopia &progreso = {});
// Replaces installation codigo's contents by the backup in fichero; its code
// and name stay. A file that is not a good backup of an installation this
// version can use is refused with the installation as it was, open.
void Importa_Instalacion(const QString &codigo, const QString &fichero, const Apertura &abre,
                         const ProgresoCopia &progreso = {});

// The name chosen in the save dialog: ".kvd" added when it has no extension.
QString Con_Extension_Kvd(const QString &nombre);
// The operator's words for a failed backup or restore: what failed, why in
// the program's own words, and the database tool's message.
QString Texto_Fallo_Copia(const QString &clave, const ZARVResultadoCopia &r);

// Brings the factory set back when the database directory has no main
// database: the main database and whatever else is missing come from it,
// every installation file found is kept, and the main database lists each
// of them again (recuperada followed by the code names those it had lost).
// Returns the codes listed again; nothing is done when the main database is
// there. Raises kv::FileError when the factory set cannot be copied.
QStringList Repara_BD_Inicial(const QString &recuperada);

} // namespace kv::wf
