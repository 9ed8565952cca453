#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// The cards page's operations: registering free cards, their expiry, and
// deleting cards from the readers and the database.
namespace kv::wf {

class Interlocutor;
class Progreso;

enum class Registro {
    Hecho,     // stored as a free card
    Vacio,     // nothing typed
    No_Codigo, // letters, signs or more than ten digits
    Ya_Existe, // the database has that code: nothing stored
};
// Registers the code (padded to ten digits) as a free card without readers.
// A failed insert raises its error: the card is not stored.
Registro Registra_Tarjeta(const QString &texto, bool usar_caducidad, const QDateTime &caducidad);

// Stores a card's expiry; false when the card is gone.
bool Guarda_Caducidad(const QString &codigo, bool usar_caducidad, const QDateTime &caducidad);

// Takes the card out of every reader that holds it (a refused delete is
// tried twice), then out of the database. When a reader kept it, the card is
// deleted only if borrar_retenida() agrees, and then loses every assignment;
// otherwise it keeps the assignments not removed. True when deleted.
bool Borra_Tarjeta(const QString &codigo, const std::function<bool()> &borrar_retenida);

// Deletes the cards (codes, each with the text the progress shows), stopping
// before the next one when the operator cancels. A card that is no longer
// in the database (another window deleted it) is skipped with a message.
// Returns how many were deleted.
int Elimina_Tarjetas(const QStringList &codigos, const QStringList &textos, Progreso &progreso,
                     Interlocutor &operador, const std::function<bool()> &borrar_retenida);

} // namespace kv::wf
