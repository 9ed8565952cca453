#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Keeping the controllers' card memories and the database in step: the full
// send, the receive of the card lists, the retry of one pending card, and
// the headless verify and sync. Each takes the controllers' turn.
namespace kv::wf {

class Interlocutor;
class Progreso;

// True when entry i of the send list (controller numbers in send order) is
// the last of its controller's run: the controller closes its block there.
// The first entry of the list counts as any other (a controller holding a
// single card still gets its end-of-block mark).
bool Fin_Bloque(const std::vector<int> &controladores, std::size_t i);

struct Resultado_Envio {
    int cargadas = 0;   // assignments the controllers confirmed ("S")
    int pendientes = 0; // assignments left "N"
    bool cancelada = false;
};
// Empties every controller and loads every assignment of the database, in
// controller order. An assignment is "S" only once its controller confirmed
// the card; everything else, a cancelled or interrupted send included, is
// "N". progreso.Cancelado() stops before the next card.
Resultado_Envio Envia_Todas(Progreso &progreso);

// A controller as the receive window lists it.
struct Lector_Recepcion {
    int cod = 0;
    QString descripcion;
    int puerto = 0;
    bool responde = false;
    int version = 0; // 21 is version 2.1; 0 when it does not answer
    bool Legible() const { return responde && version >= 20; }
};
// Tests every controller, in collection order.
std::vector<Lector_Recepcion> Prueba_Recepcion();

struct Resultado_Recepcion {
    int cod = 0;
    int declaradas = 0; // the count the controller reported
    int leidas = 0;
    bool completa = false;
};
// Reads back the card list of every controller of version 20 or more (up to
// three passes over the positions not read yet). A controller read whole
// has its assignments replaced, in one change, by what it holds; one read
// in part keeps its assignments and gains what was read, and the operator is
// told. A card unknown to the database, or one without a user, gets a new
// nameless user, as the users' lists expect of every card read.
std::vector<Resultado_Recepcion> Recibe_Todas(Progreso &progreso, Interlocutor &operador);

// Adds the card again to every controller where its assignment is pending,
// at the controller's own address. True when none is left pending.
bool Reintenta_Tarjeta(const QString &codigo);

// What a controller holds against what the database assigns it.
struct Comparacion {
    int cod = 0;
    bool responde = false;
    QStringList faltan;  // assigned, absent from the controller
    QStringList sobran;  // in the controller, not assigned
    int pendientes = 0;  // assignments marked "N"
    bool Coincide() const { return responde && faltan.isEmpty() && sobran.isEmpty(); }
};
// Reads every controller's list and compares it; changes nothing.
std::vector<Comparacion> Verifica(Progreso &progreso);

struct Envio_Pendiente {
    int cod = 0;
    QString codigo;
    bool almacenada = false;
};
// Retries every pending assignment of the database.
std::vector<Envio_Pendiente> Sincroniza_Pendientes();

} // namespace kv::wf
