#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

// Workbooks as the cards travel in them: a sheet of text cells, read and
// written without a spreadsheet application. Every cell is written as text,
// so a code keeps its leading zeros and a name beginning with "=" stays a
// name; a reader gives every cell as text too (a number as its decimal text,
// a formula as the value it last showed, a date as yyyy-MM-dd).
namespace kv::libros {

// Why a file could not be read or written; what() is a one-line English
// detail for logs and the console.
class Error_Libro : public std::runtime_error {
public:
    enum class Tipo {
        No_Libro,    // neither an .xlsx nor an .xls, or a part it needs is missing or malformed
        Demasiado,   // past one of the limits below (a zip bomb, more rows than a sheet holds)
        Fichero,     // cannot be opened or written
    };
    Error_Libro(Tipo tipo, const QString &detalle);
    Tipo tipo() const { return m_tipo; }

private:
    Tipo m_tipo;
};

// What a read will take at most: a file is refused, not half read, past any
// of them. The defaults hold a full sheet (1,048,576 rows) of names.
struct Limites {
    qint64 bytes_fichero = qint64(256) << 20;
    // Uncompressed bytes of any one part of an .xlsx: a zip bomb stops here.
    qint64 bytes_parte = qint64(1) << 30;
    qint64 filas = 1048576;
    // Entries and characters of the shared-string table.
    qint64 cadenas = 4 << 20;
    qint64 caracteres_cadenas = qint64(256) << 20;
};

// One row of the sheet that holds at least one cell of the columns read.
struct Fila {
    qint64 numero = 0; // from 1, as the sheet numbers it
    QStringList celdas; // one per column read, empty text for an empty cell
};

struct Hoja {
    QString nombre;
    std::vector<Fila> filas; // in row order
};

// The sheet a spreadsheet application shows on opening the file (the active
// one of an .xlsx; the first of an .xls, whose reader cannot tell), columns
// A onwards, as many as columnas. The format is taken from the content, not
// the name.
Hoja Lee_Hoja(const QString &fichero, int columnas, const Limites &limites = {});
// The same from the bytes of an .xlsx or .xls.
Hoja Lee_Xlsx(const QByteArray &bytes, int columnas, const Limites &limites = {});
Hoja Lee_Xls(const QByteArray &bytes, int columnas, const Limites &limites = {});

// Writes an .xlsx of one sheet: each row's cells from column A, all text.
// Raises Error_Libro (Fichero) when the file cannot be written; a file
// already there is replaced only by a complete workbook.
void Escribe_Xlsx(const QString &fichero, const std::vector<QStringList> &filas,
                  const QString &nombre_hoja = QStringLiteral("Sheet1"));

} // namespace kv::libros
