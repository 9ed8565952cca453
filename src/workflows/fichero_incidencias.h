#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The saved incidence list: a text file of one row a line, its five fields
// (Event, Date, Source, Description, U) joined by "*".
//
// A "*" inside a field is written as "\*". Backslashes only need escaping
// where they run into a "*": a run of n backslashes followed by "*" stands
// for n/2 backslashes, and the "*" is a literal one when n is odd and a
// separator when n is even; a run followed by anything else is read as it
// is. So files written before there was any escaping read unchanged unless
// a field of theirs ended in a backslash or held one right before a "*",
// which the program's own rows (kind names, dates, reader descriptions,
// card codes and names, numbers) never did.
//
// Lines break only between rows: a line break or other control character
// inside a field is written as a space (a tab stays). Rows are written as UTF-8; a line that is not valid UTF-8 is read
// as Latin-1, the code page files of Windows installations were written in.
namespace kv::wf {

struct Fila_Incidencia {
    QString Evento;
    QString Fecha;
    QString Origen;
    QString Descripcion;
    QString Usuario;
    bool operator==(const Fila_Incidencia &) const = default;
};

// Reading stops at whichever comes first; what was read until then is kept.
struct Limites_Lectura {
    qsizetype bytes = 100 * 1024 * 1024;
    qsizetype lineas = 1'000'000;
};

struct Lectura_Incidencias {
    QList<Fila_Incidencia> filas;
    // Lines that are not rows: fewer than four separators, or control
    // characters (a binary file, or one in UTF-16). Blank lines do not count.
    qsizetype saltadas = 0;
    // A limit was reached before the end of the file.
    bool cortada = false;
};

QString Linea_Incidencia(const Fila_Incidencia &fila);
// False when linea is not a row (see saltadas).
bool Lee_Linea_Incidencia(const QString &linea, Fila_Incidencia &fila);

QByteArray Escribe_Incidencias(const QList<Fila_Incidencia> &filas);
Lectura_Incidencias Lee_Incidencias(const QByteArray &bytes, const Limites_Lectura &limites = {});

// The file chosen in the save dialog: ".txt" is added unless the name ends
// with it already, in any letter case.
QString Con_Extension_Txt(const QString &nombre);

// Create or overwrite ruta with filas; reading it back. A file that cannot
// be written or opened raises std::runtime_error with the system's reason.
void Guarda_Fichero_Incidencias(const QString &ruta, const QList<Fila_Incidencia> &filas);
Lectura_Incidencias Lee_Fichero_Incidencias(const QString &ruta, const Limites_Lectura &limites = {});

// ---- the pieces, for the other files of "*"-separated rows (attendance) ----

// Fields joined by "*", escaped as above.
QString Une_Campos(const QStringList &campos);
// The fields of linea split at its first maximo - 1 separators, the last one
// taking the rest of the line with any further "*": fewer fields when the
// line has fewer separators. None when the line holds a control character.
std::optional<QStringList> Separa_Campos(const QString &linea, int maximo);
// Hands every non-blank line within the limits to linea, without its line
// break (CR LF or LF) and without a UTF-8 byte order mark at the start of the
// file. True when a limit cut the file short.
bool Recorre_Lineas(QByteArrayView bytes, const Limites_Lectura &limites,
                    const std::function<void(QByteArrayView linea)> &linea);
// Create or overwrite ruta with bytes, whole or not at all; the first
// limites.bytes + 1 bytes of ruta (one over the limit tells a larger file).
// Failures raise std::runtime_error with the path and the system's reason.
void Guarda_Bytes(const QString &ruta, const QByteArray &bytes);
QByteArray Lee_Bytes(const QString &ruta, const Limites_Lectura &limites);

} // namespace kv::wf
