#pragma once

#include <QString>

#include <functional>
#include <vector>

class ZARVTarjeta;
class ZARVUsuario;

// A card between the database and the controllers' memories: sending it to
// the readers it may open, and the one routine that takes it out of the
// readers that hold it. Each exchange is at the controller's own address
// (a controller at any address but 0 does not answer 170). Callers hold the
// controllers (Trabajo_Controladores) around them.
namespace kv::wf {

// For each controller number in order: tested, sent the card when it
// answers, and an assignment made when the card has none to it yet: "S"
// when the controller stored it, "N" when it did not answer or refused (the
// next send takes it there). An existing assignment is left as it is.
void Envia_Tarjeta_Lectores(const ZARVTarjeta &tarjeta, const std::vector<int> &controladores);

// How Retira_Tarjeta walks the card's assignments.
struct Retirada {
    // A refused delete is sent once more before the controller keeps the card.
    bool reintento = false;
    // Which assignments to visit, by controller number; all when empty.
    std::function<bool(int cod)> visita;
};

// Visits the card's assignments in order: each controller that answers is
// told to delete the card, and each that confirmed loses its assignment in
// the database. A controller that does not answer, or refuses, keeps the
// card and its assignment. True when every visited assignment went.
bool Retira_Tarjeta(const ZARVTarjeta &tarjeta, const Retirada &como = {});

// The family's members, each named for its use.
// A card that a new user takes over: out of every reader first.
bool Quita_Tarjeta_Lectores(const ZARVTarjeta &tarjeta);
// Every card the user owns, out of every reader that answers; a card left
// without assignments is freed (no user, no expiry).
void Elimina_TODAS_tarjetas(const ZARVUsuario &usuario);
// An existing card of an edited user's list, out of the readers ticked for
// the user (matched by controller number) before it is sent to them again.
bool Elimina_Tarjeta_Fisicamente(const ZARVTarjeta &tarjeta, const std::vector<int> &marcados);
// A card of a user being deleted: every reader, with a second try.
bool Borro_la_tarjeta_TODOS_CX(const ZARVTarjeta &tarjeta);
// An expired card, by code (padded as the cards are stored): every reader,
// with a second try. False for a code no card has, so nothing is freed on
// the strength of it.
bool Borra_Tarjeta_Lectores(const QString &codigo);

// The card with no user and its expiry switched off, so that it can be given
// out again; the caller makes sure no reader holds it any more.
void Libera_Tarjeta(const ZARVTarjeta &tarjeta);

} // namespace kv::wf
