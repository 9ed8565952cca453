#include "link/dornoprotocolo.h"

#include <stdexcept>

using namespace dorno;

namespace {

void Poner(std::vector<std::uint8_t> &trama, std::uint8_t b)
{
    trama.push_back(b);
    if (b == DLE)
        trama.push_back(DLE);
}

} // namespace

std::vector<std::uint8_t> TDORNOProtocolo::Construir_Trama(std::uint8_t destino, std::uint8_t origen,
                                                           std::uint8_t comando, const std::vector<std::uint8_t> &datos)
{
    if (datos.size() > static_cast<std::size_t>(MAX_DATOS))
        throw std::length_error("payload above 255 bytes");
    std::vector<std::uint8_t> trama;
    trama.reserve(2 * (datos.size() + 4) + 4);
    trama.push_back(DLE);
    trama.push_back(STX);
    std::uint8_t checksum = destino ^ origen ^ comando;
    Poner(trama, destino);
    Poner(trama, origen);
    Poner(trama, comando);
    for (std::uint8_t b : datos) {
        checksum ^= b;
        Poner(trama, b);
    }
    Poner(trama, checksum);
    trama.push_back(DLE);
    trama.push_back(ETX);
    return trama;
}

bool TDORNOProtocolo::Es_Respuesta_Esperada(std::uint8_t comando, std::uint8_t codigo)
{
    switch (comando) {
    case 26: case 34: case 65: case 81: case 85: case 97:
        return codigo == ACK;
    case 27:
        return codigo == ',';
    case 29:
        return codigo == '-';
    case 37:
        return codigo == '&';
    case 113:
        return codigo == '/';
    default:
        return false;
    }
}

bool TDORNOProtocolo::Necesita_ACK(std::uint8_t codigo)
{
    return codigo == '*' || codigo == '1' || codigo == '5' || codigo == '7' || codigo == 'E';
}

TDORNOProtocolo::TDORNOProtocolo(std::uint8_t tar)
    : m_tar(tar)
{
}

void TDORNOProtocolo::Comenzar_Lectura()
{
    m_lectura_en_reposo = Reposo();
    if (m_lectura_en_reposo)
        Vaciar_Registro();
}

bool TDORNOProtocolo::Terminar_Lectura(const std::uint8_t *lectura, std::size_t n)
{
    // Only a lone 0x06 that arrived between frames is a bare ACK. Inside a
    // frame a data byte 0x06 may well arrive alone in its read (bytes come one
    // by one at wire speed); taking it for an ACK would end the exchange with
    // a reply that never came.
    if (n == 0 || lectura[0] != ACK || (n > 1 && lectura[1] != RELLENO) || !m_lectura_en_reposo)
        return false;
    Vaciar_Registro();
    m_registro[0] = MARCA_ACK;
    m_registro[1] = ACK;
    return true;
}

void TDORNOProtocolo::Nueva_Trama()
{
    m_estado = Estado::Primera_Direccion;
    m_cuenta = 0;
    m_checksum = 0;
    m_escape = false;
}

bool TDORNOProtocolo::Anyadir_Dato(std::uint8_t b)
{
    if (m_cuenta >= static_cast<std::size_t>(MAX_DATOS)) {
        // The count is one byte wide: a longer frame cannot be held and is dropped.
        m_estado = Estado::Reposo;
        return false;
    }
    m_datos[m_cuenta++] = b;
    m_checksum ^= b;
    m_escape = false;
    m_estado = Estado::Datos;
    return true;
}

// The rule of `estado` for a byte that is not a DLE opening an escape.
void TDORNOProtocolo::En_Estado(Estado estado, std::uint8_t b)
{
    switch (estado) {
    case Estado::Primera_Direccion:
        if (b == m_tar) {
            m_checksum = b;
            m_estado = Estado::Direccion_Origen;
        } else {
            m_estado = Estado::Reposo;
        }
        break;
    case Estado::Direccion_Origen:
        m_remitente = b;
        m_registro[0] = b;
        m_checksum ^= b;
        m_estado = Estado::Datos;
        break;
    case Estado::Datos:
        Anyadir_Dato(b);
        break;
    default:
        m_estado = Estado::Reposo;
        break;
    }
}

TDORNOProtocolo::Paso TDORNOProtocolo::Recibir_Byte(std::uint8_t b)
{
    Paso paso;
    switch (m_estado) {
    case Estado::Reposo:
        if (b == DLE)
            m_estado = Estado::Tras_DLE;
        break;
    case Estado::Tras_DLE:
        if (b == STX)
            Nueva_Trama();
        else
            m_estado = Estado::Reposo;
        break;
    case Estado::Primera_Direccion:
    case Estado::Direccion_Origen:
    case Estado::Datos:
        if (b == DLE) {
            m_retorno = m_estado;
            m_estado = Estado::Escape;
        } else {
            En_Estado(m_estado, b);
        }
        break;
    case Estado::Escape:
        if (b == STX) {
            Nueva_Trama();
        } else if (b == ETX) {
            Fin_Trama(paso);
        } else if (b == DLE) {
            En_Estado(m_retorno, b);
            if (m_retorno == Estado::Datos && m_estado == Estado::Datos)
                m_escape = true;
        } else {
            // A DLE followed by anything else: the DLE was a data byte that
            // the sender failed to double.
            if (Anyadir_Dato(DLE))
                Anyadir_Dato(b);
        }
        break;
    }
    return paso;
}

void TDORNOProtocolo::Fin_Trama(Paso &paso)
{
    m_estado = Estado::Reposo;
    // DLE ETX straight after an address byte, or with not even a checksum,
    // is a broken frame: the running checksum would be that of an older one.
    if (m_retorno != Estado::Datos || m_cuenta == 0)
        return;
    // A checksum byte that arrived as a doubled DLE is taken untested. The
    // link has always accepted such frames and controllers in the field may
    // depend on it, so this stays.
    if (!m_escape && m_checksum != 0)
        return;

    const std::size_t n = m_cuenta - 1; // the checksum is not kept
    m_codigo = n > 0 ? m_datos[0] : RELLENO;
    m_registro[0] = m_remitente;
    if (m_codigo != 0x01) {
        for (std::size_t i = 0; i < n; ++i)
            m_registro[1 + i] = m_datos[i];
        for (std::size_t i = 1 + n; i < m_registro.size(); ++i)
            m_registro[i] = RELLENO;
    }
    paso.trama = true;
    paso.ack = Necesita_ACK(m_codigo);
}
