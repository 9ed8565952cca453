#include "link/nombrepuerto.h"

#include "platform/paths.h"

#include <QFileInfo>
#include <QRegularExpression>

QString Ruta_Puerto(const QString &nombre)
{
    static const QRegularExpression com(QStringLiteral("^COM([0-9]{1,3})$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(nombre);
    if (!m.hasMatch())
        return nombre;
    const int n = m.captured(1).toInt();
    const QString enlace = kv::Paths::portsDir() + QStringLiteral("/COM%1").arg(n);
    // A dangling link still names this port: its device is gone, and opening
    // a built-in UART in its place would talk to the wrong line.
    const QFileInfo info(enlace);
    if (info.exists() || info.isSymLink() || n < 1)
        return enlace;
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}
