#include "reports/plantilla.h"

#include "reports/geometria.h"

#include <QSet>
#include <QStringDecoder>

#include <cmath>
#include <optional>

namespace kv::rep {
namespace {

struct Palabra {
    QString texto;
    qsizetype igual = -1; // the first '=' outside quotes, in texto
    bool citada = false;
};

// The line's words; a comment ends it.
std::vector<Palabra> Palabras(const QString &linea, int n)
{
    std::vector<Palabra> r;
    qsizetype i = 0;
    const qsizetype fin = linea.size();
    while (i < fin) {
        while (i < fin && linea.at(i).isSpace())
            ++i;
        if (i >= fin || linea.at(i) == QLatin1Char('#'))
            break;
        Palabra p;
        while (i < fin && !linea.at(i).isSpace()) {
            const QChar c = linea.at(i);
            if (c == QLatin1Char('"')) {
                p.citada = true;
                ++i;
                bool cerrada = false;
                while (i < fin) {
                    const QChar d = linea.at(i++);
                    if (d == QLatin1Char('"')) {
                        cerrada = true;
                        break;
                    }
                    if (d == QLatin1Char('\\')) {
                        if (i >= fin || (linea.at(i) != QLatin1Char('"') && linea.at(i) != QLatin1Char('\\')))
                            throw Error_Plantilla(n, QStringLiteral("only \\\" and \\\\ may follow a backslash"));
                        p.texto += linea.at(i++);
                    } else {
                        p.texto += d;
                    }
                }
                if (!cerrada)
                    throw Error_Plantilla(n, QStringLiteral("a quote is not closed"));
            } else {
                if (c == QLatin1Char('=') && p.igual < 0 && !p.citada)
                    p.igual = p.texto.size();
                p.texto += c;
                ++i;
            }
        }
        r.push_back(p);
    }
    return r;
}

std::optional<double> Numero(const QString &texto)
{
    bool ok = false;
    const double v = texto.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double Numero_En(const QString &texto, double minimo, double maximo, const char *que, int n)
{
    const std::optional<double> v = Numero(texto);
    if (!v || *v < minimo || *v > maximo)
        throw Error_Plantilla(n, QStringLiteral("%1 must be a number from %2 to %3, not \"%4\"")
                                     .arg(QLatin1String(que))
                                     .arg(minimo)
                                     .arg(maximo)
                                     .arg(texto));
    return *v;
}

bool Es_Nombre(const QString &t)
{
    if (t.isEmpty() || t.size() > 63)
        return false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        const bool letra = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                           || c == QLatin1Char('_');
        const bool cifra = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!letra && !(cifra && i > 0) && !(c == QLatin1Char('$') && i > 0))
            return false;
    }
    return true;
}

void Exige(const std::vector<Palabra> &p, std::size_t minimo, std::size_t maximo, int n)
{
    const std::size_t valores = p.size() - 1;
    if (valores < minimo || valores > maximo) {
        const QString cuantos = minimo == maximo ? QString::number(minimo) : QStringLiteral("%1 to %2").arg(minimo).arg(maximo);
        throw Error_Plantilla(n, QStringLiteral("%1 takes %2 value(s), not %3").arg(p[0].texto, cuantos).arg(valores));
    }
}

Columna Lee_Columna(const std::vector<Palabra> &p, int n)
{
    if (p.size() < 2 || p[1].igual >= 0 || p[1].citada || !Es_Nombre(p[1].texto))
        throw Error_Plantilla(n, QStringLiteral("column needs a field name first (letters, digits, _)"));
    Columna c;
    c.campo = p[1].texto;
    c.titulo = {c.campo, n};
    c.linea = n;
    QSet<QString> vistas;
    for (std::size_t i = 2; i < p.size(); ++i) {
        if (p[i].igual <= 0)
            throw Error_Plantilla(n, QStringLiteral("\"%1\" is not an option (name=value)").arg(p[i].texto));
        const QString clave = p[i].texto.left(p[i].igual).toLower();
        const QString valor = p[i].texto.mid(p[i].igual + 1);
        if (vistas.contains(clave))
            throw Error_Plantilla(n, QStringLiteral("%1 is given twice").arg(clave));
        vistas.insert(clave);
        if (clave == QLatin1String("width")) {
            c.ancho = Numero_En(valor, 1, 1000, "width", n);
        } else if (clave == QLatin1String("caption")) {
            c.titulo = {valor, n};
            Referencias(c.titulo);
        } else if (clave == QLatin1String("align")) {
            const QString a = valor.toLower();
            if (a == QLatin1String("left"))
                c.alineacion = Alineacion::Izquierda;
            else if (a == QLatin1String("center") || a == QLatin1String("centre"))
                c.alineacion = Alineacion::Centro;
            else if (a == QLatin1String("right"))
                c.alineacion = Alineacion::Derecha;
            else
                throw Error_Plantilla(n, QStringLiteral("align is left, center or right, not \"%1\"").arg(valor));
        } else if (clave == QLatin1String("date")) {
            if (valor.trimmed().isEmpty())
                throw Error_Plantilla(n, QStringLiteral("date needs a format, e.g. dd/MM/yyyy"));
            c.formato_fecha = valor;
        } else if (clave == QLatin1String("bool")) {
            const QStringList partes = valor.split(QLatin1Char('|'));
            if (partes.size() != 2)
                throw Error_Plantilla(n, QStringLiteral("bool is YES|NO: the two texts split by one |"));
            c.logico = true;
            c.si = partes[0];
            c.no = partes[1];
        } else if (clave == QLatin1String("when")) {
            if (!Es_Nombre(valor))
                throw Error_Plantilla(n, QStringLiteral("when names a field of the query (letters, digits, _)"));
            c.condicion = valor;
        } else {
            throw Error_Plantilla(
                n, QStringLiteral("column has no option %1 (width caption align date bool when)").arg(clave));
        }
    }
    if (c.ancho <= 0)
        throw Error_Plantilla(n, QStringLiteral("column %1 needs width=MM").arg(c.campo));
    return c;
}

// Each statement but column may be given once.
void Una_Vez(QHash<QString, int> &vistas, const QString &palabra, int n)
{
    if (vistas.contains(palabra))
        throw Error_Plantilla(n, QStringLiteral("%1 was given already on line %2").arg(palabra).arg(vistas.value(palabra)));
    vistas.insert(palabra, n);
}

} // namespace

Error_Plantilla::Error_Plantilla(int linea, const QString &motivo)
    : std::runtime_error((linea > 0 ? QStringLiteral("line %1: %2").arg(linea).arg(motivo) : motivo).toStdString())
    , m_linea(linea)
    , m_motivo(motivo)
{
}

QString Error_Plantilla::Texto() const
{
    return m_linea > 0 ? QStringLiteral("line %1: %2").arg(m_linea).arg(m_motivo) : m_motivo;
}

QSizeF Plantilla::Pagina_Pt() const
{
    const QSizeF s = QPageSize(tamano).size(QPageSize::Point);
    return orientacion == QPageLayout::Landscape ? s.transposed() : s;
}

Plantilla Lee_Plantilla(const QByteArray &bytes)
{
    if (bytes.size() > Maximo_Bytes)
        throw Error_Plantilla(0, QStringLiteral("the file is larger than %1 bytes").arg(Maximo_Bytes));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString texto = utf8(bytes);
    if (utf8.hasError())
        throw Error_Plantilla(0, QStringLiteral("the file is not UTF-8 text"));

    Plantilla p;
    QHash<QString, int> vistas;
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    int n = 0;
    int linea_letra = 0;
    for (const QString &linea : lineas) {
        ++n;
        if (linea.contains(QChar(0)))
            throw Error_Plantilla(n, QStringLiteral("the line holds a NUL character"));
        const std::vector<Palabra> w = Palabras(linea, n);
        if (w.empty())
            continue;
        if (w[0].citada || w[0].igual >= 0)
            throw Error_Plantilla(n, QStringLiteral("a line starts with a statement (page margins font title footer column)"));
        const QString palabra = w[0].texto.toLower();
        if (palabra == QLatin1String("column")) {
            if (int(p.columnas.size()) >= Maximo_Columnas)
                throw Error_Plantilla(n, QStringLiteral("more than %1 columns").arg(Maximo_Columnas));
            p.columnas.push_back(Lee_Columna(w, n));
            continue;
        }
        for (std::size_t i = 1; i < w.size(); ++i)
            if (w[i].igual >= 0 && !w[i].citada)
                throw Error_Plantilla(n, QStringLiteral("%1 takes no options (\"%2\")").arg(palabra, w[i].texto));
        if (palabra == QLatin1String("page")) {
            Una_Vez(vistas, palabra, n);
            Exige(w, 1, 2, n);
            static const QHash<QString, QPageSize::PageSizeId> tamanos = {
                {QStringLiteral("a3"), QPageSize::A3},         {QStringLiteral("a4"), QPageSize::A4},
                {QStringLiteral("a5"), QPageSize::A5},         {QStringLiteral("letter"), QPageSize::Letter},
                {QStringLiteral("legal"), QPageSize::Legal},
            };
            const QString t = w[1].texto.toLower();
            if (!tamanos.contains(t))
                throw Error_Plantilla(n, QStringLiteral("page size is A3, A4, A5, Letter or Legal, not \"%1\"").arg(w[1].texto));
            p.tamano = tamanos.value(t);
            if (w.size() > 2) {
                const QString o = w[2].texto.toLower();
                if (o == QLatin1String("portrait"))
                    p.orientacion = QPageLayout::Portrait;
                else if (o == QLatin1String("landscape"))
                    p.orientacion = QPageLayout::Landscape;
                else
                    throw Error_Plantilla(n, QStringLiteral("orientation is portrait or landscape, not \"%1\"").arg(w[2].texto));
            }
        } else if (palabra == QLatin1String("margins")) {
            Una_Vez(vistas, palabra, n);
            Exige(w, 4, 4, n);
            double m[4];
            for (int i = 0; i < 4; ++i)
                m[i] = Numero_En(w[std::size_t(i) + 1].texto, 0, 100, "a margin", n);
            p.margenes = QMarginsF(m[0], m[1], m[2], m[3]);
        } else if (palabra == QLatin1String("font")) {
            Una_Vez(vistas, palabra, n);
            Exige(w, 1, 2, n);
            p.letra = Numero_En(w[1].texto, 4, 40, "the font size", n);
            if (w.size() > 2)
                p.familia = w[2].texto;
            linea_letra = n;
        } else if (palabra == QLatin1String("title") || palabra == QLatin1String("footer")) {
            Una_Vez(vistas, palabra, n);
            Exige(w, 1, 1, n);
            Texto_Plantilla &t = palabra == QLatin1String("title") ? p.titulo : p.pie;
            t = {w[1].texto, n};
            Referencias(t);
        } else {
            throw Error_Plantilla(n, QStringLiteral("unknown statement \"%1\" (page margins font title footer column)").arg(w[0].texto));
        }
    }

    if (p.columnas.empty())
        throw Error_Plantilla(0, QStringLiteral("the template has no column"));
    const Geometria g(p);
    if (g.util.width() < 20 * Pt_Por_Mm || g.util.height() < 20 * Pt_Por_Mm)
        throw Error_Plantilla(vistas.value(QStringLiteral("margins")), QStringLiteral("the margins leave less than 20 mm of the page"));
    // In millimetres as the page size gives them: points would lose a tenth.
    QSizeF pagina_mm = QPageSize(p.tamano).size(QPageSize::Millimeter);
    if (p.orientacion == QPageLayout::Landscape)
        pagina_mm.transpose();
    const double ancho_mm = pagina_mm.width() - p.margenes.left() - p.margenes.right();
    double suma = 0;
    for (const Columna &c : p.columnas) {
        suma += c.ancho;
        if (suma > ancho_mm + 0.01)
            throw Error_Plantilla(c.linea, QStringLiteral("the columns reach %1 mm; the page has %2 mm between its margins")
                                               .arg(suma, 0, 'f', 1)
                                               .arg(ancho_mm, 0, 'f', 1));
    }
    if (g.filas_primera < 1)
        throw Error_Plantilla(linea_letra, QStringLiteral("the first page holds no row at this font size"));
    return p;
}

namespace {

// Walks a template text: every plain character to literal, every "[name]" to
// etiqueta with the name as written; "[[" is a plain bracket.
template <class Literal, class Etiqueta>
void Recorre_Texto(const Texto_Plantilla &t, Literal literal, Etiqueta etiqueta)
{
    const QString &s = t.texto;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) != QLatin1Char('[')) {
            literal(s.at(i));
            continue;
        }
        if (i + 1 < s.size() && s.at(i + 1) == QLatin1Char('[')) {
            literal(QLatin1Char('['));
            ++i;
            continue;
        }
        const qsizetype cierre = s.indexOf(QLatin1Char(']'), i + 1);
        const QString nombre = cierre < 0 ? QString() : s.mid(i + 1, cierre - i - 1);
        if (!Es_Nombre(nombre))
            throw Error_Plantilla(t.linea, QStringLiteral("\"[\" must name a report label and close with \"]\" (write [[ for a bracket)"));
        etiqueta(nombre);
        i = cierre;
    }
}

} // namespace

QStringList Referencias(const Texto_Plantilla &t)
{
    QStringList r;
    Recorre_Texto(t, [](QChar) {}, [&r](const QString &nombre) { r << nombre.toLower(); });
    return r;
}

QString Sustituye(const Texto_Plantilla &t, const QHash<QString, QString> &etiquetas)
{
    QString r;
    r.reserve(t.texto.size());
    Recorre_Texto(
        t, [&r](QChar c) { r += c; },
        [&](const QString &nombre) {
            const auto it = etiquetas.constFind(nombre.toLower());
            if (it == etiquetas.constEnd())
                throw Error_Plantilla(t.linea, QStringLiteral("there is no report label %1").arg(nombre));
            r += *it;
        });
    return r;
}

} // namespace kv::rep
