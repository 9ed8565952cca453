#pragma once

#include <QByteArray>
#include <cstdint>

namespace kv::sim {

// Builds frames as a controller puts them on the wire: DLE STX, receiver,
// sender, data, XOR checksum, DLE ETX, with every 0x10 between STX and the
// closing DLE ETX sent twice.
class FrameWriter {
public:
    static constexpr std::uint8_t Dle = 0x10;
    static constexpr std::uint8_t Stx = 0x02;
    static constexpr std::uint8_t Etx = 0x03;
    static constexpr std::uint8_t Ack = 0x06;

    // XOR of receiver, sender and data: the value that makes the whole frame XOR to 0.
    static std::uint8_t checksum(std::uint8_t to, std::uint8_t from, const QByteArray &data);

    // corruptSum sends a checksum that is wrong and is never 0x10, because a
    // checksum that arrives as a doubled DLE is taken without a test by the PC.
    static QByteArray encode(std::uint8_t to, std::uint8_t from, const QByteArray &data, bool corruptSum = false);
};

} // namespace kv::sim
