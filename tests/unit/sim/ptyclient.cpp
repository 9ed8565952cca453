#include "ptyclient.h"

#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyClient::PtyClient(const QString &path)
{
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return;
    termios t {};
    ::tcgetattr(m_fd, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(m_fd, TCSANOW, &t);
}

PtyClient::~PtyClient()
{
    close();
}

void PtyClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void PtyClient::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (m_fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

QByteArray PtyClient::readFor(int ms)
{
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (m_fd >= 0 && clock.elapsed() < ms) {
        pollfd p {m_fd, POLLIN, 0};
        if (::poll(&p, 1, int(ms - clock.elapsed())) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0)
            out.append(buf, n);
    }
    return out;
}

namespace {

// A frame ends with a DLE ETX whose DLE is not the second half of a doubled DLE.
bool complete(const QByteArray &b)
{
    if (b == QByteArray(1, '\x06'))
        return true;
    int i = b.indexOf("\x10\x02");
    if (i < 0)
        return false;
    for (i += 2; i + 1 < b.size(); ++i) {
        if (b.at(i) != '\x10')
            continue;
        if (b.at(i + 1) == '\x03')
            return true;
        ++i; // doubled DLE or a restart: skip the pair
    }
    return false;
}

} // namespace

QByteArray PtyClient::readReply(int timeoutMs, qint64 *firstByteMs)
{
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (m_fd >= 0 && !complete(out) && clock.elapsed() < timeoutMs) {
        pollfd p {m_fd, POLLIN, 0};
        if (::poll(&p, 1, int(timeoutMs - clock.elapsed())) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n <= 0)
            continue;
        if (out.isEmpty() && firstByteMs)
            *firstByteMs = clock.elapsed();
        out.append(buf, n);
    }
    return out;
}

QByteArray PtyClient::transact(const QByteArray &request, int timeoutMs)
{
    write(request);
    return readReply(timeoutMs);
}
