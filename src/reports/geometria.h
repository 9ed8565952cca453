#pragma once

#include "reports/plantilla.h"

#include <QRectF>

namespace kv::rep {

constexpr double Pt_Por_Mm = 72.0 / 25.4;

// The bands of a template's pages, in points from the page's top left
// corner. Every row has the same height, so the page breaks of any number of
// rows follow from arithmetic alone: nothing is laid out to count pages.
struct Geometria {
    explicit Geometria(const Plantilla &p);

    QRectF util;        // the page inside its margins
    double fila = 0;    // a detail row, and the column header
    double titulo = 0;  // the title band (first page); 0 without a title
    double cabecera = 0;
    double pie = 0;
    double relleno = 0; // blank kept at both sides of a cell's text
    int filas_primera = 0;
    int filas_resto = 0;

    // Pages for n rows: one at least, the empty report's.
    int Paginas(qsizetype n) const;
    // The first row of page pagina (0-based) and how many it holds.
    qsizetype Primera_Fila(int pagina) const;
    int Filas_En(int pagina, qsizetype n) const;
};

} // namespace kv::rep
