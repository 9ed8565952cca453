#pragma once

#include <QFile>
#include <QString>

namespace kv::sim {

// Every frame in and out, with its bytes in hex and what they mean, for
// tests to read and installers to watch: to a file, to stderr, or both.
class FrameLog {
public:
    bool openFile(const QString &path, QString *error);
    void setVerbose(bool on) { m_verbose = on; }
    void setLine(const QString &name) { m_line = name; }

    // direction is "in", "out" or "--" for notes.
    void write(const char *direction, const QString &hexBytes, const QString &meaning);
    void note(const QString &text) { write("--", QString(), text); }

private:
    QFile m_file;
    bool m_verbose = false;
    QString m_line;
};

} // namespace kv::sim
