#include "ui/dialogo_fichero.h"

#include <QStringList>

namespace kv::ui {

Dialogo_Fichero::Dialogo_Fichero(const QString &nombre, Modo modo, QObject *padre)
    : QObject(padre)
    , m_modo(modo)
{
    setObjectName(nombre);
}

QString Dialogo_Fichero::Filtro_Qt() const
{
    const QStringList partes = m_filtro.split(QLatin1Char('|'));
    QStringList filtros;
    for (int i = 0; i + 1 < partes.size(); i += 2) {
        QString patrones = partes[i + 1];
        patrones.replace(QLatin1Char(';'), QLatin1Char(' '));
        filtros << QStringLiteral("%1 (%2)").arg(partes[i], patrones);
    }
    return filtros.join(QStringLiteral(";;"));
}

} // namespace kv::ui
