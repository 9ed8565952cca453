#pragma once

#include "reports/maqueta.h"

#include <QString>

#include <memory>
#include <stdexcept>
#include <vector>

class QSqlDatabase;

namespace kv::rep {

// The report catalogue, as the Reports tree numbers it (1 to 4).
struct Entrada_Catalogo {
    int indice;
    QString clave;    // keyvane-cli's name: users, cards, controllers, cards-per-user
    QString consulta; // run on the open installation
    QString fichero;  // the template, under <program directory>/Data/
};
const std::vector<Entrada_Catalogo> &Catalogo();
// None for an index or a name outside the catalogue.
const Entrada_Catalogo *Busca(int indice);
const Entrada_Catalogo *Busca(const QString &clave);

// A report that could not be made, with a text for the operator: the
// template's file and what is wrong with it, or the database's error.
class Error_Informe : public std::runtime_error {
public:
    enum class Origen { Plantilla, Base_Datos, Fichero };
    Error_Informe(Origen origen, const QString &texto);
    Origen Donde() const { return m_origen; }
    const QString &Texto() const { return m_texto; }

private:
    Origen m_origen;
    QString m_texto;
};

// One report made from the open installation: the labels read from the main
// database, the template loaded, the query run, and the pages ready to paint
// on demand. Both the Reports page and keyvane-cli make reports this way.
class Informe {
public:
    // Raises Error_Informe; nothing of an earlier report is used.
    static std::unique_ptr<Informe> Ejecuta(int indice);

    const Entrada_Catalogo &Entrada() const { return m_entrada; }
    const Maqueta &Paginas() const { return m_maqueta; }
    qsizetype Filas() const { return m_maqueta.Filas(); }
    int Numero_Paginas() const { return m_maqueta.Paginas(); }

    // Raises Error_Informe when the file cannot be written.
    void Exporta_Pdf(const QString &fichero) const;

    Informe(const Entrada_Catalogo &entrada, Maqueta maqueta);

private:
    Entrada_Catalogo m_entrada;
    Maqueta m_maqueta;
};

// The pieces, each on its own for tests and the benchmark.
// The full path of a catalogue entry's template.
QString Ruta_Plantilla(const Entrada_Catalogo &entrada);
// Loads and parses a template file; Error_Informe names the file.
Plantilla Carga_Plantilla(const QString &ruta);
// "SELECT * FROM LANGREP" on the main database: column names lower-cased. A
// main database the program never started on has no row yet; the labels of
// the current language stand in for it then.
QHash<QString, QString> Lee_Etiquetas(QSqlDatabase &principal);
// Runs a query and keeps every row. Raises Error_Informe (Base_Datos).
Tabla Lee_Tabla(QSqlDatabase &db, const QString &consulta);

} // namespace kv::rep
