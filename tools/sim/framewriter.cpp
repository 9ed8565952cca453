#include "framewriter.h"

namespace kv::sim {

std::uint8_t FrameWriter::checksum(std::uint8_t to, std::uint8_t from, const QByteArray &data)
{
    std::uint8_t sum = to ^ from;
    for (char c : data)
        sum ^= static_cast<std::uint8_t>(c);
    return sum;
}

QByteArray FrameWriter::encode(std::uint8_t to, std::uint8_t from, const QByteArray &data, bool corruptSum)
{
    std::uint8_t sum = checksum(to, from, data);
    if (corruptSum) {
        const std::uint8_t good = sum;
        sum = good ^ 0x01;
        if (sum == Dle)
            sum = good ^ 0x02;
    }

    QByteArray body;
    body.reserve(data.size() + 3);
    body.append(char(to)).append(char(from)).append(data).append(char(sum));

    QByteArray out;
    out.reserve(body.size() * 2 + 4);
    out.append(char(Dle)).append(char(Stx));
    for (char c : body) {
        out.append(c);
        if (static_cast<std::uint8_t>(c) == Dle)
            out.append(c);
    }
    out.append(char(Dle)).append(char(Etx));
    return out;
}

} // namespace kv::sim
