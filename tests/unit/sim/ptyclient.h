#pragma once

#include <QByteArray>
#include <QString>

// The PC's end of a simulated line, opened the plain POSIX way (raw, no
// Qt SerialPort), so these tests depend on nothing but the simulator.
class PtyClient {
public:
    explicit PtyClient(const QString &path);
    ~PtyClient();
    PtyClient(const PtyClient &) = delete;
    PtyClient &operator=(const PtyClient &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void close();
    void write(const QByteArray &bytes);
    // Everything that arrives within ms milliseconds.
    QByteArray readFor(int ms);
    // Reads until a whole frame (DLE STX .. DLE ETX) or a lone ACK has come,
    // or timeoutMs passes; returns what came. firstByteMs, when given, receives
    // the time from the call to the first byte.
    QByteArray readReply(int timeoutMs = 1000, qint64 *firstByteMs = nullptr);
    // A request followed by its reply.
    QByteArray transact(const QByteArray &request, int timeoutMs = 1000);

private:
    int m_fd = -1;
};
