#pragma once

#include <QByteArray>
#include <QObject>

#include <deque>
#include <functional>

class QTimer;

namespace kv::sim {

// Unsolicited frames waiting for the PC's ACK. One is on the line at a time
// (the line is half-duplex and the ACK names no frame); it goes out again every
// retryMs() (DefaultRetryMs unless set) until a lone ACK comes back, and is
// given up after MaxSends sends.
// Sends count only while the PC's port is open: while it is closed the event
// waits, as a controller keeps its events until someone listens.
class EventQueue : public QObject {
    Q_OBJECT
public:
    // Half a second: well above the few milliseconds a PC needs to answer,
    // short enough that a lost ACK costs the door little.
    static constexpr int DefaultRetryMs = 500;
    static constexpr int MaxSends = 10;

    struct Event {
        int address = 0;
        QByteArray data; // code, parameter, card bytes
        int sends = 0;
        quint64 id = 0;
    };

    // send(event, done) puts the frame on the wire and calls done(reachedThePc).
    using Sender = std::function<void(const Event &, std::function<void(bool)>)>;

    explicit EventQueue(Sender sender, QObject *parent = nullptr);

    void push(int address, const QByteArray &data);
    void acknowledged();
    void setLineOpen(bool open);
    // Events of a removed controller are never sent.
    void forget(int address);
    int pending() const { return int(m_events.size()); }
    int retryMs() const;
    void setRetryMs(int ms);

signals:
    void delivered(const kv::sim::EventQueue::Event &event);
    void givenUp(const kv::sim::EventQueue::Event &event);

private:
    void sendHead();
    void sent(quint64 id, bool reached);
    void retry();

    Sender m_sender;
    std::deque<Event> m_events;
    bool m_lineOpen = false;
    bool m_onWire = false; // the head is being written
    quint64 m_lastId = 0;
    QTimer *m_retry;
};

} // namespace kv::sim
