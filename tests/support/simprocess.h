#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

namespace kv::test {

// What SimProcess throws when the simulator cannot be started or a command
// fails or times out; the text says which and why.
class SimError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A keyvane-sim process for one serial line, for tests: started in the
// constructor and waited for until it is ready, stopped (and its COM<N> link
// removed) in the destructor. Commands go over its control socket.
class SimProcess {
public:
    // portsDir defaults to kv::Paths::portsDir(). extraArgs go to the command
    // line as they are, e.g. {"--controllers", "1,2", "--state-dir", dir}.
    // Every run logs its frames to <portsDir>/COM<port>.log (see log()).
    explicit SimProcess(int port, const QStringList &extraArgs = {}, const QString &portsDir = QString());
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Runs a control command and returns its data lines; throws SimError on
    // "error: ..." or when no answer comes within timeoutMs.
    QStringList command(const QString &line, int timeoutMs = 5000);
    // True on "ok", false on "error: ..."; throws only when the simulator does not answer.
    bool ok(const QString &line, int timeoutMs = 5000);

    int port() const { return m_port; }
    QString ptyPath() const { return m_ptyPath; }
    QString linkPath() const;       // <portsDir>/COM<N>
    QString logPath() const;        // <portsDir>/COM<N>.log
    QString log() const;            // the frame log so far

    // True when someone holds the line open: the port opens exclusively, so
    // a line the program listens on, or left open, cannot be opened here.
    bool lineHeld() const;

    // Stops the process now (SIGTERM, then SIGKILL) and waits for it.
    void stop();

private:
    // The answer lines, the final ok/error line included.
    QStringList exchange(const QString &line, int timeoutMs);
    void start(const QStringList &extraArgs);
    void connectControl();
    void closeControl();

    int m_port;
    QString m_portsDir;
    QString m_ptyPath;
    std::unique_ptr<QProcess> m_process;
    // A plain UNIX socket: the test support library stays free of Qt Network.
    int m_socket = -1;
    QByteArray m_pending; // bytes read past the last answer line
};

} // namespace kv::test
