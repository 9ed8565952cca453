#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

#include <deque>
#include <functional>

class QTimer;

namespace kv::sim {

class PtyPort;

// The RS-485 pair between the PC and the controllers. Unpaced, bytes pass at
// pty speed. Paced, every byte takes its real time on a half-duplex 9600 8E2
// line (12 bits, 1.25 ms): a request is taken in only when its last byte has
// crossed, and a reply waits for the wire to be free and then leaves byte by byte.
class Wire : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 ByteNs = 1250000;

    explicit Wire(PtyPort *port, QObject *parent = nullptr);

    void setPaced(bool on);
    bool paced() const { return m_paced; }

    // Bytes the PC wrote; they come out of arrived() once they have crossed.
    void incoming(const QByteArray &bytes);
    // Bytes for the PC; done(written) runs when the last byte is out or was lost.
    void send(const QByteArray &bytes, std::function<void(bool)> done = {});

signals:
    void arrived(const QByteArray &bytes);

private:
    struct Segment {
        QByteArray bytes;
        bool outbound = false;
        qint64 startNs = 0;
        qsizetype done = 0;
        bool ok = true;
        std::function<void(bool)> finished;
    };

    void enqueue(Segment s);
    void tick();
    // Moves the front segment on to byte count upTo.
    void advance(Segment &s, qsizetype upTo);

    PtyPort *m_port;
    bool m_paced = false;
    QElapsedTimer m_clock;
    qint64 m_busyUntilNs = 0;
    std::deque<Segment> m_queue;
    QTimer *m_timer;
};

} // namespace kv::sim
