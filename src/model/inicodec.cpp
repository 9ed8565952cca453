#include "model/inicodec.h"

#include <array>
#include <cstring>

namespace kv::Cp1252 {
namespace {

// 0x80..0x9F: the only range where the code page differs from Latin-1. The five
// unassigned bytes map to the C1 controls of the same value, as Windows' own
// conversion does, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t toUnicode(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char16_t(b);
}

char fromUnicode(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c)
            return char(0x80 + i);
    return '?';
}

} // namespace

QString decode(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

QString decode(const char *bytes)
{
    return bytes ? decode(QByteArray::fromRawData(bytes, qsizetype(std::strlen(bytes)))) : QString();
}

QByteArray encode(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one character outside the code page, one substitute
        out.append(c.isSurrogate() ? '?' : fromUnicode(c.unicode()));
    }
    return out;
}

} // namespace kv::Cp1252
