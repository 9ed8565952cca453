#include "eventqueue.h"

#include <QTimer>

namespace kv::sim {

EventQueue::EventQueue(Sender sender, QObject *parent)
    : QObject(parent)
    , m_sender(std::move(sender))
    , m_retry(new QTimer(this))
{
    m_retry->setSingleShot(true);
    m_retry->setInterval(DefaultRetryMs);
    connect(m_retry, &QTimer::timeout, this, &EventQueue::retry);
}

int EventQueue::retryMs() const
{
    return m_retry->interval();
}

void EventQueue::setRetryMs(int ms)
{
    m_retry->setInterval(ms);
}

void EventQueue::push(int address, const QByteArray &data)
{
    m_events.push_back(Event{address, data, 0, ++m_lastId});
    if (m_events.size() == 1)
        sendHead();
}

void EventQueue::acknowledged()
{
    // An ACK while the head is still being written belongs to an earlier frame.
    if (m_events.empty() || m_events.front().sends == 0)
        return;
    const Event done = m_events.front();
    m_events.pop_front();
    m_retry->stop();
    emit delivered(done);
    if (!m_onWire)
        sendHead();
}

void EventQueue::setLineOpen(bool open)
{
    m_lineOpen = open;
    if (open && !m_retry->isActive())
        sendHead();
}

void EventQueue::forget(int address)
{
    const bool headGoes = !m_events.empty() && m_events.front().address == address;
    std::erase_if(m_events, [address](const Event &e) { return e.address == address; });
    if (headGoes) {
        m_retry->stop();
        if (!m_onWire)
            sendHead();
    }
}

void EventQueue::sendHead()
{
    if (m_events.empty() || !m_lineOpen || m_onWire)
        return;
    m_onWire = true;
    const quint64 id = m_events.front().id;
    m_sender(m_events.front(), [this, id](bool reached) { sent(id, reached); });
}

void EventQueue::sent(quint64 id, bool reached)
{
    m_onWire = false;
    // The head may have been acknowledged or forgotten while it was being written.
    if (m_events.empty() || m_events.front().id != id) {
        sendHead();
        return;
    }
    if (reached)
        ++m_events.front().sends;
    m_retry->start();
}

void EventQueue::retry()
{
    if (m_events.empty())
        return;
    if (m_events.front().sends >= MaxSends) {
        const Event dropped = m_events.front();
        m_events.pop_front();
        emit givenUp(dropped);
    }
    sendHead();
}

} // namespace kv::sim
