#pragma once

#include "fault.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <cstdint>

namespace kv::sim {

// One emulated door controller: its card memory by position, door times,
// state code, firmware version and the behaviour of its command set.
class Controller {
public:
    static constexpr std::uint8_t Nak = 0x15; // every refusal answers with this code
    static constexpr int DefaultCapacity = 2000;
    static constexpr int DefaultVersion = 21;
    static constexpr int DefaultState = 2;   // door closed
    static constexpr int DefaultLock = 5;
    static constexpr int DefaultOpen = 20;
    static constexpr int DefaultMasterDelay = 1000;

    // A controller's answer to one request: the reply's data bytes (code
    // first), when to send it, or nothing at all.
    struct Reply {
        QByteArray data;
        int delayMs = 0;
        bool none = false;
    };

    explicit Controller(int address);

    // 1..31 and 170: the controller stored at address 0 answers to 170.
    static bool validAddress(int address);

    int address() const { return m_address; }
    int capacity() const { return m_capacity; }
    int version() const { return m_version; }
    int state() const { return m_state; }
    int lockTime() const { return m_lock; }
    int openTime() const { return m_open; }
    int masterDelay() const { return m_masterDelay; }
    const Fault &fault() const { return m_fault; }
    const QList<QByteArray> &cards() const { return m_cards; }

    // Setters check their range and return an error text, empty on success.
    QString setCapacity(int n);
    QString setVersion(int v);
    QString setState(int s);
    QString setLockTime(int t);
    QString setOpenTime(int t);
    QString setMasterDelay(int ms);
    void setFault(const Fault &f) { m_fault = f; }

    // Appends the 5-byte codes that are not stored yet; false when memory is full.
    bool store(const QByteArray &code);
    void clear() { m_cards.clear(); }

    // Runs one request and returns the answer without any fault applied.
    // changed is set when the request altered what the state file keeps.
    Reply handle(std::uint8_t command, const QByteArray &payload, bool *changed);

    QJsonObject toJson() const;
    // Reads what toJson wrote; fields missing or out of range keep their defaults.
    void fromJson(const QJsonObject &o);

private:
    Reply times(const QByteArray &payload, bool *changed);
    Reply test() const;
    Reply masterChange();
    Reply addCard(const QByteArray &code, bool *changed);
    Reply deleteCard(const QByteArray &code, bool *changed);
    Reply readCard(const QByteArray &payload) const;

    int m_address;
    int m_capacity = DefaultCapacity;
    int m_version = DefaultVersion;
    int m_state = DefaultState;
    int m_lock = DefaultLock;
    int m_open = DefaultOpen;
    int m_masterDelay = DefaultMasterDelay;
    QDeadlineTimer m_masterWait; // running while a master-card change waits for its card
    Fault m_fault;
    QList<QByteArray> m_cards; // position 1 is index 0; always dense
};

} // namespace kv::sim
