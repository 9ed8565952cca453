#pragma once

#include "model/zarvcoleccion.h"
#include "model/zarvcontrolador.h"

#include <utility>
#include <vector>

// The controllers of the open installation, in number order ("cod") by
// default, with the statements on zarvcontrolador and the per-controller
// statements on zarvcontroladortarjeta. None of these reloads the cards.
class ZARVColeccionControlador : public ZARVColeccion {
public:
    ZARVColeccionControlador(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner);
    ~ZARVColeccionControlador() override;

    // Closes the lines of the controllers held so far, then loads new ones,
    // which have no line open and no event receiver until opened again.
    void Refrescar() override;

    std::shared_ptr<ZARVControlador> Elemento(int indice = -1) const;
    // The first loaded controller with that number, or none.
    std::shared_ptr<ZARVControlador> Busca(int cod) const;
    // The lowest-numbered loaded controller on that serial port, or none: the
    // one an event from that port is attributed to.
    std::shared_ptr<ZARVControlador> Busca_Por_Puerto(int puerto) const;
    // The controller that sent a frame: the lowest-numbered one with that bus
    // address (address 0 of a record travels as 170) on that port. Controllers
    // share a line and each frame names its sender; a sender the
    // installation does not know of (or -1, unknown) still happened at a door
    // of that line, so the port's lowest-numbered controller stands for it.
    std::shared_ptr<ZARVControlador> Busca_Remitente(int puerto, int direccion) const;
    bool Existe_Numero(const QString &cod);
    bool Existe_Direccion(int direccion, int puerto);

    // The object passed stays the caller's; the collection then holds its own,
    // freshly loaded copy.
    void Inserta(const ZARVControlador &controlador);
    void Modifica(const ZARVControlador &controlador);
    // The controller's assignments are left in place (Quita_Tarjetas removes them).
    void Elimina(const ZARVControlador &controlador);
    void Quita_Tarjeta(const ZARVControlador &controlador, const QString &codigo_tarjeta);
    void Quita_Tarjetas(const ZARVControlador &controlador);
    void Marca_Tarjetas(const ZARVControlador &controlador, bool almacenadas);

    // The controller and its assignments, as one change: either both go or,
    // on an error, neither does.
    void Elimina_Con_Tarjetas(const ZARVControlador &controlador);
    // The controller's assignments become exactly these cards (code, stored
    // in the controller), as one change, logged as accion (the cards read
    // from it, or copied from another). Does not reload the cards.
    void Reemplaza_Tarjetas(const ZARVControlador &controlador,
                            const std::vector<std::pair<QString, bool>> &tarjetas, Auditoria::Accion accion,
                            const QString &detalle = QString());

    // Releases every loaded controller's line (closing the installation).
    void Cierra_Comunicaciones();

private:
    void Borra_Asignaciones(const ZARVControlador &controlador);
};
