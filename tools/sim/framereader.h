#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

namespace kv::sim {

// What the reader made of the bytes it was fed, in arrival order.
struct LineItem {
    enum Kind {
        Frame,    // a complete frame with a good checksum
        BadFrame, // a frame that ended wrongly: checksum, too short, too long, broken DLE pair
        Ack,      // a lone ACK byte between frames
        Garbage,  // bytes between frames that start nothing
    };
    Kind kind = Garbage;
    QByteArray raw;       // the bytes as they came on the wire
    std::uint8_t to = 0;  // Frame: receiver address
    std::uint8_t from = 0; // Frame: sender address
    std::uint8_t command = 0; // Frame: first data byte
    QByteArray payload;   // Frame: data after the command byte, checksum removed
    QByteArray reason;    // BadFrame: why it was dropped
};

// Decodes the PC's side of the line byte by byte. State carries over from one
// feed to the next, so a frame may arrive in any number of pieces.
class FrameReader {
public:
    // Receiver, sender, command, up to 255 payload bytes and the checksum.
    static constexpr int MaxBody = 259;

    QList<LineItem> feed(const QByteArray &bytes);

private:
    enum class State { Idle, AfterDle, Body, BodyDle };

    void handle(std::uint8_t b, QList<LineItem> &out);
    void startFrame();
    void finishFrame(QList<LineItem> &out);
    void dropFrame(const char *reason, QList<LineItem> &out);
    void addGarbage(const QByteArray &bytes, QList<LineItem> &out);

    State m_state = State::Idle;
    QByteArray m_body; // unescaped bytes between STX and DLE ETX
    QByteArray m_raw;  // the same frame as received, for the log and for echoing
};

} // namespace kv::sim
