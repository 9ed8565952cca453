#include "ptyport.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace kv::sim {

PtyPort::PtyPort(QObject *parent)
    : QObject(parent)
{
}

PtyPort::~PtyPort()
{
    delete m_readNotifier;
    delete m_inotifyNotifier;
    if (m_inotify >= 0)
        ::close(m_inotify);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyPort::open(QString *error)
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = QStringLiteral("cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));

    // Raw mode is a property of the terminal, not of one descriptor: set once
    // here it stays while the master lives, and the PC finds a clean binary
    // line (no echo, no line editing, no CR/LF mapping) even before it sets its own.
    const int slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        *error = QStringLiteral("cannot open %1: %2").arg(m_slavePath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    termios t {};
    ::tcgetattr(slave, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    t.c_cflag |= CSTOPB | PARENB | CLOCAL | CREAD;
    ::tcsetattr(slave, TCSANOW, &t);
    ::close(slave);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyPort::readAvailable);
    m_readNotifier->setEnabled(false);

    // The kernel reports opens and closes of the slave through inotify, which
    // spares a polling loop; the slow poll only covers systems without it.
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify >= 0
        && ::inotify_add_watch(m_inotify, ::ptsname(m_master), IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) >= 0) {
        m_inotifyNotifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read);
        connect(m_inotifyNotifier, &QSocketNotifier::activated, this, &PtyPort::onInotify);
    }
    m_fallbackPoll = new QTimer(this);
    m_fallbackPoll->setInterval(m_inotifyNotifier ? 500 : 10);
    connect(m_fallbackPoll, &QTimer::timeout, this, &PtyPort::checkPeer);
    m_fallbackPoll->start();
    checkPeer();
    return true;
}

bool PtyPort::probePeer() const
{
    // With no slave descriptor open the master reports a hang-up.
    pollfd p {m_master, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0)
        return false;
    return !(p.revents & POLLHUP);
}

void PtyPort::onInotify()
{
    char buf[4096];
    while (::read(m_inotify, buf, sizeof buf) > 0) {
    }
    checkPeer();
}

void PtyPort::checkPeer()
{
    const bool open = probePeer();
    if (open == m_peerOpen) {
        if (open)
            readAvailable();
        return;
    }
    if (open) {
        m_peerOpen = true;
        m_readNotifier->setEnabled(true);
        emit peerOpened();
        readAvailable();
    } else {
        drain(); // what the PC wrote just before closing still counts
        markClosed();
    }
}

void PtyPort::readAvailable()
{
    // The notifier would otherwise fire without end on the hang-up.
    if (!drain() && m_peerOpen)
        markClosed();
}

void PtyPort::markClosed()
{
    m_peerOpen = false;
    m_readNotifier->setEnabled(false);
    // The PC's driver purges its queues on close; drop what we queued for it.
    ::tcflush(m_master, TCOFLUSH);
    emit peerClosed();
}

bool PtyPort::drain()
{
    char buf[1024];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            emit received(QByteArray(buf, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return !(n < 0 && errno == EIO);
    }
}

bool PtyPort::write(const QByteArray &bytes)
{
    if (!m_peerOpen || !probePeer())
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // A PC that stopped reading has a full queue; a real line would lose the rest too.
        return false;
    }
    return true;
}

} // namespace kv::sim
