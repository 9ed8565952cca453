#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kv {
namespace {

struct Overrides {
    QString programDir;
    QString systemDir;
    QString portsDir;
};

Overrides &overrides()
{
    static Overrides o;
    return o;
}

QString executableDir()
{
    // applicationDirPath needs a QCoreApplication; /proc/self/exe works without one.
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString clean(const QString &dir)
{
    return QDir::cleanPath(QDir(dir).absolutePath());
}

} // namespace

QString Paths::programDir()
{
    const QString &o = overrides().programDir;
    return o.isEmpty() ? clean(executableDir()) : o;
}

QString Paths::systemDir()
{
    const QString &o = overrides().systemDir;
    return o.isEmpty() ? clean(QStringLiteral(KEYVANE_SYSTEM_DIR)) : o;
}

QString Paths::portsDir()
{
    const QString &o = overrides().portsDir;
    return o.isEmpty() ? systemDir() + QStringLiteral("/ports") : o;
}

QString Paths::databaseDir()
{
    return programDir() + QStringLiteral("/BDKV");
}

QString Paths::factoryDir()
{
    return databaseDir() + QStringLiteral("/BK20");
}

void Paths::setProgramDir(const QString &dir) { overrides().programDir = dir.isEmpty() ? dir : clean(dir); }
void Paths::setSystemDir(const QString &dir) { overrides().systemDir = dir.isEmpty() ? dir : clean(dir); }
void Paths::setPortsDir(const QString &dir) { overrides().portsDir = dir.isEmpty() ? dir : clean(dir); }
void Paths::reset() { overrides() = Overrides{}; }

} // namespace kv
