#include "model/zarvincidencia.h"

#include <QLocale>
#include <QRegularExpression>

QString ZARVIncidencia::Fecha_Texto() const
{
    return QLocale::system().toString(m_timestamp.date(), QLocale::ShortFormat) + QLatin1Char(' ') + Hora_Texto();
}

QString ZARVIncidencia::Hora_Texto() const
{
    const QLocale sistema = QLocale::system();
    // The platform's long time format names the time zone; an incidence is
    // shown and saved in local time, as the database's clock wrote it.
    static const QRegularExpression zona(QStringLiteral("\\s*\\(?\\bt+\\b\\)?"));
    QString hora = sistema.timeFormat(QLocale::LongFormat);
    hora.remove(zona);
    return sistema.toString(m_timestamp.time(), hora.trimmed());
}
