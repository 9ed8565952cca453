#pragma once

#include <array>
#include <cstdint>

// The frame record of the reader link: byte 0 the sender address (0xAA after a
// lone ACK), byte 1 the reply or event code, then the data bytes, and 0xFE in
// every unused byte. Readers stop at the first 0xFE, so a data byte that really
// is 0xFE ends the useful content early; the controllers never send one in the
// positions that matter.
using Trama_GenDorno = std::array<std::uint8_t, 513>;

namespace dorno {

inline constexpr std::uint8_t DLE = 0x10;
inline constexpr std::uint8_t STX = 0x02;
inline constexpr std::uint8_t ETX = 0x03;
inline constexpr std::uint8_t ACK = 0x06;
inline constexpr std::uint8_t RELLENO = 0xFE;
inline constexpr std::uint8_t MARCA_ACK = 0xAA;
inline constexpr std::uint8_t DIFUSION = 0x80;
inline constexpr std::uint8_t TAR_PC = 0x81;
inline constexpr int MAX_DATOS = 255;

inline Trama_GenDorno Trama_Vacia()
{
    Trama_GenDorno t;
    t.fill(RELLENO);
    return t;
}

} // namespace dorno
