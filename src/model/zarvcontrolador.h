#pragma once

#include "model/ttarjetalista.h"
#include "model/zarventidad.h"

#include "link/teventoinformacion.h"

#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QObject;
class ZARVColeccionControlador;
class ZARVComunicador;
class ZARVTarjeta;

// A door controller: one row of zarvcontrolador. Setters change only this
// object; the collection's operations write to the database.
class ZARVControlador : public ZARVEntidad {
public:
    using TIncidenciaEvent = std::function<void(ZARVControlador *Sender, const TEventoInformacion &Informacion)>;

    explicit ZARVControlador(QObject *owner = nullptr);
    // Releases the line: a dropped controller never keeps a port that the
    // controller loaded in its place needs.
    ~ZARVControlador() override;
    // A copy takes the row's values only: no command layer, no event receiver
    // (a window edits a copy and hands it to Modifica).
    ZARVControlador(const ZARVControlador &otro);
    ZARVControlador &operator=(const ZARVControlador &otro);

    // Creates the command layer on first use and opens the controller's line.
    // True when the line is open, or was recorded open before; false when the
    // port cannot be opened (missing, or held by another controller's line).
    bool Abrir_Comunicacion();
    // Closes the port; the command layer keeps what it recorded as Conectado.
    void Cerrar_Comunicacion();
    // None until the first Abrir_Comunicacion.
    ZARVComunicador *Comunicador() const { return m_comunicador.get(); }

    // The cards assigned to this controller (matched by number), each with
    // its stored flag, in card-collection order. Walks the card collection
    // with its cursor, so it must not run inside another walk of it. Empty
    // for a controller no loaded installation holds.
    TTarjetaLista Tarjetas_Controlador() const;
    // True when a card with exactly the same code is in Tarjetas_Controlador().
    bool Tiene_Tarjeta(const ZARVTarjeta &tarjeta) const;

    // This controller's events, passed on with the controller as Sender;
    // dropped when no receiver is set.
    TIncidenciaEvent OnIncidencia;

    // The address every command to this controller uses: the bus has no
    // address 0, a controller set to 0 answers at 170 (0xAA).
    std::uint8_t Direccion_Bus() const { return m_direccion == 0 ? 170 : m_direccion; }

    int Cod() const { return m_cod; }
    void Set_Cod(int cod) { m_cod = cod; }
    int Puerto_Serie() const { return m_puerto_serie; }
    void Set_Puerto_Serie(int puerto) { m_puerto_serie = puerto; }
    int Tiempo_Pta_Abierta() const { return m_tiempo_pta_abierta; }
    void Set_Tiempo_Pta_Abierta(int tiempo) { m_tiempo_pta_abierta = tiempo; }
    // "ENTRADA", "SALIDA", or anything else for a controller outside attendance.
    const QString &Tipo() const { return m_tipo; }
    void Set_Tipo(const QString &tipo) { m_tipo = tipo; }
    const QString &Descripcion() const { return m_descripcion; }
    void Set_Descripcion(const QString &descripcion) { m_descripcion = descripcion; }
    std::uint8_t Direccion() const { return m_direccion; }
    void Set_Direccion(std::uint8_t direccion) { m_direccion = direccion; }
    QObject *Owner() const { return m_owner; }
    // None for an object a window builds before inserting it, and once the
    // installation that loaded it has closed.
    // Out of line: the collection is only declared here.
    ZARVColeccionControlador *Coleccion() const;
    void Set_Coleccion(ZARVColeccionControlador *coleccion);

private:
    QObject *m_owner;
    int m_cod = 0;
    int m_puerto_serie = 0;
    int m_tiempo_pta_abierta = 0;
    QString m_tipo;
    QString m_descripcion;
    std::uint8_t m_direccion = 0;
    QPointer<ZARVColeccionControlador> m_coleccion;
    std::unique_ptr<ZARVComunicador> m_comunicador;
};
