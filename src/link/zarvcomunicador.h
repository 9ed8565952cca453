#pragma once

#include "link/tdorno.h"
#include "link/teventoinformacion.h"
#include "link/tramagendorno.h"
#include "link/ttestinformacion.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

// The command layer for one door controller: one operation per controller
// command, each opening the port, running one exchange with up to three sends,
// closing the port and judging the reply. Controller answers are never errors:
// a command returns false, the empty text or Correcto 0. A port that cannot be
// opened raises "Error en el puerto COM<n>"; a line failure raises EComPort; a
// command asked while this controller's link still waits for a reply (from a
// timer running inside that wait) raises EOcupado and disturbs nothing.
class ZARVComunicador {
public:
    using TIncidenciaEvent = std::function<void(ZARVComunicador *Sender, const TEventoInformacion &Informacion)>;

    // The link is created with `owner` as its owner, which frees it; without
    // an owner this object frees it. `pausa` replaces the pauses before the
    // commands, which otherwise keep the event loop running (tests only).
    explicit ZARVComunicador(QObject *owner = nullptr, TDORNO::TPausa pausa = {});
    ~ZARVComunicador();
    ZARVComunicador(const ZARVComunicador &) = delete;
    ZARVComunicador &operator=(const ZARVComunicador &) = delete;

    std::uint8_t Direccion() const { return m_direccion; }
    // From a controller record: address 0 travels on the line as 170.
    void SetDireccion(int direccion);
    static std::uint8_t Direccion_Bus(int direccion);

    // Serial port number as decimal text ("3" for COM3).
    QString Puerto_Serie;
    // Raised once per decoded incidence while listening.
    TIncidenciaEvent OnIncidencia;

    // The value last written, not kept in step with the port.
    bool Conectado() const { return m_conectado; }
    void SetConectado(bool valor);
    bool Conectar();
    void Desconectar();
    void Activar_Incidencias();
    void Desactivar_Incidencias();

    // Command 26; false without sending when a time lies outside 0..99.
    bool Enviar_Tiempos(int tiempo_cerradura, int tiempo_puerta_abierta, std::uint8_t direccion);
    // Command 27.
    void Test_Lector(std::uint8_t direccion, TTest_Informacion &info);
    // Command 29, answered after the master card was presented (5500 ms wait).
    bool Cambiar_Master(std::uint8_t direccion);
    // Command 34: one card of a complete list; fin_bloque marks the last card
    // before the destination changes.
    bool Cargar_Tarjeta(const QString &codigo, bool fin_bloque, std::uint8_t direccion);
    // Command 65.
    bool Borrar_Tarjeta(const QString &codigo, std::uint8_t direccion);
    // Command 81.
    bool Vaciar_Tarjetas(std::uint8_t direccion);
    // Command 97.
    bool Anyadir_Tarjeta(const QString &codigo, std::uint8_t direccion);
    // Command 113: the code at a card position (from 1); empty when none.
    QString Leer_Tarjeta(std::uint16_t indice, std::uint8_t direccion);

    // A card code as five bytes, two digits per byte, after left-padding to
    // ten characters. BCD takes decimal digits only; Hex takes 'A'..'F' too.
    static QByteArray Codigo_a_BCD(const QString &codigo);
    static QByteArray Codigo_a_Hex(const QString &codigo);
    // Record bytes from `desde` up to the first 0xFE as uppercase hex pairs.
    static QString Hex_Desde(const Trama_GenDorno &trama, int desde);

    static TEventoInformacion Decodificar(const Trama_GenDorno &trama, const QString &puerto);
    // Handler of the link's incidence notice.
    void Decodificar_Incidencia(QObject *Sender, const Trama_GenDorno &trama);

    TDORNO *Enlace() const { return m_enlace; }

    static constexpr int VELOCIDAD_MS = 350;

private:
    Trama_GenDorno Comando(int pausa, std::uint8_t codigo, const QByteArray &datos, std::uint8_t direccion);
    TDORNO &Link() const;
    void Pausa(int ms);

    QPointer<TDORNO> m_enlace;
    bool m_propio = false;
    bool m_conectado = false;
    std::uint8_t m_direccion = 170;
    TDORNO::TPausa m_pausa;
};
