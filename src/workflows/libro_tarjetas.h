#pragma once

#include "workbooks/libro.h"

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

// The export/import window's operations: the installation's cards with
// their holders' names written to a workbook, and such a workbook read,
// checked and stored. The layout is one sheet: a header row (the report
// labels of the card code, the first name and the surname), then one card a
// row in columns A, B and C.
namespace kv::wf {

class Progreso;

// The rows of the export: the header, then every card of the installation
// in the card collection's order, its holder's names or two empty texts.
std::vector<QStringList> Filas_Exportacion();
// Writes them to fichero (.xlsx). Raises kv::libros::Error_Libro when the
// file cannot be written: the caller says the export failed. Returns the
// number of cards written.
int Exporta_Libro(const QString &fichero);

// A row of the workbook that may be imported.
struct Fila_Libro {
    qint64 fila = 0; // as the sheet numbers it
    QString codigo;  // ten digits
    QString nombre;
    QString apellidos;
};

// A row that is not imported, and why.
struct Fila_Rechazada {
    enum class Motivo {
        Codigo, // not one to ten decimal digits (letters, signs, a date, more than ten)
        Nombre, // a name longer than its column or on several lines
    };
    qint64 fila = 0;
    QString texto; // the code cell as read
    Motivo motivo = Motivo::Codigo;
};

struct Libro_Importacion {
    QString fichero; // where it was read from, for the operators' log
    std::vector<Fila_Libro> filas;
    std::vector<Fila_Rechazada> rechazadas;
};

// Reads the workbook's shown sheet from row 2 down to the first row whose
// column A is empty; each code padded to ten digits, each row that cannot be
// stored listed instead. Raises kv::libros::Error_Libro for a file that is
// not a workbook or is past the limits.
Libro_Importacion Lee_Libro_Importacion(const QString &fichero, const kv::libros::Limites &limites = {});

enum class Modo_Importacion {
    Anadir,     // the cards that do not exist yet are added
    Reemplazar, // every cardholder, card and assignment is deleted first
};

struct Resultado_Importacion {
    int importadas = 0;
    int saltadas = 0;   // the card existed already, or an earlier row had the code
    int rechazadas = 0; // the rows refused when the workbook was read
};

// The import failed and nothing was changed. Fila is the row it had reached
// (0: before the first, or at the commit); rows go to the database in
// batches, so a refused statement shows where the import stood, which may be
// a few rows past the row the database refused.
class Importacion_Fallida : public std::runtime_error {
public:
    Importacion_Fallida(qint64 fila, int hechas, const QString &motivo);
    qint64 Fila() const { return m_fila; }
    // Rows done before the failure, all undone.
    int Hechas() const { return m_hechas; }
    QString Motivo() const { return m_motivo; }

private:
    qint64 m_fila;
    int m_hechas;
    QString m_motivo;
};

// Stores the rows in the open installation as one change: a new card for
// each code the database lacks, its holder found by both names or made (a
// row without names is a free card, as the export writes one),
// one pending assignment for each of lectores (controller numbers) that the
// installation has. The progress shows each row; its Cancel, or any error,
// undoes the whole import (Importacion_Fallida). The cards reach the readers
// with the next send.
Resultado_Importacion Importa_Libro(const Libro_Importacion &libro, Modo_Importacion modo,
                                    const std::vector<int> &lectores, Progreso &progreso);

} // namespace kv::wf
