#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QSocketNotifier;

namespace kv::sim {

class CommandInterpreter;

// Takes control lines from standard input and from any number of clients of a
// UNIX stream socket, runs each through the interpreter and writes the answer
// back to where the line came from.
class ControlServer : public QObject {
    Q_OBJECT
public:
    ControlServer(CommandInterpreter *interpreter, QObject *parent = nullptr);
    ~ControlServer() override;

    // A socket that still answers belongs to a running simulator and is an
    // error; one left behind by a killed run is replaced.
    bool listen(const QString &socketPath, QString *error);
    void watchStdin();
    // Removes the socket file if it is still ours.
    void close();

signals:
    void quitRequested();

private:
    void onConnection();
    void onStdin();
    QByteArray answer(const QByteArray &line, bool *quit);

    CommandInterpreter *m_interpreter;
    QLocalServer *m_server = nullptr;
    QSocketNotifier *m_stdin = nullptr;
    QByteArray m_stdinBuffer;
    QString m_path;
};

} // namespace kv::sim
