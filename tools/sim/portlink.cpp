#include "portlink.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kv::sim {

bool PortLink::create(const QString &linkPath, const QString &target, QString *error)
{
    const QFileInfo existing(linkPath);
    if (existing.isSymLink()) {
        const QString old = existing.symLinkTarget();
        const bool stale = old.startsWith(QLatin1String("/dev/pts/")) || !QFileInfo::exists(old);
        if (!stale) {
            *error = QStringLiteral("%1 points to %2, a real port; not replacing it").arg(linkPath, old);
            return false;
        }
        QFile::remove(linkPath);
    } else if (existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a link").arg(linkPath);
        return false;
    }
    QDir().mkpath(existing.absolutePath());
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(linkPath).constData()) != 0) {
        *error = QStringLiteral("cannot create %1: %2").arg(linkPath, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_path = linkPath;
    m_target = target;
    return true;
}

void PortLink::remove()
{
    if (m_path.isEmpty())
        return;
    // A newer simulator may have taken the name over; its link is not ours to remove.
    if (QFileInfo(m_path).symLinkTarget() == m_target)
        QFile::remove(m_path);
    m_path.clear();
}

} // namespace kv::sim
