#include "tempinstall.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv::test {

bool copyFile(const QString &src, const QString &dst)
{
    QFile::remove(dst);
    if (!QFile::copy(src, dst))
        return false;
    // Factory files may be read-only in the build tree; the copy must be writable.
    return QFile::setPermissions(dst, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
}

QString binary(const QString &name)
{
    return QStringLiteral(KEYVANE_BIN_DIR) + QLatin1Char('/') + name;
}

TempInstall::TempInstall()
{
    if (!m_root.isValid())
        return;
    QDir root(m_root.path());
    bool ok = root.mkpath(QStringLiteral("prog/BDKV/BK20")) && root.mkpath(QStringLiteral("prog/Pictures"))
        && root.mkpath(QStringLiteral("prog/Data")) && root.mkpath(QStringLiteral("sys/ports"));

    const QString factory = QStringLiteral(KEYVANE_FACTORY_DIR);
    const QStringList files = QDir(factory).entryList({QStringLiteral("*.FDB")}, QDir::Files);
    ok = ok && !files.isEmpty();
    for (const QString &f : files) {
        ok = ok && copyFile(factory + QLatin1Char('/') + f, databaseDir() + QStringLiteral("/BK20/") + f);
        ok = ok && copyFile(factory + QLatin1Char('/') + f, databaseDir() + QLatin1Char('/') + f);
    }

    const QString lang = QStringLiteral(KEYVANE_SOURCE_DIR "/data/Keyvane20_Lang.ini");
    if (QFileInfo::exists(lang))
        ok = ok && copyFile(lang, systemDir() + QStringLiteral("/Keyvane20_Lang.ini"));

    Paths::setProgramDir(programDir());
    Paths::setSystemDir(systemDir());
    Paths::setPortsDir(portsDir());
    m_ok = ok;
}

TempInstall::~TempInstall()
{
    Paths::reset();
}

QString TempInstall::programDir() const { return m_root.path() + QStringLiteral("/prog"); }
QString TempInstall::systemDir() const { return m_root.path() + QStringLiteral("/sys"); }
QString TempInstall::portsDir() const { return systemDir() + QStringLiteral("/ports"); }
QString TempInstall::databaseDir() const { return programDir() + QStringLiteral("/BDKV"); }
QString TempInstall::mainDatabase() const { return databaseDir() + QStringLiteral("/KEYVANE.FDB"); }
QString TempInstall::installationFile(int code) const
{
    return databaseDir() + QStringLiteral("/INSTALACION_%1.FDB").arg(code);
}

} // namespace kv::test
