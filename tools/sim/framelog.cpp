#include "framelog.h"

#include <QDateTime>

#include <cstdio>

namespace kv::sim {

bool FrameLog::openFile(const QString &path, QString *error)
{
    m_file.setFileName(path);
    // Appending keeps the history of earlier runs for an installer tailing the file.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        *error = QStringLiteral("cannot open log %1: %2").arg(path, m_file.errorString());
        return false;
    }
    return true;
}

void FrameLog::write(const char *direction, const QString &hexBytes, const QString &meaning)
{
    if (!m_verbose && !m_file.isOpen())
        return;
    QString line = QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char(' ') + m_line
        + QLatin1Char(' ') + QLatin1String(direction);
    if (!hexBytes.isEmpty())
        line += QLatin1Char(' ') + hexBytes + QStringLiteral(" |");
    line += QLatin1Char(' ') + meaning + QLatin1Char('\n');
    const QByteArray bytes = line.toUtf8();
    if (m_file.isOpen()) {
        m_file.write(bytes);
        m_file.flush();
    }
    if (m_verbose) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    }
}

} // namespace kv::sim
