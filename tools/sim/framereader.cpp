#include "framereader.h"

#include "framewriter.h"

namespace kv::sim {

namespace {
constexpr std::uint8_t Dle = FrameWriter::Dle;
constexpr std::uint8_t Stx = FrameWriter::Stx;
constexpr std::uint8_t Etx = FrameWriter::Etx;
constexpr std::uint8_t Ack = FrameWriter::Ack;

LineItem item(LineItem::Kind kind, const QByteArray &raw)
{
    LineItem i;
    i.kind = kind;
    i.raw = raw;
    return i;
}
} // namespace

QList<LineItem> FrameReader::feed(const QByteArray &bytes)
{
    QList<LineItem> out;
    for (char c : bytes)
        handle(static_cast<std::uint8_t>(c), out);
    return out;
}

void FrameReader::handle(std::uint8_t b, QList<LineItem> &out)
{
    switch (m_state) {
    case State::Idle:
        if (b == Dle)
            m_state = State::AfterDle;
        else if (b == Ack)
            out.append(item(LineItem::Ack, QByteArray(1, char(b))));
        else
            addGarbage(QByteArray(1, char(b)), out);
        return;

    case State::AfterDle:
        if (b == Stx) {
            startFrame();
            return;
        }
        // The DLE started nothing; whatever follows gets a fresh look.
        addGarbage(QByteArray(1, char(Dle)), out);
        m_state = State::Idle;
        handle(b, out);
        return;

    case State::Body:
        m_raw.append(char(b));
        if (b == Dle) {
            m_state = State::BodyDle;
            return;
        }
        m_body.append(char(b));
        if (m_body.size() > MaxBody)
            dropFrame("too long", out);
        return;

    case State::BodyDle:
        m_raw.append(char(b));
        if (b == Dle) {
            m_body.append(char(b));
            m_state = State::Body;
            if (m_body.size() > MaxBody)
                dropFrame("too long", out);
        } else if (b == Etx) {
            finishFrame(out);
        } else if (b == Stx) {
            // A sender that gave up mid-frame and started over: the new frame counts.
            m_raw.chop(2);
            dropFrame("truncated", out);
            startFrame();
        } else {
            dropFrame("broken DLE pair", out);
        }
        return;
    }
}

void FrameReader::startFrame()
{
    m_body.clear();
    m_raw = QByteArray::fromRawData("\x10\x02", 2);
    m_raw.detach();
    m_state = State::Body;
}

void FrameReader::finishFrame(QList<LineItem> &out)
{
    if (m_body.size() < 4) {
        dropFrame("too short", out);
        return;
    }
    std::uint8_t sum = 0;
    for (char c : std::as_const(m_body))
        sum ^= static_cast<std::uint8_t>(c);
    if (sum != 0) {
        dropFrame("bad checksum", out);
        return;
    }
    LineItem item;
    item.kind = LineItem::Frame;
    item.raw = m_raw;
    item.to = static_cast<std::uint8_t>(m_body.at(0));
    item.from = static_cast<std::uint8_t>(m_body.at(1));
    item.command = static_cast<std::uint8_t>(m_body.at(2));
    item.payload = m_body.mid(3, m_body.size() - 4);
    out.append(item);
    m_state = State::Idle;
}

void FrameReader::dropFrame(const char *reason, QList<LineItem> &out)
{
    LineItem item;
    item.kind = LineItem::BadFrame;
    item.raw = m_raw;
    item.reason = reason;
    out.append(item);
    m_body.clear();
    m_raw.clear();
    m_state = State::Idle;
}

void FrameReader::addGarbage(const QByteArray &bytes, QList<LineItem> &out)
{
    // Runs of noise make one item, so a burst is logged as one line.
    if (!out.isEmpty() && out.last().kind == LineItem::Garbage)
        out.last().raw.append(bytes);
    else
        out.append(item(LineItem::Garbage, bytes));
}

} // namespace kv::sim
