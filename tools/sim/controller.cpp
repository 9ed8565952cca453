#include "controller.h"

#include <QJsonArray>

namespace kv::sim {

namespace {

constexpr std::uint8_t Ack = 0x06;

// The PC shows the door times as two hex digits; sending them packed
// decimal (12 s as 0x12) makes that text read as the time in seconds.
char packedDecimal(int v)
{
    return char(((v / 10) << 4) | (v % 10));
}

QString rangeError(const char *what, int lo, int hi)
{
    return QStringLiteral("%1 must be %2..%3").arg(QLatin1String(what)).arg(lo).arg(hi);
}

} // namespace

Controller::Controller(int address)
    : m_address(address)
    , m_masterWait(0)
{
}

bool Controller::validAddress(int address)
{
    return (address >= 1 && address <= 31) || address == 170;
}

QString Controller::setCapacity(int n)
{
    // The test reply carries the card count in 16 bits.
    if (n < 1 || n > 65535)
        return rangeError("capacity", 1, 65535);
    if (n < m_cards.size())
        return QStringLiteral("controller %1 holds %2 cards, more than %3").arg(m_address).arg(m_cards.size()).arg(n);
    m_capacity = n;
    return {};
}

QString Controller::setVersion(int v)
{
    if (v < 0 || v > 255)
        return rangeError("version", 0, 255);
    m_version = v;
    return {};
}

QString Controller::setState(int s)
{
    if (s < 0 || s > 255)
        return rangeError("state", 0, 255);
    m_state = s;
    return {};
}

QString Controller::setLockTime(int t)
{
    if (t < 1 || t > 99)
        return rangeError("lock", 1, 99);
    m_lock = t;
    return {};
}

QString Controller::setOpenTime(int t)
{
    if (t < 0 || t > 99)
        return rangeError("open", 0, 99);
    m_open = t;
    return {};
}

QString Controller::setMasterDelay(int ms)
{
    if (ms < 0 || ms > 600000)
        return rangeError("master-delay", 0, 600000);
    m_masterDelay = ms;
    return {};
}

bool Controller::store(const QByteArray &code)
{
    if (m_cards.contains(code))
        return true;
    if (m_cards.size() >= m_capacity)
        return false;
    m_cards.append(code);
    return true;
}

Controller::Reply Controller::handle(std::uint8_t command, const QByteArray &payload, bool *changed)
{
    *changed = false;
    switch (command) {
    case 26:
        return times(payload, changed);
    case 27:
        return test();
    case 29:
        return masterChange();
    case 34:
        // The block mark only tells the controller a burst has ended; the card is stored either way.
        if (payload.size() != 6)
            return {QByteArray(1, char(Nak))};
        return addCard(payload.mid(1), changed);
    case 65:
        return deleteCard(payload, changed);
    case 81:
        *changed = !m_cards.isEmpty();
        m_cards.clear();
        return {QByteArray(1, char(Ack))};
    case 97:
        return addCard(payload, changed);
    case 113:
        return readCard(payload);
    default:
        return {QByteArray(1, char(Nak))};
    }
}

Controller::Reply Controller::times(const QByteArray &payload, bool *changed)
{
    if (payload.size() != 2)
        return {QByteArray(1, char(Nak))};
    const int lock = static_cast<std::uint8_t>(payload.at(0));
    const int open = static_cast<std::uint8_t>(payload.at(1));
    if (lock < 1 || lock > 99 || open > 99)
        return {QByteArray(1, char(Nak))};
    *changed = lock != m_lock || open != m_open;
    m_lock = lock;
    m_open = open;
    return {QByteArray(1, char(Ack))};
}

Controller::Reply Controller::test() const
{
    QByteArray r;
    r.append(',').append(char(m_state)).append(packedDecimal(m_lock)).append(packedDecimal(m_open));
    r.append(char(m_version)).append(char(m_cards.size() >> 8)).append(char(m_cards.size() & 0xFF));
    return {r};
}

Controller::Reply Controller::masterChange()
{
    // A repeated request while the controller waits for the new master card
    // is swallowed: the one answer comes when the wait ends.
    if (!m_masterWait.hasExpired())
        return {{}, 0, true};
    m_masterWait.setRemainingTime(m_masterDelay);
    return {QByteArray("-\x01", 2), m_masterDelay};
}

Controller::Reply Controller::addCard(const QByteArray &code, bool *changed)
{
    if (code.size() != 5)
        return {QByteArray(1, char(Nak))};
    const qsizetype before = m_cards.size();
    if (!store(code))
        return {QByteArray(1, char(Nak))};
    *changed = m_cards.size() != before;
    return {QByteArray(1, char(Ack))};
}

Controller::Reply Controller::deleteCard(const QByteArray &code, bool *changed)
{
    if (code.size() != 5)
        return {QByteArray(1, char(Nak))};
    // Deleting a card that is not there succeeds: afterwards it is not there, which is what was asked.
    *changed = m_cards.removeAll(code) > 0;
    return {QByteArray(1, char(Ack))};
}

Controller::Reply Controller::readCard(const QByteArray &payload) const
{
    if (payload.size() != 2)
        return {QByteArray(1, char(Nak))};
    const int index = (static_cast<std::uint8_t>(payload.at(0)) << 8) | static_cast<std::uint8_t>(payload.at(1));
    if (index < 1 || index > m_cards.size())
        return {QByteArray(1, char(Nak))};
    return {QByteArray(1, '/') + m_cards.at(index - 1)};
}

QJsonObject Controller::toJson() const
{
    QJsonArray cards;
    for (const QByteArray &c : m_cards)
        cards.append(QString::fromLatin1(c.toHex().toUpper()));
    return QJsonObject{
        {QStringLiteral("address"), m_address},
        {QStringLiteral("capacity"), m_capacity},
        {QStringLiteral("version"), m_version},
        {QStringLiteral("state"), m_state},
        {QStringLiteral("lock"), m_lock},
        {QStringLiteral("open"), m_open},
        {QStringLiteral("masterDelay"), m_masterDelay},
        {QStringLiteral("cards"), cards},
    };
}

void Controller::fromJson(const QJsonObject &o)
{
    auto take = [&o](const char *key, auto setter) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isDouble())
            setter(v.toInt());
    };
    take("version", [this](int v) { setVersion(v); });
    take("state", [this](int v) { setState(v); });
    take("lock", [this](int v) { setLockTime(v); });
    take("open", [this](int v) { setOpenTime(v); });
    take("masterDelay", [this](int v) { setMasterDelay(v); });
    take("capacity", [this](int v) { setCapacity(v); });
    m_cards.clear();
    for (const QJsonValue &v : o.value(QStringLiteral("cards")).toArray()) {
        const QByteArray code = QByteArray::fromHex(v.toString().toLatin1());
        if (code.size() == 5 && !m_cards.contains(code))
            m_cards.append(code);
    }
    // A hand-edited file may list more cards than the capacity it states.
    if (m_cards.size() > m_capacity)
        m_capacity = int(m_cards.size());
}

} // namespace kv::sim
