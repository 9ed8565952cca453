#pragma once

#include <QString>
#include <QStringList>

namespace kv::sim {

class Line;

// The control language shared by standard input and the control socket. Every
// command answers with zero or more data lines and then "ok" or "error: <text>".
class CommandInterpreter {
public:
    explicit CommandInterpreter(Line *line)
        : m_line(line)
    {
    }

    // The answer lines, the final ok/error included. quit is set by "quit".
    QStringList run(const QString &commandLine, bool *quit);

private:
    // Each returns an error text, empty on success, and appends data lines to out.
    QString add(const QStringList &args);
    QString remove(const QStringList &args);
    QString list(QStringList &out);
    QString cardEvent(const QStringList &args, char parameter);
    QString rawEvent(const QStringList &args);
    QString door(const QStringList &args);
    QString dump(const QStringList &args, QStringList &out);
    QString load(const QStringList &args);
    QString clear(const QStringList &args);
    QString fault(const QStringList &args);
    QString pace(const QStringList &args);
    QString resend(const QStringList &args);
    QString dropAck(const QStringList &args);
    QString set(const QStringList &args);
    QString stats(QStringList &out);
    QStringList help() const;

    Line *m_line;
};

} // namespace kv::sim
