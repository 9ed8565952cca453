#pragma once

#include "model/auditoria.h"

#include <QString>
#include <QStringList>

#include <vector>

// The operators' log as the logins page and keyvane-cli read it: a page at a
// time, and the whole filtered log into a workbook.
namespace kv::wf {

// Entries per screen of the logins page.
constexpr int Entradas_Por_Pagina = 200;

// The titles of the log's columns, as the list and the workbook show them.
QStringList Columnas_Auditoria();
// An entry's cells in that order.
QStringList Celdas_Auditoria(const Auditoria::Entrada &entrada);

// The page after the last entry read (none: the newest).
std::vector<Auditoria::Entrada> Pagina_Auditoria(const Auditoria::Filtro &filtro,
                                                 const Auditoria::Entrada *tras = nullptr);

// Writes every entry the filter lets through to an .xlsx, newest first with
// a title row, and logs the export. Returns how many entries it wrote.
// Raises kv::libros::Error_Libro when the file cannot be written, ErrorBD
// when the log cannot be read; no installation open raises runtime_error.
int Exporta_Auditoria(const Auditoria::Filtro &filtro, const QString &fichero);

} // namespace kv::wf
