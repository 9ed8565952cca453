#include "ptypeer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer(const QString &linkPath)
    : m_linkPath(linkPath)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        if (master >= 0)
            ::close(master);
        return;
    }
    m_slavePath = QString::fromLocal8Bit(::ptsname(master));
    // Holding the device open keeps the master from seeing a hang-up each
    // time the link closes its port; raw mode keeps the line discipline
    // from echoing or translating bytes while the link has it closed.
    m_slaveKeep = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slaveKeep >= 0) {
        termios t {};
        ::tcgetattr(m_slaveKeep, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(m_slaveKeep, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    QFile::remove(linkPath);
    if (!QFile::link(m_slavePath, linkPath)) {
        ::close(master);
        return;
    }
    m_master = master;
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyPeer::readMaster);
}

PtyPeer::~PtyPeer()
{
    vanish();
    QFile::remove(m_linkPath);
}

void PtyPeer::readMaster()
{
    char buf[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        const QByteArray chunk(buf, static_cast<int>(n));
        m_received += chunk;
        if (onData)
            onData(chunk);
        if (m_master < 0)
            break;
    }
}

void PtyPeer::send(const QByteArray &bytes)
{
    if (m_master >= 0)
        (void)::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size()));
}

void PtyPeer::vanish()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    if (m_master >= 0)
        ::close(m_master);
    if (m_slaveKeep >= 0)
        ::close(m_slaveKeep);
    m_master = m_slaveKeep = -1;
}

bool PtyPeer::waitFor(const std::function<bool()> &pred, int ms)
{
    QDeadlineTimer plazo(ms);
    while (!pred() && !plazo.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return pred();
}
