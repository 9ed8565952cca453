#include "model/sqltexto.h"

#include "model/errorbd.h"

#include <climits>

QString Texto_SQL(const QString &texto)
{
    QString out = texto;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString Numero_SQL(const QString &texto)
{
    bool ok = false;
    const qlonglong n = texto.trimmed().toLongLong(&ok);
    if (!ok || n < INT_MIN || n > INT_MAX)
        throw ErrorBD(QStringLiteral("'%1' is not a valid number").arg(texto));
    return QString::number(n);
}
