#include "simprocess.h"

#include <QSerialPort>

#include "platform/paths.h"
#include "tempinstall.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kv::test {

namespace {

// Start-up includes creating the pty and the socket; sanitizer builds on a
// shared machine are slow, so this is generous.
constexpr int ReadyTimeoutMs = 20000;

[[noreturn]] void raise(const QString &text)
{
    qWarning().noquote() << "SimProcess:" << text;
    throw SimError(text.toStdString());
}

} // namespace

SimProcess::SimProcess(int port, const QStringList &extraArgs, const QString &portsDir)
    : m_port(port)
    , m_portsDir(portsDir.isEmpty() ? Paths::portsDir() : portsDir)
    , m_process(std::make_unique<QProcess>())
{
    try {
        start(extraArgs);
    } catch (...) {
        // No destructor runs for a half-built object: leave no process or link behind.
        stop();
        throw;
    }
}

void SimProcess::start(const QStringList &extraArgs)
{
    const int port = m_port;
    const QString program = binary(QStringLiteral("keyvane-sim"));
    if (!QFileInfo(program).isExecutable())
        raise(QStringLiteral("%1 is not built (build the keyvane-sim target)").arg(program));

    QStringList args{QStringLiteral("--ports-dir"), m_portsDir, QStringLiteral("--port"), QString::number(port),
                     QStringLiteral("--log"), logPath()};
    args += extraArgs;
    // The simulator's own complaints show up in the test output as they happen.
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(program, args);
    if (!m_process->waitForStarted(ReadyTimeoutMs))
        raise(QStringLiteral("cannot start %1: %2").arg(program, m_process->errorString()));

    const QDeadlineTimer deadline(ReadyTimeoutMs);
    QByteArray line;
    while (!m_process->canReadLine()) {
        if (m_process->state() != QProcess::Running || deadline.hasExpired()) {
            const QString why = m_process->state() != QProcess::Running
                ? QStringLiteral("exited with status %1 (its message is above)").arg(m_process->exitCode())
                : QStringLiteral("did not report ready within %1 ms").arg(ReadyTimeoutMs);
            m_process->kill();
            m_process->waitForFinished(2000);
            raise(QStringLiteral("keyvane-sim for COM%1 %2").arg(port).arg(why));
        }
        m_process->waitForReadyRead(100);
    }
    line = m_process->readLine().trimmed();
    const QList<QByteArray> words = line.split(' ');
    if (words.size() != 3 || words.at(0) != "ready" || words.at(1) != "COM" + QByteArray::number(port))
        raise(QStringLiteral("keyvane-sim for COM%1 said \"%2\" instead of ready").arg(port).arg(QString::fromUtf8(line)));
    m_ptyPath = QString::fromUtf8(words.at(2));

    connectControl();
}

void SimProcess::connectControl()
{
    const QByteArray path = QFile::encodeName(m_portsDir + QStringLiteral("/COM%1.ctl").arg(m_port));
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof addr.sun_path)
        raise(QStringLiteral("control socket path too long: %1").arg(QString::fromLocal8Bit(path)));
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    m_socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0 || ::connect(m_socket, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        closeControl();
        raise(QStringLiteral("cannot reach the control socket of COM%1: %2").arg(m_port).arg(why));
    }
}

void SimProcess::closeControl()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    m_pending.clear();
}

SimProcess::~SimProcess()
{
    stop();
}

void SimProcess::stop()
{
    closeControl();
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    // SIGTERM lets the simulator save its state and remove its link and socket.
    m_process->terminate();
    if (!m_process->waitForFinished(5000)) {
        m_process->kill();
        m_process->waitForFinished(2000);
        QFile::remove(linkPath());
        QFile::remove(m_portsDir + QStringLiteral("/COM%1.ctl").arg(m_port));
    }
}

QString SimProcess::linkPath() const
{
    return m_portsDir + QStringLiteral("/COM%1").arg(m_port);
}

QString SimProcess::logPath() const
{
    return m_portsDir + QStringLiteral("/COM%1.log").arg(m_port);
}

QString SimProcess::log() const
{
    QFile f(logPath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList SimProcess::exchange(const QString &line, int timeoutMs)
{
    if (m_socket < 0)
        raise(QStringLiteral("\"%1\": the simulator for COM%2 is not running").arg(line).arg(m_port));
    const QByteArray request = line.toUtf8() + '\n';
    if (::send(m_socket, request.constData(), size_t(request.size()), MSG_NOSIGNAL) != request.size())
        raise(QStringLiteral("\"%1\": the control socket of COM%2 is closed").arg(line).arg(m_port));

    QStringList out;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        qsizetype nl;
        while ((nl = m_pending.indexOf('\n')) >= 0) {
            const QString l = QString::fromUtf8(m_pending.left(nl));
            m_pending.remove(0, nl + 1);
            out.append(l);
            if (l == QLatin1String("ok") || l.startsWith(QLatin1String("error:")))
                return out;
        }
        pollfd p {m_socket, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(std::max<qint64>(0, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR)
            continue;
        char buf[4096];
        const ssize_t n = ready > 0 ? ::read(m_socket, buf, sizeof buf) : 0;
        if (n <= 0)
            raise(QStringLiteral("\"%1\": %2 from the simulator for COM%3 within %4 ms")
                      .arg(line, ready > 0 ? QStringLiteral("connection closed, no answer") : QStringLiteral("no answer"))
                      .arg(m_port).arg(timeoutMs));
        m_pending.append(buf, n);
    }
}

QStringList SimProcess::command(const QString &line, int timeoutMs)
{
    QStringList out = exchange(line, timeoutMs);
    const QString last = out.takeLast();
    if (last != QLatin1String("ok"))
        raise(QStringLiteral("\"%1\" on COM%2: %3").arg(line).arg(m_port).arg(last));
    return out;
}

bool SimProcess::ok(const QString &line, int timeoutMs)
{
    return exchange(line, timeoutMs).last() == QLatin1String("ok");
}

bool SimProcess::lineHeld() const
{
    QSerialPort p(linkPath());
    if (!p.open(QIODevice::ReadWrite))
        return true;
    p.close();
    return false;
}

} // namespace kv::test
