#include "reports/geometria.h"

#include <algorithm>
#include <cmath>

namespace kv::rep {

Geometria::Geometria(const Plantilla &p)
{
    const QSizeF pagina = p.Pagina_Pt();
    const QMarginsF m = p.margenes * Pt_Por_Mm;
    util = QRectF(m.left(), m.top(), pagina.width() - m.left() - m.right(), pagina.height() - m.top() - m.bottom());
    fila = p.letra * 1.6;
    cabecera = fila * 1.25;
    pie = fila * 1.5;
    titulo = p.titulo.texto.isEmpty() ? 0 : p.letra * 1.6 * 1.6 + p.letra;
    relleno = p.letra * 0.3;
    const double cuerpo = util.height() - cabecera - pie;
    // A hair below the exact fit: a page must not lose its last row to the
    // rounding of the margins' conversion.
    filas_resto = std::max(0, int(std::floor((cuerpo + 1e-6) / fila)));
    filas_primera = std::max(0, int(std::floor((cuerpo - titulo + 1e-6) / fila)));
}

int Geometria::Paginas(qsizetype n) const
{
    if (n <= filas_primera || filas_resto <= 0)
        return 1;
    return int(1 + (n - filas_primera + filas_resto - 1) / filas_resto);
}

qsizetype Geometria::Primera_Fila(int pagina) const
{
    return pagina <= 0 ? 0 : filas_primera + qsizetype(pagina - 1) * filas_resto;
}

int Geometria::Filas_En(int pagina, qsizetype n) const
{
    const qsizetype desde = Primera_Fila(pagina);
    const qsizetype cabe = pagina <= 0 ? filas_primera : filas_resto;
    return int(std::clamp<qsizetype>(n - desde, 0, cabe));
}

} // namespace kv::rep
