#include "model/errorbd.h"

#include <QSqlError>

ErrorBD::ErrorBD(const QString &texto)
    : std::runtime_error(texto.toStdString())
    , m_texto(texto)
{
}

ErrorBD ErrorBD::Perdida(const QString &texto)
{
    ErrorBD e(texto);
    e.m_perdida = true;
    return e;
}

ErrorBD::ErrorBD(const QString &contexto, const QSqlError &error)
    : ErrorBD(contexto.isEmpty() ? error.text() : contexto + QStringLiteral(": ") + error.text())
{
}
