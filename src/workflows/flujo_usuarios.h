#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class ZARVUsuario;

// The users page's operations on cardholders: a new user with his cards and
// the readers they open, an edited one, the deletion of several, and the
// checks on what the operator typed. Each takes the controllers' turn while
// it writes to them, as every controller workflow does.
namespace kv::wf {

class Interlocutor;
class Progreso;

// What the user window holds when the operator saves.
struct Datos_Usuario {
    int id = 0; // 0: a new user
    QString nombre;
    QString apellidos;
    QString fotografia; // file name in Pictures/, empty for none
    QStringList tarjetas; // ten-digit codes, in list order
    std::vector<int> lectores; // the ticked controllers, by number, in list order
    bool usar_caducidad = false;
    QDateTime caducidad;
};

// The limits of the stored names (the columns' widths).
constexpr int Largo_Nombre = 100;
constexpr int Largo_Apellidos = 150;

// A code as it can be enrolled: ten decimal digits, padded with "0" on the
// left; none for letters, signs or more than ten digits (the link would turn
// a letter into a zero and enrol another card).
std::optional<QString> Codigo_Tarjeta(const QString &texto);

// Checks what the window holds before anything is written, and tells the
// operator the first problem: a name too long or on several lines, a code
// that is not one, a card of another user the operator does not give away.
// True when the save may go ahead.
bool Comprueba_Usuario(const Datos_Usuario &datos, Interlocutor &operador);

// Stores the new user and his cards, then sends each card to the ticked
// readers (a card taken from elsewhere first leaves every reader). Returns
// the new user's number, or 0 when the checks refused it.
int Guarda_Usuario_Nuevo(const Datos_Usuario &datos, Interlocutor &operador);
// Stores the edited user: his cards leave every reader and are freed, then
// the list's cards are his again and go to the ticked readers. False when
// the checks refused it.
bool Guarda_Usuario_Editado(const Datos_Usuario &datos, Interlocutor &operador);

// Deletes the users, showing each in the progress window; Cancel stops
// before the next user. A user whose card a controller could not remove
// is deleted only if the operator agrees (asked once for the whole run: the
// answer stands for the rest); his cards are then freed and lose their
// assignments. Returns how many users were deleted.
int Elimina_Usuarios(const std::vector<int> &ids, Progreso &progreso,
                     const std::function<bool()> &borrar_con_tarjetas_retenidas);

} // namespace kv::wf
