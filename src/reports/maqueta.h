#pragma once

#include "reports/geometria.h"
#include "reports/plantilla.h"

#include <QHash>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace kv::rep {

// A query's result: its column names and its rows.
struct Tabla {
    QStringList campos;
    std::vector<QVariantList> filas;
};

// A template filled with a table and the report labels: the texts of every
// cell, title and caption made once, the pages counted by arithmetic, and
// any page painted on demand. Painting uses the device's own resolution, so
// the preview, the printer and a PDF show the same pages.
class Maqueta {
public:
    // Raises Error_Plantilla (at the column's line) for a field the table
    // lacks, and (at the text's line) for a label etiquetas lack; label
    // names are lower-cased in etiquetas.
    Maqueta(Plantilla plantilla, const QHash<QString, QString> &etiquetas, const Tabla &tabla);

    qsizetype Filas() const { return m_filas; }
    int Paginas() const { return m_geometria.Paginas(m_filas); }
    const Plantilla &Diseno() const { return m_plantilla; }
    // The template's page, without margins: the painting keeps its own.
    QPageLayout Disposicion() const;
    // The page's size in points.
    QSizeF Tamano_Pt() const { return m_plantilla.Pagina_Pt(); }
    // A cell's text as painted before eliding (tests, and the CLI's checks).
    const QString &Celda(qsizetype fila, int columna) const;
    const QString &Titulo() const { return m_titulo; }
    QStringList Cabeceras() const { return m_cabeceras; }

    // Paints page pagina (0-based) with the painter's origin at the page's
    // top left corner, in the units of the painter's device.
    void Dibuja(QPainter &pintor, int pagina) const;
    // Pages desde to hasta (1-based, inclusive; 0 for the last) on the
    // device, a new page between two. False when the device cannot be painted.
    bool Imprime(QPagedPaintDevice &dispositivo, int desde = 1, int hasta = 0) const;

private:
    Plantilla m_plantilla;
    Geometria m_geometria;
    QString m_titulo;
    QString m_pie;
    QStringList m_cabeceras;
    std::vector<QString> m_celdas; // row after row
    qsizetype m_filas = 0;
    int m_columnas = 0;
};

} // namespace kv::rep
