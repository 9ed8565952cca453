#include "tempinstall.h"

#include "servidortest.h"

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

    // Through the tests' server, the settings point every program started on
    // this installation (keyvane-cli) at it, as a site's settings would.
    const CuentaServidor &cuenta = cuentaServidor();
    ok = ok && cuenta.error.isEmpty();
    if (!cuenta.host.isEmpty()) {
        QFile ini(systemDir() + QStringLiteral("/KEYVANE20.INI"));
        ok = ok && ini.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && ini.write(QStringLiteral("[General]\r\nServidor_BD=%1\r\nUsuario_BD=%2\r\nPassword_BD=%3\r\n")
                             .arg(cuenta.host, cuenta.usuario, cuenta.password)
                             .toUtf8())
                > 0;
    }

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
