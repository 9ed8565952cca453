#include "app/textos.h"

#include <QLocale>

namespace textos {
namespace {

// The first character of a format that is not a letter or a quote: the
// separator the system puts between the fields.
QChar Separador(const QString &formato, QChar defecto)
{
    for (QChar c : formato)
        if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace())
            return c;
    return defecto;
}

} // namespace

QString Codigo_Entrada(const QString &entrada)
{
    const qsizetype i = entrada.indexOf(QStringLiteral(".-"));
    return i < 0 ? entrada : entrada.left(i);
}

QString Nombre_Entrada(const QString &entrada)
{
    const qsizetype i = entrada.indexOf(QStringLiteral(".- "));
    return i < 0 ? entrada : entrada.mid(i + 3);
}

QString Con_Sufijo(const QString &texto, const QString &nombre)
{
    const qsizetype i = texto.indexOf(QStringLiteral(" -"));
    return (i < 0 ? texto : texto.left(i)) + QStringLiteral(" - ") + nombre;
}

QString Fecha_Hora(const QDateTime &momento)
{
    const QLocale sistema = QLocale::system();
    const QChar fecha = Separador(sistema.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
    const QChar hora = Separador(sistema.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
    const QString formato = QStringLiteral("dd'%1'MM'%1'yyyy hh'%2'mm'%2'ss").arg(fecha, hora);
    return momento.toString(formato);
}

QString Ahora_Texto()
{
    return Momento_Texto(QDateTime::currentDateTime());
}

QString Momento_Texto(const QDateTime &momento)
{
    return QLocale::system().toString(momento, QLocale::ShortFormat);
}

} // namespace textos
