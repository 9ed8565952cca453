#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ZARVComunicador;
class ZARVControlador;

// The readers page's operations: test, new, edit, delete, master card, erase
// and clone. Each one that talks to the controllers takes their turn itself
// (Trabajo_Controladores), except those said to run inside a window's
// session, whose window holds the turn while it is open.
namespace kv::wf {

class Interlocutor;
class Progreso;

// The controller with that number in the open installation, or none.
std::shared_ptr<ZARVControlador> Controlador(int codigo);
// The controller's command layer, created on first use, with its port closed
// so that the next command opens it afresh.
ZARVComunicador &Comunicador(ZARVControlador &controlador);

// A door time of a controller's test reply, in seconds. The controllers keep
// their times as packed decimal (12 s is the byte 0x12), so the reply's hex
// text already reads as the seconds; taking it for a hexadecimal number would
// show 18 s, and the edit window would then send 18 s back. A text that
// cannot be packed decimal (a hex digit above 9) is read as hexadecimal.
QString Segundos(const QString &hex);
// The firmware version as the controller's label prints it: 21 is 2.1, and a
// one-digit version 5 is "5.".
QString Version(int version);

// One controller's test, as the readers page shows it.
struct Resultado_Test {
    int codigo = 0;
    bool responde = false;
    QString estado;
    QString cerradura;   // seconds
    QString abierta;     // seconds
    QString version;
    QString tarjetas;    // cards in the controller's memory
    QString tarjetas_bd; // assignments of the controller in the database
    // The controller holds as many cards as the database gives it.
    bool Coinciden() const { return tarjetas == tarjetas_bd; }
};

// Tests one controller at its own bus address. The caller holds the turn.
Resultado_Test Test_Controlador(int codigo);
// Tests these controllers in order, handing each result on as it comes, with
// its position in codigos. Takes the turn.
void Test_Controladores(const std::vector<int> &codigos,
                        const std::function<void(int posicion, const Resultado_Test &)> &resultado);

// ---- new controller (inside the new-controller window's session) ----------
struct Datos_Controlador {
    QString numero;
    QString descripcion;
    QString puerto;
    QString direccion;
};
enum class Alta {
    Hecha,
    Campos_Vacios,
    Direccion_No_Numero, // the address field is to be emptied
    Direccion_Fuera,
    Numero_Repetido,
    Direccion_Repetida,  // the address field takes the focus
    Sin_Instalacion,
};
// Checks the fields, tells the operator what is wrong, and inserts the
// controller when nothing is.
Alta Alta_Controlador(const Datos_Controlador &datos, Interlocutor &operador);

// ---- edit controller (inside the edit window's session) --------------------
struct Tiempos_Puerta {
    QString cerradura;
    QString abierta;
};
// The controller's door times from a test at its own address; none when it
// does not answer.
std::optional<Tiempos_Puerta> Lee_Tiempos(int codigo);
struct Edicion_Controlador {
    int codigo = 0;
    QString descripcion;
    QString cerradura;   // seconds as typed; empty for none
    QString abierta;
    bool tiempos_leidos = false; // the controller answered when the window opened
};
// Checks the times, tells the operator which is out of range, sends them
// when they were read, and stores the description. True when stored.
bool Guarda_Edicion(const Edicion_Controlador &edicion, Interlocutor &operador);

// ---- delete, master card, erase, clone ---------------------------------------
// Adding, editing (Lee_Tiempos included), deleting, the master card, erasing
// and cloning are for administrators: for anyone else they raise
// Nivel::Sin_Permiso before they touch anything.
// Asks the operator, then removes the controller and its assignments as one
// change. True when removed. Takes the turn.
bool Elimina_Controlador(int codigo, Interlocutor &operador);
// Asks the controller to take the next card presented as its master card and
// tells the operator the outcome. Takes the turn.
bool Cambia_Master(int codigo, Interlocutor &operador);
// Asks the operator, erases the controller's card memory and, once the
// controller confirmed, marks its assignments as still to be written. True
// when erased. Takes the turn.
bool Vacia_Tarjetas(int codigo, Interlocutor &operador);
// Copies the source's card list onto every target that answers: erased,
// loaded card by card, and its assignments replaced by what it confirmed.
// A target that does not answer, or does not confirm the erase, keeps its
// cards and its assignments. Takes the turn.
void Clona(int fuente, const std::vector<int> &destinos, Progreso &progreso);

} // namespace kv::wf
