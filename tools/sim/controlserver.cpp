#include "controlserver.h"

#include "commandinterpreter.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace kv::sim {

ControlServer::ControlServer(CommandInterpreter *interpreter, QObject *parent)
    : QObject(parent)
    , m_interpreter(interpreter)
{
}

ControlServer::~ControlServer()
{
    close();
}

bool ControlServer::listen(const QString &socketPath, QString *error)
{
    if (QFileInfo::exists(socketPath)) {
        QLocalSocket probe;
        probe.connectToServer(socketPath);
        if (probe.waitForConnected(500)) {
            *error = QStringLiteral("another simulator answers on %1").arg(socketPath);
            return false;
        }
        QLocalServer::removeServer(socketPath);
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath)) {
        *error = QStringLiteral("cannot listen on %1: %2").arg(socketPath, m_server->errorString());
        return false;
    }
    m_path = socketPath;
    connect(m_server, &QLocalServer::newConnection, this, &ControlServer::onConnection);
    return true;
}

void ControlServer::close()
{
    if (m_server && m_server->isListening())
        m_server->close(); // also removes the socket file
    m_server = nullptr;
}

void ControlServer::watchStdin()
{
    m_stdin = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_stdin, &QSocketNotifier::activated, this, &ControlServer::onStdin);
}

QByteArray ControlServer::answer(const QByteArray &line, bool *quit)
{
    QByteArray out;
    for (const QString &l : m_interpreter->run(QString::fromUtf8(line), quit))
        out += l.toUtf8() + '\n';
    return out;
}

void ControlServer::onStdin()
{
    char buf[4096];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n < 0 && errno == EINTR)
        return;
    if (n <= 0) {
        // End of input (a script closed its pipe, or /dev/null): the socket still controls us.
        m_stdin->setEnabled(false);
        return;
    }
    m_stdinBuffer.append(buf, n);
    qsizetype nl;
    while ((nl = m_stdinBuffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_stdinBuffer.left(nl);
        m_stdinBuffer.remove(0, nl + 1);
        bool quit = false;
        const QByteArray reply = answer(line, &quit);
        std::fwrite(reply.constData(), 1, size_t(reply.size()), stdout);
        std::fflush(stdout);
        if (quit) {
            emit quitRequested();
            return;
        }
    }
}

void ControlServer::onConnection()
{
    while (QLocalSocket *client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            while (client->canReadLine()) {
                bool quit = false;
                const QByteArray reply = answer(client->readLine().chopped(1), &quit);
                client->write(reply);
                client->flush();
                if (quit) {
                    client->waitForBytesWritten(1000);
                    emit quitRequested();
                    return;
                }
            }
        });
    }
}

} // namespace kv::sim
