#include "reports/maqueta.h"

#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace kv::rep {
namespace {

QString Texto_Celda(const QVariant &v, const Columna &c)
{
    if (v.isNull() || !v.isValid())
        return QString();
    QString t;
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        t = v.toDateTime().toString(c.formato_fecha);
        break;
    case QMetaType::QDate:
        t = v.toDate().toString(c.formato_fecha);
        break;
    default:
        t = v.toString();
    }
    if (c.logico) {
        const QString flag = t.trimmed().toUpper();
        if (flag == QLatin1String("S"))
            return c.si;
        if (flag == QLatin1String("N"))
            return c.no;
    }
    // A row is one line: a line break stored in a name must not leave it.
    if (t.contains(QLatin1Char('\n')) || t.contains(QLatin1Char('\r')) || t.contains(QLatin1Char('\t'))) {
        for (QChar &ch : t)
            if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r') || ch == QLatin1Char('\t'))
                ch = QLatin1Char(' ');
    }
    return t;
}

Qt::Alignment Alinea(Alineacion a)
{
    switch (a) {
    case Alineacion::Centro:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alineacion::Derecha:
        return Qt::AlignRight | Qt::AlignVCenter;
    case Alineacion::Izquierda:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QFont Letra(const Plantilla &p, double escala, bool negrita)
{
    QFont f;
    if (!p.familia.isEmpty())
        f.setFamily(p.familia);
    f.setPointSizeF(p.letra * escala);
    f.setBold(negrita);
    return f;
}

} // namespace

Maqueta::Maqueta(Plantilla plantilla, const QHash<QString, QString> &etiquetas, const Tabla &tabla)
    : m_plantilla(std::move(plantilla))
    , m_geometria(m_plantilla)
{
    m_titulo = Sustituye(m_plantilla.titulo, etiquetas);
    m_pie = Sustituye(m_plantilla.pie, etiquetas);
    const auto campo = [&tabla](const QString &nombre, int linea) {
        int i = 0;
        while (i < tabla.campos.size() && tabla.campos.at(i).compare(nombre, Qt::CaseInsensitive) != 0)
            ++i;
        if (i == tabla.campos.size())
            throw Error_Plantilla(linea, QStringLiteral("the report's query has no field %1 (it has %2)")
                                             .arg(nombre, tabla.campos.join(QStringLiteral(", "))));
        return i;
    };
    std::vector<int> origen;
    std::vector<int> condicion; // -1: the cell is always shown
    for (const Columna &c : m_plantilla.columnas) {
        m_cabeceras << Sustituye(c.titulo, etiquetas);
        origen.push_back(campo(c.campo, c.linea));
        condicion.push_back(c.condicion.isEmpty() ? -1 : campo(c.condicion, c.linea));
    }
    const auto visible = [](const QVariantList &fila, int i) {
        return i < 0 || (i < fila.size() && fila.at(i).toString().trimmed().toUpper() == QLatin1String("S"));
    };
    m_columnas = int(m_plantilla.columnas.size());
    m_filas = qsizetype(tabla.filas.size());
    m_celdas.reserve(std::size_t(m_filas) * std::size_t(m_columnas));
    for (const QVariantList &fila : tabla.filas)
        for (int c = 0; c < m_columnas; ++c) {
            const int i = origen[std::size_t(c)];
            const bool hay = i < fila.size() && visible(fila, condicion[std::size_t(c)]);
            m_celdas.push_back(hay ? Texto_Celda(fila.at(i), m_plantilla.columnas[std::size_t(c)]) : QString());
        }
}

QPageLayout Maqueta::Disposicion() const
{
    return QPageLayout(QPageSize(m_plantilla.tamano), m_plantilla.orientacion, QMarginsF(0, 0, 0, 0));
}

const QString &Maqueta::Celda(qsizetype fila, int columna) const
{
    return m_celdas.at(std::size_t(fila) * std::size_t(m_columnas) + std::size_t(columna));
}

void Maqueta::Dibuja(QPainter &pintor, int pagina) const
{
    QPaintDevice *d = pintor.device();
    // Points to the device's units.
    const double k = d->logicalDpiY() / 72.0;
    const double kx = d->logicalDpiX() / 72.0;
    const Geometria &g = m_geometria;
    const auto R = [k, kx](double x, double y, double w, double h) { return QRectF(x * kx, y * k, w * kx, h * k); };
    const auto Linea = [&](double x1, double y, double x2) { pintor.drawLine(QPointF(x1 * kx, y * k), QPointF(x2 * kx, y * k)); };

    pintor.save();
    pintor.setRenderHint(QPainter::TextAntialiasing);
    QPen pluma(Qt::black);
    pluma.setWidthF(0.5 * k);
    pintor.setPen(pluma);
    double y = g.util.top();

    if (pagina == 0 && g.titulo > 0) {
        const QFont f = Letra(m_plantilla, 1.6, true);
        pintor.setFont(f);
        const QFontMetricsF fm(f, d);
        const QRectF r = R(g.util.left(), y, g.util.width(), g.titulo);
        pintor.drawText(r, Qt::AlignLeft | Qt::AlignTop, fm.elidedText(m_titulo, Qt::ElideRight, r.width()));
        y += g.titulo;
    }

    // The column header, on every page.
    {
        const QFont f = Letra(m_plantilla, 1.0, true);
        pintor.setFont(f);
        const QFontMetricsF fm(f, d);
        double x = g.util.left();
        for (int c = 0; c < m_columnas; ++c) {
            const Columna &col = m_plantilla.columnas[std::size_t(c)];
            const double ancho = col.ancho * Pt_Por_Mm;
            const QRectF r = R(x + g.relleno, y, ancho - 2 * g.relleno, g.fila);
            pintor.drawText(r, Alinea(col.alineacion), fm.elidedText(m_cabeceras.at(c), Qt::ElideRight, r.width()));
            x += ancho;
        }
        y += g.cabecera;
        Linea(g.util.left(), y - (g.cabecera - g.fila) / 2, x);
    }

    // The rows: each text elided to its column's width, so that none
    // reaches the next column whatever its length.
    {
        const QFont f = Letra(m_plantilla, 1.0, false);
        pintor.setFont(f);
        const QFontMetricsF fm(f, d);
        const qsizetype desde = g.Primera_Fila(pagina);
        // The baseline of a row whose top is the page's usable top.
        const double base = g.util.top() * k + (g.fila * k - fm.height()) / 2 + fm.ascent();
        const int n = g.Filas_En(pagina, m_filas);
        for (int i = 0; i < n; ++i) {
            double x = g.util.left();
            for (int c = 0; c < m_columnas; ++c) {
                const Columna &col = m_plantilla.columnas[std::size_t(c)];
                const double ancho = col.ancho * Pt_Por_Mm;
                const QString &t = Celda(desde + i, c);
                if (!t.isEmpty()) {
                    // Placed by hand at the baseline: drawing into a rectangle
                    // lays the text out again, which a 10,000-row PDF feels.
                    const QRectF r = R(x + g.relleno, y, ancho - 2 * g.relleno, g.fila);
                    const QString visible = fm.elidedText(t, Qt::ElideRight, r.width());
                    double izquierda = r.left();
                    if (col.alineacion != Alineacion::Izquierda) {
                        const double sobra = r.width() - fm.horizontalAdvance(visible);
                        izquierda += col.alineacion == Alineacion::Derecha ? sobra : sobra / 2;
                    }
                    pintor.drawText(QPointF(izquierda, base + (y - g.util.top()) * k), visible);
                }
                x += ancho;
            }
            y += g.fila;
        }
    }

    // The footer at the foot of the page.
    {
        const QFont f = Letra(m_plantilla, 0.9, false);
        pintor.setFont(f);
        const QFontMetricsF fm(f, d);
        QString pie = m_pie;
        pie.replace(QLatin1String("{pages}"), QString::number(Paginas()));
        pie.replace(QLatin1String("{page}"), QString::number(pagina + 1));
        const double arriba = g.util.bottom() - g.pie;
        Linea(g.util.left(), arriba + g.pie * 0.2, g.util.right());
        const QRectF r = R(g.util.left(), arriba + g.pie * 0.2, g.util.width(), g.pie * 0.8);
        pintor.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter, fm.elidedText(pie, Qt::ElideRight, r.width()));
    }
    pintor.restore();
}

bool Maqueta::Imprime(QPagedPaintDevice &dispositivo, int desde, int hasta) const
{
    const int total = Paginas();
    desde = std::clamp(desde, 1, total);
    hasta = hasta <= 0 ? total : std::clamp(hasta, desde, total);
    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        return false;
    for (int p = desde; p <= hasta; ++p) {
        if (p > desde && !dispositivo.newPage())
            return false;
        Dibuja(pintor, p - 1);
    }
    return pintor.end();
}

} // namespace kv::rep
