#pragma once

#include "workflows/consulta_incidencias.h"
#include "workflows/fichero_incidencias.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// Attendance: the stored incidences of one cardholder turned into a time
// sheet of a month or of one day. Each controller is designated entrance,
// exit or neither (its `tipo`); a day lists the entries registered at the
// entrances, the exits registered at the exits, and the stay from the first
// entry to the last exit. Nothing here talks to the controllers.
namespace kv::wf {

// The texts a controller's tipo holds, exactly; anything else is neither.
inline const QString Tipo_Entrada = QStringLiteral("ENTRADA");
inline const QString Tipo_Salida = QStringLiteral("SALIDA");

enum class Designacion { Ninguna, Entrada, Salida };
Designacion Designacion_De(const QString &tipo);
QString Tipo_De(Designacion designacion);

// Stores reader codigo of the open installation as entrance, exit or
// neither. False when there is no such reader. Raises Ocupado while another
// workflow holds the controllers, database errors, and the error of a line
// that would not listen again afterwards (the designation is stored then).
bool Designa_Lector(int codigo, Designacion designacion);

// One row of the time sheet, as the list shows it and the file holds it.
struct Fila_Presencia {
    QString Dia;
    QString Entradas;
    QString Salidas;
    QString Estancia;
    bool operator==(const Fila_Presencia &) const = default;
};

// A month (fecha: any day of it) or one day, as [Inicio, Fin): from its
// first midnight to the next period's first midnight.
struct Periodo_Presencia {
    enum Vista { Mes, Dia };
    Vista vista = Mes;
    QDate fecha;

    QDate Primer_Dia() const;
    int Dias() const;
    QDateTime Inicio() const;
    QDateTime Fin() const;
};

// The stay from the first entry to the last exit as hours:minutes:seconds,
// without leading zeros (8:5:3); empty unless both are set and the exit is
// later than the entry.
QString Texto_Estancia(const QDateTime &primera_entrada, const QDateTime &ultima_salida);

// The time sheets of the open installation. The incidences are read through
// a load of its own, so the incidence list keeps its load meanwhile.
class Consulta_Presencia {
public:
    // The month's rows, one per day, each Dia in the system's short date
    // format; the day's one row, or none when the cardholder has no incidence
    // that day at all. Within a cell the events read latest first, each as
    // "[<long time> <reader description>]". Incidences of readers the
    // installation no longer has do not count. Database errors reach the caller.
    QList<Fila_Presencia> Filas(int usuario, const Periodo_Presencia &periodo);

private:
    Consulta_Incidencias m_consulta;
};

// ---- the attendance file ---------------------------------------------------
// One row a line, Dia*Entradas*Salidas*Estancia, each line ending in CR LF,
// no header; a "*" inside a field is escaped as in the incidence file, and
// lines of the unescaped format read the same. The text is Windows-1252, the
// code page these files always had. A table holding a character that code
// page cannot hold (a Cyrillic or Chinese reader description) is written
// whole as UTF-8 after a byte order mark instead, so nothing is lost; reading
// takes the mark as the sign of UTF-8 and anything else as Windows-1252.
//
// A line with fewer than three separators still gives a row: the fields it
// lacks are the middle ones, the text after its last separator (or the whole
// line) is the Estancia, and Dia is empty when it has no separator at all.

struct Lectura_Presencia {
    QList<Fila_Presencia> filas;
    // Lines with control characters (a binary file, one in UTF-16) are no rows.
    qsizetype saltadas = 0;
    // A limit was reached before the end of the file.
    bool cortada = false;
};

// A month has 31 rows; a file of this size is no attendance table.
inline constexpr Limites_Lectura Limites_Presencia{.bytes = 16 * 1024 * 1024, .lineas = 100'000};

QByteArray Escribe_Presencia(const QList<Fila_Presencia> &filas);
Lectura_Presencia Lee_Presencia(const QByteArray &bytes, const Limites_Lectura &limites = Limites_Presencia);
// Create or overwrite ruta (the caller adds the extension); read it back.
// A file that cannot be written or opened raises std::runtime_error.
void Guarda_Fichero_Presencia(const QString &ruta, const QList<Fila_Presencia> &filas);
Lectura_Presencia Lee_Fichero_Presencia(const QString &ruta, const Limites_Lectura &limites = Limites_Presencia);

} // namespace kv::wf
