#include "wire.h"

#include "ptyport.h"

#include <QTimer>

namespace kv::sim {

Wire::Wire(PtyPort *port, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_timer(new QTimer(this))
{
    m_clock.start();
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setInterval(1);
    connect(m_timer, &QTimer::timeout, this, &Wire::tick);
}

void Wire::setPaced(bool on)
{
    m_paced = on;
    if (!on) {
        // Whatever is still on its way goes at once, in order.
        while (!m_queue.empty()) {
            Segment s = std::move(m_queue.front());
            m_queue.pop_front();
            advance(s, s.bytes.size());
        }
        m_timer->stop();
    }
}

void Wire::incoming(const QByteArray &bytes)
{
    if (!m_paced) {
        emit arrived(bytes);
        return;
    }
    Segment s;
    s.bytes = bytes;
    enqueue(std::move(s));
}

void Wire::send(const QByteArray &bytes, std::function<void(bool)> done)
{
    if (!m_paced) {
        const bool ok = m_port->write(bytes);
        if (done)
            done(ok);
        return;
    }
    Segment s;
    s.bytes = bytes;
    s.outbound = true;
    s.finished = std::move(done);
    enqueue(std::move(s));
}

void Wire::enqueue(Segment s)
{
    const qint64 now = m_clock.nsecsElapsed();
    s.startNs = std::max(now, m_busyUntilNs);
    m_busyUntilNs = s.startNs + s.bytes.size() * ByteNs;
    m_queue.push_back(std::move(s));
    if (!m_timer->isActive())
        m_timer->start();
}

void Wire::tick()
{
    const qint64 now = m_clock.nsecsElapsed();
    while (!m_queue.empty()) {
        Segment &s = m_queue.front();
        if (now < s.startNs)
            break;
        // A byte is on the far side once its last (stop) bit has gone.
        const qsizetype due = std::min<qsizetype>(s.bytes.size(), (now - s.startNs) / ByteNs);
        if (due > s.done) {
            // Taken off the queue first: delivering may queue a reply behind it.
            Segment copy = std::move(s);
            m_queue.pop_front();
            advance(copy, due);
            if (copy.done < copy.bytes.size()) {
                m_queue.push_front(std::move(copy));
                break;
            }
            continue;
        }
        break;
    }
    if (m_queue.empty())
        m_timer->stop();
}

void Wire::advance(Segment &s, qsizetype upTo)
{
    const QByteArray part = s.bytes.mid(s.done, upTo - s.done);
    s.done = upTo;
    if (s.outbound)
        s.ok = m_port->write(part) && s.ok;
    else
        emit arrived(part);
    if (s.done == s.bytes.size() && s.finished)
        s.finished(s.ok);
}

} // namespace kv::sim
