#pragma once

// The report template: a text file beside the program ("Data/<name>.frf")
// that an installer may edit to change a report's layout without a rebuild.
// UTF-8, one statement per line; blank lines and everything after a '#'
// outside quotes are ignored. A word holding blanks goes between double
// quotes, with \" and \\ for a quote and a backslash inside them.
//
//   page A4 portrait             size (A3 A4 A5 Letter Legal) and orientation
//                                (portrait landscape); default A4 portrait
//   margins 15 15 15 15          left top right bottom, in millimetres
//   font 9 ["DejaVu Sans"]       point size of the rows (4 to 40), optional family
//   title "[campo_1]"            the title band, on the first page
//   footer "{page} / {pages}"    the footer band, on every page (this is the default)
//   column FIELD width=MM [caption=TEXT] [align=left|center|right]
//          [date=FORMAT] [bool=YES|NO] [when=FIELD]
//
// One `column` line per column, left to right: FIELD is a column of the
// report's query, in any letter case; width in millimetres; caption the text
// of the column header repeated on every page (default: the field's name);
// date a Qt date format for date values (default dd/MM/yyyy); bool shows the
// stored "S" as YES and "N" as NO; when leaves the cell empty unless the
// row's FIELD holds "S" (an expiry date the card does not use is no expiry
// date). A text may name a report label (a column
// of LANGREP) in brackets, "[campo_6]", which the current language's label
// replaces; "[[" stands for a bracket. The footer replaces {page} and {pages}.
// Texts too long for their column end in an ellipsis, inside the column.
//
// The parser is strict: an unknown word, a missing or doubled value, columns
// wider than the page between its margins, or a page that holds no row is an
// error naming the line.

#include <QByteArray>
#include <QHash>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace kv::rep {

// A template that cannot be used: the line (1 the first; 0 the file as a
// whole) and the reason.
class Error_Plantilla : public std::runtime_error {
public:
    Error_Plantilla(int linea, const QString &motivo);
    int Linea() const { return m_linea; }
    const QString &Motivo() const { return m_motivo; }
    // "line N: reason"
    QString Texto() const;

private:
    int m_linea;
    QString m_motivo;
};

// A text of the template and the line it came from, so that a label it names
// and the labels lack can be reported where it was written.
struct Texto_Plantilla {
    QString texto;
    int linea = 0;
};

enum class Alineacion { Izquierda, Centro, Derecha };

struct Columna {
    QString campo; // as written; matched without regard to case
    Texto_Plantilla titulo;
    double ancho = 0; // mm
    Alineacion alineacion = Alineacion::Izquierda;
    QString formato_fecha = QStringLiteral("dd/MM/yyyy");
    bool logico = false;
    QString si;
    QString no;
    QString condicion; // when=: the flag field that must hold "S"; empty: always shown
    int linea = 0;
};

struct Plantilla {
    QPageSize::PageSizeId tamano = QPageSize::A4;
    QPageLayout::Orientation orientacion = QPageLayout::Portrait;
    QMarginsF margenes{15, 15, 15, 15}; // mm
    double letra = 9;                   // points
    QString familia;
    Texto_Plantilla titulo;
    Texto_Plantilla pie{QStringLiteral("{page} / {pages}"), 0};
    std::vector<Columna> columnas;

    // The page in points, as the orientation turns it.
    QSizeF Pagina_Pt() const;
};

// Files past these are refused before they are parsed.
constexpr qsizetype Maximo_Bytes = 64 * 1024;
constexpr int Maximo_Columnas = 64;

// Raises Error_Plantilla.
Plantilla Lee_Plantilla(const QByteArray &texto);

// The label names a text refers to, lower-cased, in order. Raises
// Error_Plantilla at the text's line for a bracket that names nothing.
QStringList Referencias(const Texto_Plantilla &texto);
// The text with every reference replaced by its label (names lower-cased in
// etiquetas); a name etiquetas lacks raises Error_Plantilla at the text's line.
QString Sustituye(const Texto_Plantilla &texto, const QHash<QString, QString> &etiquetas);

} // namespace kv::rep
