#include "line.h"

#include "describe.h"
#include "framelog.h"
#include "framewriter.h"
#include "ptyport.h"
#include "wire.h"

#include <QJsonArray>
#include <QTimer>

namespace kv::sim {

Line::Line(const QString &name, FrameLog *log, const StateFile &state, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_log(log)
    , m_state(state)
    , m_port(new PtyPort(this))
    , m_wire(new Wire(m_port, this))
    , m_events(new EventQueue([this](const EventQueue::Event &e, std::function<void(bool)> done) {
          sendEvent(e, std::move(done));
      }, this))
    , m_saveTimer(new QTimer(this))
{
    connect(m_port, &PtyPort::received, m_wire, &Wire::incoming);
    connect(m_wire, &Wire::arrived, this, &Line::onArrived);
    connect(m_port, &PtyPort::peerOpened, this, [this] {
        m_log->note(QStringLiteral("the PC opened the port"));
        m_events->setLineOpen(true);
    });
    connect(m_port, &PtyPort::peerClosed, this, [this] {
        m_log->note(QStringLiteral("the PC closed the port"));
        m_events->setLineOpen(false);
    });
    connect(m_events, &EventQueue::delivered, this, [this](const EventQueue::Event &e) {
        m_log->note(QStringLiteral("event of %1 acknowledged after %2 send(s)").arg(e.address).arg(e.sends));
    });
    connect(m_events, &EventQueue::givenUp, this, [this](const EventQueue::Event &e) {
        m_log->note(QStringLiteral("event of %1 given up: no ACK after %2 sends").arg(e.address).arg(e.sends));
    });

    // A bulk load writes thousands of cards one by one; one save per burst is enough.
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(200);
    connect(m_saveTimer, &QTimer::timeout, this, [this] {
        QString error;
        if (!saveNow(&error))
            m_log->note(error);
    });
}

Line::~Line() = default;

bool Line::open(QString *error)
{
    if (m_state.enabled()) {
        QJsonObject saved;
        if (!m_state.load(&saved, error))
            return false;
        for (const QJsonValue &v : saved.value(QStringLiteral("controllers")).toArray()) {
            const QJsonObject o = v.toObject();
            const int address = o.value(QStringLiteral("address")).toInt(-1);
            if (!Controller::validAddress(address) || controller(address))
                continue;
            add(address)->fromJson(o);
        }
    }
    return m_port->open(error);
}

QString Line::slavePath() const
{
    return m_port->slavePath();
}

Controller *Line::controller(int address) const
{
    const auto it = m_controllers.find(address);
    return it == m_controllers.end() ? nullptr : it->second.get();
}

QList<Controller *> Line::controllers() const
{
    QList<Controller *> out;
    for (const auto &[address, c] : m_controllers)
        out.append(c.get());
    return out;
}

Controller *Line::add(int address)
{
    if (!Controller::validAddress(address) || controller(address))
        return nullptr;
    auto c = std::make_unique<Controller>(address);
    Controller *raw = c.get();
    m_controllers.emplace(address, std::move(c));
    changed();
    return raw;
}

bool Line::remove(int address)
{
    if (m_controllers.erase(address) == 0)
        return false;
    m_events->forget(address);
    changed();
    return true;
}

void Line::changed()
{
    if (m_state.enabled())
        m_saveTimer->start();
}

bool Line::saveNow(QString *error)
{
    m_saveTimer->stop();
    return !m_state.enabled() || m_state.save(snapshot(), error);
}

QJsonObject Line::snapshot() const
{
    QJsonArray list;
    for (const auto &[address, c] : m_controllers)
        list.append(c->toJson());
    return QJsonObject{{QStringLiteral("line"), m_name}, {QStringLiteral("controllers"), list}};
}

void Line::setPaced(bool on)
{
    m_wire->setPaced(on);
}

bool Line::paced() const
{
    return m_wire->paced();
}

void Line::pushEvent(int address, const QByteArray &data)
{
    m_events->push(address, data);
}

void Line::onArrived(const QByteArray &bytes)
{
    for (const LineItem &item : m_reader.feed(bytes)) {
        switch (item.kind) {
        case LineItem::Frame:
            ++m_stats.framesIn;
            onFrame(item);
            break;
        case LineItem::Ack:
            ++m_stats.acksIn;
            if (m_dropAcks != 0) {
                // Noise ate it: the controller never saw it and sends its event again.
                if (m_dropAcks > 0)
                    --m_dropAcks;
                ++m_stats.acksDropped;
                m_log->write("in", describe::hex(item.raw), QStringLiteral("ACK, dropped (fault)"));
                break;
            }
            m_log->write("in", describe::hex(item.raw), QStringLiteral("ACK"));
            m_events->acknowledged();
            break;
        case LineItem::BadFrame:
            ++m_stats.badFrames;
            m_log->write("in", describe::hex(item.raw), QStringLiteral("dropped: ") + QString::fromLatin1(item.reason));
            break;
        case LineItem::Garbage:
            m_stats.garbageBytes += item.raw.size();
            m_log->write("in", describe::hex(item.raw), QStringLiteral("noise"));
            break;
        }
    }
}

Controller *Line::answerer(std::uint8_t to) const
{
    if (to != Broadcast)
        return controller(to);
    // One controller answers a broadcast, so that replies never collide: the
    // one at 170 (address 0 of the database) when present, else the lowest.
    if (Controller *c = controller(170))
        return c;
    return m_controllers.empty() ? nullptr : m_controllers.begin()->second.get();
}

void Line::onFrame(const LineItem &frame)
{
    const QString meaning = QStringLiteral("to %1 from %2 %3")
                                .arg(frame.to).arg(frame.from).arg(describe::request(frame.command, frame.payload));
    Controller *target = answerer(frame.to);
    if (!target) {
        m_log->write("in", describe::hex(frame.raw), meaning + QStringLiteral(" (no controller here)"));
        return;
    }
    m_log->write("in", describe::hex(frame.raw), meaning);
    m_pcAddress = frame.from;

    // Every controller carries out a broadcast; only the answerer replies.
    bool anyChange = false;
    Controller::Reply reply;
    for (const auto &[address, c] : m_controllers) {
        if (frame.to != Broadcast && c.get() != target)
            continue;
        bool changed = false;
        Controller::Reply r = c->handle(frame.command, frame.payload, &changed);
        anyChange = anyChange || changed;
        if (c.get() == target)
            reply = r;
    }
    if (anyChange)
        changed();
    answer(*target, frame, reply);
}

void Line::answer(const Controller &c, const LineItem &request, Controller::Reply reply)
{
    const Fault &fault = c.fault();
    if (reply.none)
        return;
    if (fault.kind == Fault::Silence) {
        m_log->note(QStringLiteral("%1 stays silent (fault)").arg(c.address()));
        return;
    }
    if (fault.kind == Fault::Echo)
        transmit(request.raw, QStringLiteral("echo of the PC's frame (fault)"));

    QByteArray bytes;
    QString meaning;
    switch (fault.kind) {
    case Fault::Ack:
        bytes = QByteArray(1, char(FrameWriter::Ack));
        meaning = QStringLiteral("lone ACK from %1 (fault)").arg(c.address());
        break;
    case Fault::Refuse:
        reply.data = QByteArray(1, char(Controller::Nak));
        [[fallthrough]];
    default:
        bytes = FrameWriter::encode(request.from, std::uint8_t(c.address()), reply.data, fault.kind == Fault::BadSum);
        meaning = QStringLiteral("to %1 from %2 %3").arg(request.from).arg(c.address()).arg(describe::reply(request.command, reply.data));
        if (fault.kind == Fault::BadSum)
            meaning += QStringLiteral(", bad checksum (fault)");
        else if (fault.kind == Fault::Refuse)
            meaning += QStringLiteral(" (fault)");
        break;
    }

    const int delay = reply.delayMs + (fault.kind == Fault::Slow ? fault.slowMs : 0);
    if (delay <= 0) {
        transmit(bytes, meaning);
        return;
    }
    const int address = c.address();
    QTimer::singleShot(delay, this, [this, address, bytes, meaning] {
        // A controller removed meanwhile has nobody left to answer.
        if (controller(address))
            transmit(bytes, meaning);
    });
}

void Line::transmit(const QByteArray &bytes, const QString &meaning, std::function<void(bool)> done)
{
    // Logged before the first byte goes, so that whoever reads the reply can
    // already find it in the log.
    ++m_stats.framesOut;
    m_log->write("out", describe::hex(bytes), meaning);
    m_wire->send(bytes, [this, done = std::move(done)](bool reached) {
        if (!reached) {
            ++m_stats.lostFrames;
            m_log->note(QStringLiteral("the frame above was lost: the PC's port is closed"));
        }
        if (done)
            done(reached);
    });
}

void Line::sendEvent(const EventQueue::Event &e, std::function<void(bool)> done)
{
    const Controller *c = controller(e.address);
    const bool badSum = c && c->fault().kind == Fault::BadSum;
    const QByteArray bytes = FrameWriter::encode(m_pcAddress, std::uint8_t(e.address), e.data, badSum);
    QString meaning = QStringLiteral("to %1 from %2 %3, send %4")
                          .arg(m_pcAddress).arg(e.address).arg(describe::reply(0, e.data)).arg(e.sends + 1);
    if (badSum)
        meaning += QStringLiteral(", bad checksum (fault)");
    transmit(bytes, meaning, std::move(done));
}

} // namespace kv::sim
