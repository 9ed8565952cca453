#pragma once

#include <QDateTime>
#include <QString>

// How the main window words what it shows: installation entries and the
// installation suffix of its titles, and the dates of its lists.
namespace textos {

// The code of an installation entry "<code>.- <name>": the text before its
// first ".-" (all of it when there is none).
QString Codigo_Entrada(const QString &entrada);
// Its name: the text after its first ".- " (all of it when there is none).
QString Nombre_Entrada(const QString &entrada);
// texto up to its first " -", then " - " and nombre: a title that carries an
// installation's name already gets the new one in its place, not a second one.
QString Con_Sufijo(const QString &texto, const QString &nombre);

// A date and time as day/month/year hour:minute:second, two digits each and
// four for the year, with the system's date and time separators.
QString Fecha_Hora(const QDateTime &momento);
// The current moment in the system's short date-and-time format.
QString Ahora_Texto();
// A moment as the incidence list shows it.
QString Momento_Texto(const QDateTime &momento);

} // namespace textos
