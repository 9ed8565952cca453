#include "servidortest.h"

#include <QFile>

namespace kv::test {

namespace {
CuentaServidor lee()
{
    CuentaServidor c;
    const QString dir = qEnvironmentVariable("KEYVANE_TEST_SERVIDOR");
    if (dir.isEmpty())
        return c;
    QFile f(dir + QStringLiteral("/cuenta"));
    if (!f.open(QIODevice::ReadOnly)) {
        c.error = QStringLiteral("KEYVANE_TEST_SERVIDOR: cannot read %1").arg(f.fileName());
        return c;
    }
    const QStringList lineas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    if (lineas.size() < 3 || lineas[0].trimmed().isEmpty()) {
        c.error = QStringLiteral("KEYVANE_TEST_SERVIDOR: %1 is not host, user and password").arg(f.fileName());
        return c;
    }
    c.host = lineas[0].trimmed();
    c.usuario = lineas[1].trimmed();
    c.password = lineas[2].trimmed();
    return c;
}
} // namespace

const CuentaServidor &cuentaServidor()
{
    static const CuentaServidor c = lee();
    return c;
}

} // namespace kv::test
