#include "wireframe.h"

namespace wireframe {

QByteArray build(std::uint8_t to, std::uint8_t from, const QByteArray &data)
{
    QByteArray body;
    body.append(char(to)).append(char(from)).append(data);
    char sum = 0;
    for (char c : body)
        sum ^= c;
    body.append(sum);
    QByteArray out("\x10\x02", 2);
    for (char c : body) {
        out.append(c);
        if (c == '\x10')
            out.append(c);
    }
    return out.append("\x10\x03", 2);
}

QByteArray hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

} // namespace wireframe
