#include "describe.h"

namespace kv::sim::describe {

namespace {

int byteAt(const QByteArray &b, int i)
{
    return i < b.size() ? static_cast<std::uint8_t>(b.at(i)) : -1;
}

QString hex2(int v)
{
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

QString codeChar(int c)
{
    if (c >= 0x21 && c < 0x7F)
        return QStringLiteral("'%1'").arg(QLatin1Char(char(c)));
    return QStringLiteral("0x") + hex2(c);
}

} // namespace

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString card(const QByteArray &code)
{
    return QString::fromLatin1(code.toHex().toUpper());
}

QString request(std::uint8_t command, const QByteArray &p)
{
    const QString head = QStringLiteral("cmd %1 ").arg(command);
    switch (command) {
    case 26:
        return head + QStringLiteral("times lock=%1 open=%2").arg(byteAt(p, 0)).arg(byteAt(p, 1));
    case 27:
        return head + QStringLiteral("test");
    case 29:
        return head + QStringLiteral("master change");
    case 34:
        return head + QStringLiteral("load card %1%2").arg(card(p.mid(1)), byteAt(p, 0) == 1 ? QStringLiteral(" end-of-block") : QString());
    case 65:
        return head + QStringLiteral("delete card %1").arg(card(p));
    case 81:
        return head + QStringLiteral("erase all cards");
    case 97:
        return head + QStringLiteral("add card %1").arg(card(p));
    case 113:
        return head + QStringLiteral("read position %1").arg((byteAt(p, 0) << 8) | byteAt(p, 1));
    default:
        return head + QStringLiteral("unknown, payload %1").arg(hex(p));
    }
}

QString reply(std::uint8_t command, const QByteArray &d)
{
    const int code = byteAt(d, 0);
    switch (code) {
    case 0x06:
        return QStringLiteral("ACK");
    case 0x15:
        return QStringLiteral("NAK (refused)");
    case ',':
        return QStringLiteral("test state=%1 lock=%2 open=%3 version=%4 cards=%5")
            .arg(byteAt(d, 1)).arg(hex2(byteAt(d, 2)), hex2(byteAt(d, 3))).arg(byteAt(d, 4))
            .arg((byteAt(d, 5) << 8) | byteAt(d, 6));
    case '-':
        return QStringLiteral("master changed (%1)").arg(hex2(byteAt(d, 1)));
    case '/':
        return QStringLiteral("card %1").arg(card(d.mid(1)));
    case '*':
    case '1':
    case '5':
    case '7':
    case 'E':
        break;
    default:
        if (command != 0)
            return QStringLiteral("code %1 %2").arg(codeChar(code), hex(d.mid(1)));
        break;
    }
    QString t = QStringLiteral("event %1 param %2").arg(codeChar(code), hex2(byteAt(d, 1)));
    if (d.size() > 2)
        t += QStringLiteral(" card %1").arg(card(d.mid(2)));
    return t;
}

} // namespace kv::sim::describe
