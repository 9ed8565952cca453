#pragma once

#include "link/tramagendorno.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Frame building and the receive state machine of the reader link, without a
// port, timers or sleeping, so that every byte sequence can be checked alone.
// The owner feeds each read from the port through Comenzar_Lectura,
// Recibir_Byte per byte and Terminar_Lectura, as the bytes arrive, and carries
// out what each step reports: taking an accepted frame, an acknowledgement.
class TDORNOProtocolo {
public:
    enum class Estado : std::uint8_t { Reposo, Tras_DLE, Primera_Direccion, Direccion_Origen, Datos, Escape };

    struct Paso {
        // A frame passed its checks: Remitente() is its sender, Codigo() its
        // first data byte, Registro() holds it (except for code 0x01).
        bool trama = false;
        // The accepted frame is an event or a request that the controller
        // repeats until it sees an ACK: 0x06 goes back 5 ms later.
        bool ack = false;
    };

    // DLE STX, destination, source, command, payload, XOR checksum, DLE ETX,
    // every 0x10 between STX and DLE ETX doubled. Throws std::length_error for
    // a payload above 255 bytes, which the one-byte count cannot carry.
    static std::vector<std::uint8_t> Construir_Trama(std::uint8_t destino, std::uint8_t origen, std::uint8_t comando,
                                                     const std::vector<std::uint8_t> &datos);
    static bool Es_Respuesta_Esperada(std::uint8_t comando, std::uint8_t codigo);
    static bool Necesita_ACK(std::uint8_t codigo);

    explicit TDORNOProtocolo(std::uint8_t tar = dorno::TAR_PC);

    void Establecer_TAR(std::uint8_t tar) { m_tar = tar; }
    std::uint8_t TAR() const { return m_tar; }

    // Start of one read: an idle receiver starts from an empty record.
    void Comenzar_Lectura();
    Paso Recibir_Byte(std::uint8_t b);
    // End of one read. True when the read was a lone ACK that arrived outside
    // a frame; the record then reads 0xAA 0x06.
    bool Terminar_Lectura(const std::uint8_t *lectura, std::size_t n);

    const Trama_GenDorno &Registro() const { return m_registro; }
    void Vaciar_Registro() { m_registro.fill(dorno::RELLENO); }

    // Sender of the last frame whose sender byte was taken (a lone ACK leaves
    // it as it was, so a lone ACK is attributed to the frame before it).
    std::uint8_t Remitente() const { return m_remitente; }
    // First data byte of the last accepted frame; 0xFE when it had none.
    std::uint8_t Codigo() const { return m_codigo; }
    Estado Estado_Actual() const { return m_estado; }
    bool Reposo() const { return m_estado == Estado::Reposo; }
    std::size_t Num_Datos() const { return m_cuenta; }

private:
    void Nueva_Trama();
    bool Anyadir_Dato(std::uint8_t b);
    void En_Estado(Estado estado, std::uint8_t b);
    void Fin_Trama(Paso &paso);

    std::uint8_t m_tar;
    Estado m_estado = Estado::Reposo;
    Estado m_retorno = Estado::Reposo;
    std::uint8_t m_datos[dorno::MAX_DATOS] = {};
    std::size_t m_cuenta = 0;
    std::uint8_t m_checksum = 0;
    bool m_escape = false;
    std::uint8_t m_remitente = dorno::RELLENO;
    std::uint8_t m_codigo = dorno::RELLENO;
    bool m_lectura_en_reposo = true;
    Trama_GenDorno m_registro = dorno::Trama_Vacia();
};
