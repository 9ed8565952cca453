#pragma once

#include "workflows/fichero_incidencias.h"

#include <QList>
#include <QString>

class QPrinter;
class QTextDocument;
class QWidget;

// The printout of the incidence list: a page headed by a title and one line a
// row, shown in a print preview from which the operator prints.
namespace impresion {

// The width the printout's editor lays its text out in, in pixels.
inline constexpr int Ancho_Documento = 1032;

// The printer's job name, as the print queue shows it.
inline constexpr const char *Nombre_Trabajo = "Editor RTF";

// Replaces what documento holds with two empty lines, titulo centred in
// Courier 16, two empty lines, and a line a row in Arial 10: a tab before
// each of Event, Date, Source and Description, three spaces after each but
// the last. The U column is not printed. Row texts go in as plain text,
// whatever characters they hold.
void Compone_Documento(QTextDocument &documento, const QString &titulo, const QList<kv::wf::Fila_Incidencia> &filas);

// Paints documento on impresora, page by page.
void Imprime_Documento(const QTextDocument &documento, QPrinter &impresora);

// Shows the print preview of documento (through kv::ui::Operador, so a test
// can drive it); printing from there prints to the printer chosen there.
// QDialog's result.
int Vista_Previa(QWidget *padre, const QTextDocument &documento);

} // namespace impresion
