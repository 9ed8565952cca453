#include "workbooks/libro.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTime>
#include <QXmlStreamReader>

#include <freexl.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <cerrno>
#include <csignal>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace kv::libros {

Error_Libro::Error_Libro(Tipo tipo, const QString &detalle)
    : std::runtime_error(detalle.toStdString())
    , m_tipo(tipo)
{
}

namespace {

using Tipo = Error_Libro::Tipo;

// A spreadsheet cell holds no more than this; a longer text is cut here, as
// the application itself would have cut it.
constexpr qsizetype Largo_Celda = 32767;

[[noreturn]] void Falla(Tipo tipo, const QString &detalle)
{
    throw Error_Libro(tipo, detalle);
}

// A number as a person would have typed it: 12345 and not 12345.0 nor
// 1.2345E+4, so that a code stored as a number reads back as its digits.
QString Texto_Numero(const QString &valor)
{
    bool ok = false;
    const double d = valor.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return valor;
    if (d == std::floor(d) && std::fabs(d) < 1e15)
        return QString::number(static_cast<qint64>(d));
    return QString::number(d, 'g', 15);
}

// A date cell holds its serial number; the text is the date it shows, so a
// date in the code column is refused as a code rather than taken for digits.
QString Texto_Fecha(const QString &valor, bool fecha1904)
{
    bool ok = false;
    const double d = valor.toDouble(&ok);
    if (!ok || !std::isfinite(d) || d < 0 || d > 3e6)
        return Texto_Numero(valor);
    const QDate base = fecha1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    const qint64 dias = static_cast<qint64>(std::floor(d));
    const int segundos = static_cast<int>(std::lround((d - std::floor(d)) * 86400.0)) % 86400;
    const QString dia = base.addDays(dias).toString(QStringLiteral("yyyy-MM-dd"));
    if (segundos == 0)
        return dia;
    return dia + QLatin1Char(' ') + QTime(0, 0).addSecs(segundos).toString(QStringLiteral("HH:mm:ss"));
}

// The built-in number formats that show dates and times.
bool Formato_Fecha_Integrado(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

// A custom format shows a date when, outside quoted texts and [..] parts
// (colours, locales, elapsed times), it has day, month, year, hour or second.
bool Formato_Fecha(const QString &codigo)
{
    bool comillas = false;
    int corchetes = 0;
    for (qsizetype i = 0; i < codigo.size(); ++i) {
        const QChar c = codigo.at(i).toLower();
        if (c == QLatin1Char('"'))
            comillas = !comillas;
        else if (comillas)
            continue;
        else if (c == QLatin1Char('\\'))
            ++i;
        else if (c == QLatin1Char('['))
            ++corchetes;
        else if (c == QLatin1Char(']'))
            corchetes = std::max(0, corchetes - 1);
        else if (corchetes == 0 && QStringLiteral("dmyhs").contains(c))
            return true;
    }
    return false;
}

// The writers escape characters XML cannot hold as _xHHHH_.
QString Decodifica(QString texto)
{
    if (!texto.contains(QLatin1String("_x")))
        return texto;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString salida;
    qsizetype desde = 0;
    auto it = escape.globalMatch(texto);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        salida += QStringView(texto).mid(desde, m.capturedStart() - desde);
        salida += QChar(static_cast<char16_t>(m.captured(1).toUShort(nullptr, 16)));
        desde = m.capturedEnd();
    }
    salida += QStringView(texto).mid(desde);
    return salida;
}

// A text that itself reads like an escape keeps its underscore escaped, as
// the applications write it, so that it reads back as typed.
QString Escapa(QString texto)
{
    if (!texto.contains(QLatin1String("_x")))
        return texto;
    static const QRegularExpression parece(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    return texto.replace(parece, QStringLiteral("_x005F_\\1"));
}

QString Recorta(QString texto)
{
    if (texto.size() > Largo_Celda)
        texto.truncate(Largo_Celda);
    return texto;
}

// Column and row of a reference such as "AB12"; 0 for a part that is missing.
void Referencia(QStringView r, int &columna, qint64 &fila)
{
    columna = 0;
    fila = 0;
    qsizetype i = 0;
    for (; i < r.size() && r[i].isLetter(); ++i) {
        columna = columna * 26 + (r[i].toUpper().unicode() - 'A' + 1);
        if (columna > 16384)
            return;
    }
    for (; i < r.size() && r[i].isDigit(); ++i) {
        fila = fila * 10 + (r[i].unicode() - '0');
        if (fila > (qint64(1) << 40))
            return;
    }
}

// ---- .xlsx: a zip archive of XML parts -----------------------------------

class Zip {
public:
    Zip(const QByteArray &bytes, const Limites &limites)
        : m_bytes(bytes)
        , m_limites(limites)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *fuente = zip_source_buffer_create(m_bytes.constData(), zip_uint64_t(m_bytes.size()), 0, &error);
        if (!fuente)
            Falla(Tipo::No_Libro, QStringLiteral("not a workbook"));
        m_zip = zip_open_from_source(fuente, ZIP_RDONLY, &error);
        if (!m_zip) {
            zip_source_free(fuente);
            const QString detalle = QString::fromUtf8(zip_error_strerror(&error));
            zip_error_fini(&error);
            Falla(Tipo::No_Libro, QStringLiteral("not a workbook, or a damaged one (%1)").arg(detalle));
        }
        zip_error_fini(&error);
    }
    ~Zip() { zip_discard(m_zip); }
    Zip(const Zip &) = delete;
    Zip &operator=(const Zip &) = delete;

    bool Existe(const QString &parte) const { return zip_name_locate(m_zip, parte.toUtf8().constData(), 0) >= 0; }

    zip_file_t *Abre(const QString &parte) const
    {
        zip_file_t *f = zip_fopen(m_zip, parte.toUtf8().constData(), 0);
        if (!f)
            Falla(Tipo::No_Libro, QStringLiteral("the workbook has no readable part %1").arg(parte));
        return f;
    }
    const Limites &limites() const { return m_limites; }

private:
    QByteArray m_bytes; // the archive reads from these while it is open
    const Limites &m_limites;
    zip_t *m_zip = nullptr;
};

// A pull parser fed from a part as it is inflated, so that a sheet of a
// million rows is never held whole; the bound is on the bytes that come out,
// never on what the archive's directory claims (a zip bomb lies there).
class Xml {
public:
    Xml(const Zip &zip, const QString &parte)
        : m_parte(parte)
        , m_limite(zip.limites().bytes_parte)
        , m_fichero(zip.Abre(parte), zip_fclose)
        , m_buffer(1 << 16, Qt::Uninitialized)
    {
        m_xml.setNamespaceProcessing(true);
    }

    // The next token; raises No_Libro on malformed XML or a damaged archive.
    QXmlStreamReader::TokenType Siguiente()
    {
        for (;;) {
            const QXmlStreamReader::TokenType t = m_xml.readNext();
            if (t != QXmlStreamReader::Invalid)
                return t;
            if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && Alimenta())
                continue;
            Falla(Tipo::No_Libro, QStringLiteral("the workbook's part %1 is not well-formed XML (%2)")
                                      .arg(m_parte, m_xml.errorString()));
        }
    }
    QXmlStreamReader &x() { return m_xml; }

    // The text of the element just started, up to its end.
    QString Texto()
    {
        QString texto;
        int nivel = 1;
        while (nivel > 0) {
            const auto t = Siguiente();
            if (t == QXmlStreamReader::StartElement)
                ++nivel;
            else if (t == QXmlStreamReader::EndElement)
                --nivel;
            else if (t == QXmlStreamReader::Characters && texto.size() <= Largo_Celda)
                texto += m_xml.text();
            else if (t == QXmlStreamReader::EndDocument)
                break;
        }
        return texto;
    }

private:
    // False at the end of the part.
    bool Alimenta()
    {
        const zip_int64_t n = zip_fread(m_fichero.get(), m_buffer.data(), zip_uint64_t(m_buffer.size()));
        if (n < 0)
            Falla(Tipo::No_Libro, QStringLiteral("the workbook is damaged or cut short (%1: %2)")
                                      .arg(m_parte, QString::fromUtf8(zip_file_strerror(m_fichero.get()))));
        if (n == 0)
            return false;
        m_total += n;
        if (m_total > m_limite)
            Falla(Tipo::Demasiado, QStringLiteral("the part %1 inflates past %2 bytes").arg(m_parte).arg(m_limite));
        m_xml.addData(QByteArray(m_buffer.constData(), qsizetype(n)));
        return true;
    }

    QString m_parte;
    qint64 m_limite;
    qint64 m_total = 0;
    std::unique_ptr<zip_file_t, int (*)(zip_file_t *)> m_fichero;
    QByteArray m_buffer;
    QXmlStreamReader m_xml;
};

// Walks a whole part; por_elemento sees each start tag.
void Recorre(Xml &xml, const std::function<void(Xml &)> &por_elemento)
{
    for (;;) {
        const auto t = xml.Siguiente();
        if (t == QXmlStreamReader::EndDocument)
            return;
        if (t == QXmlStreamReader::StartElement)
            por_elemento(xml);
    }
}

QString Atributo(Xml &xml, const char *nombre)
{
    // By local name: the transitional and the strict schemas put the same
    // attributes in different namespaces.
    for (const QXmlStreamAttribute &a : xml.x().attributes())
        if (a.name() == QLatin1String(nombre))
            return a.value().toString();
    return QString();
}

// A relationship target as a part name.
QString Resuelve(const QString &base, const QString &destino)
{
    if (destino.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(destino.mid(1));
    return QDir::cleanPath(base.isEmpty() ? destino : base + QLatin1Char('/') + destino);
}

// Relationships of a part: id to part name, and type suffix to part name.
struct Relaciones {
    QHash<QString, QString> por_id;
    QHash<QString, QString> por_tipo;
};

Relaciones Lee_Relaciones(const Zip &zip, const QString &parte)
{
    Relaciones r;
    const QFileInfo info(parte);
    const QString dir = info.path() == QLatin1String(".") ? QString() : info.path();
    const QString rels = (dir.isEmpty() ? QString() : dir + QLatin1Char('/')) + QStringLiteral("_rels/") + info.fileName()
                         + QStringLiteral(".rels");
    if (!zip.Existe(rels))
        return r;
    Xml xml(zip, rels);
    Recorre(xml, [&](Xml &x) {
        if (x.x().name() != QLatin1String("Relationship"))
            return;
        if (Atributo(x, "TargetMode") == QLatin1String("External"))
            return;
        const QString destino = Resuelve(dir, Atributo(x, "Target"));
        r.por_id.insert(Atributo(x, "Id"), destino);
        const QString tipo = Atributo(x, "Type");
        const QString sufijo = tipo.mid(tipo.lastIndexOf(QLatin1Char('/')) + 1);
        if (!r.por_tipo.contains(sufijo))
            r.por_tipo.insert(sufijo, destino);
    });
    return r;
}

std::vector<QString> Lee_Cadenas(const Zip &zip, const QString &parte, const Limites &limites)
{
    std::vector<QString> cadenas;
    if (parte.isEmpty() || !zip.Existe(parte))
        return cadenas;
    qint64 caracteres = 0;
    Xml xml(zip, parte);
    Recorre(xml, [&](Xml &x) {
        if (x.x().name() != QLatin1String("si"))
            return;
        // The item's runs joined; phonetic hints (rPh) are not shown text.
        QString texto;
        int nivel = 1;
        int fonetica = 0;
        while (nivel > 0) {
            const auto t = x.Siguiente();
            if (t == QXmlStreamReader::EndDocument)
                break;
            if (t == QXmlStreamReader::StartElement) {
                if (x.x().name() == QLatin1String("t") && fonetica == 0) {
                    // Read up to its end tag: the level stays.
                    texto += x.Texto();
                    continue;
                }
                ++nivel;
                if (x.x().name() == QLatin1String("rPh"))
                    fonetica = nivel;
            } else if (t == QXmlStreamReader::EndElement) {
                if (nivel == fonetica)
                    fonetica = 0;
                --nivel;
            }
        }
        texto = Recorta(Decodifica(texto));
        caracteres += texto.size();
        if (qint64(cadenas.size()) >= limites.cadenas || caracteres > limites.caracteres_cadenas)
            Falla(Tipo::Demasiado, QStringLiteral("the shared-string table is larger than %1 entries or %2 characters")
                                       .arg(limites.cadenas)
                                       .arg(limites.caracteres_cadenas));
        cadenas.push_back(texto);
    });
    return cadenas;
}

// Per cell style: whether it shows a date.
std::vector<bool> Lee_Estilos(const Zip &zip, const QString &parte)
{
    std::vector<bool> fechas;
    if (parte.isEmpty() || !zip.Existe(parte))
        return fechas;
    QHash<int, bool> propios;
    bool en_xfs = false;
    Xml xml(zip, parte);
    for (;;) {
        const auto t = xml.Siguiente();
        if (t == QXmlStreamReader::EndDocument)
            break;
        if (t == QXmlStreamReader::EndElement && xml.x().name() == QLatin1String("cellXfs"))
            en_xfs = false;
        if (t != QXmlStreamReader::StartElement)
            continue;
        const auto nombre = xml.x().name();
        if (nombre == QLatin1String("numFmt")) {
            propios.insert(Atributo(xml, "numFmtId").toInt(), Formato_Fecha(Atributo(xml, "formatCode")));
        } else if (nombre == QLatin1String("cellXfs")) {
            en_xfs = true;
        } else if (en_xfs && nombre == QLatin1String("xf") && fechas.size() < 65536) {
            const int id = Atributo(xml, "numFmtId").toInt();
            fechas.push_back(propios.contains(id) ? propios.value(id) : Formato_Fecha_Integrado(id));
        }
    }
    return fechas;
}

struct Libro_Xlsx {
    QString hoja_parte;
    QString hoja_nombre;
    QString cadenas;
    QString estilos;
    bool fecha1904 = false;
};

Libro_Xlsx Lee_Libro_Xlsx(const Zip &zip)
{
    Libro_Xlsx l;
    QString libro = Lee_Relaciones(zip, QStringLiteral("")).por_tipo.value(QStringLiteral("officeDocument"));
    if (libro.isEmpty())
        libro = QStringLiteral("xl/workbook.xml");
    if (!zip.Existe(libro))
        Falla(Tipo::No_Libro, QStringLiteral("not a workbook (the archive has no %1)").arg(libro));
    const Relaciones rel = Lee_Relaciones(zip, libro);
    int activa = 0;
    struct Hoja_Libro {
        QString nombre;
        QString id;
    };
    std::vector<Hoja_Libro> hojas;
    Xml xml(zip, libro);
    Recorre(xml, [&](Xml &x) {
        const auto nombre = x.x().name();
        if (nombre == QLatin1String("workbookView") && Atributo(x, "activeTab").size())
            activa = Atributo(x, "activeTab").toInt();
        else if (nombre == QLatin1String("workbookPr"))
            l.fecha1904 = Atributo(x, "date1904") == QLatin1String("1") || Atributo(x, "date1904") == QLatin1String("true");
        else if (nombre == QLatin1String("sheet") && hojas.size() < 65536)
            hojas.push_back({Atributo(x, "name"), Atributo(x, "id")});
    });
    if (hojas.empty())
        Falla(Tipo::No_Libro, QStringLiteral("the workbook has no sheet"));
    if (activa < 0 || activa >= int(hojas.size()))
        activa = 0;
    l.hoja_nombre = hojas[std::size_t(activa)].nombre;
    l.hoja_parte = rel.por_id.value(hojas[std::size_t(activa)].id);
    if (l.hoja_parte.isEmpty() || !zip.Existe(l.hoja_parte))
        Falla(Tipo::No_Libro, QStringLiteral("the workbook's sheet %1 is missing").arg(l.hoja_nombre));
    l.cadenas = rel.por_tipo.value(QStringLiteral("sharedStrings"));
    if (l.cadenas.isEmpty())
        l.cadenas = QStringLiteral("xl/sharedStrings.xml");
    l.estilos = rel.por_tipo.value(QStringLiteral("styles"));
    return l;
}

// One cell of the sheet as text.
QString Valor_Celda(const QString &tipo, const QString &v, const QString &en_linea, int estilo,
                    const std::vector<QString> &cadenas, const std::vector<bool> &fechas, bool fecha1904)
{
    if (tipo == QLatin1String("s")) {
        bool ok = false;
        const qint64 i = v.trimmed().toLongLong(&ok);
        if (v.trimmed().isEmpty())
            return QString();
        if (!ok || i < 0 || i >= qint64(cadenas.size()))
            Falla(Tipo::No_Libro, QStringLiteral("a cell refers to shared string %1 of %2").arg(v).arg(cadenas.size()));
        return cadenas[std::size_t(i)];
    }
    if (tipo == QLatin1String("inlineStr"))
        return Recorta(Decodifica(en_linea));
    if (tipo == QLatin1String("str") || tipo == QLatin1String("e") || tipo == QLatin1String("d"))
        return Recorta(Decodifica(v));
    if (tipo == QLatin1String("b"))
        return v.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (v.isEmpty())
        return QString();
    if (estilo >= 0 && estilo < int(fechas.size()) && fechas[std::size_t(estilo)])
        return Texto_Fecha(v, fecha1904);
    return Recorta(Texto_Numero(v));
}

Hoja Lee_Hoja_Xlsx(const Zip &zip, int columnas, const Limites &limites)
{
    const Libro_Xlsx libro = Lee_Libro_Xlsx(zip);
    const std::vector<QString> cadenas = Lee_Cadenas(zip, libro.cadenas, limites);
    const std::vector<bool> fechas = Lee_Estilos(zip, libro.estilos);
    Hoja hoja;
    hoja.nombre = libro.hoja_nombre;
    Xml xml(zip, libro.hoja_parte);
    qint64 fila = 0;
    int columna = 0;
    Fila actual;
    const auto cierra_fila = [&] {
        bool algo = false;
        for (const QString &c : std::as_const(actual.celdas))
            algo = algo || !c.isEmpty();
        if (algo) {
            if (qint64(hoja.filas.size()) >= limites.filas)
                Falla(Tipo::Demasiado, QStringLiteral("the sheet has more than %1 rows").arg(limites.filas));
            hoja.filas.push_back(std::move(actual));
        }
        actual = Fila();
    };
    Recorre(xml, [&](Xml &x) {
        const auto nombre = x.x().name();
        if (nombre == QLatin1String("row")) {
            const QString r = Atributo(x, "r");
            fila = r.isEmpty() ? fila + 1 : r.toLongLong();
            if (fila < 1 || fila > limites.filas)
                Falla(Tipo::Demasiado, QStringLiteral("the sheet has a row %1, past the %2 a sheet may hold")
                                           .arg(r)
                                           .arg(limites.filas));
            columna = 0;
            actual = Fila();
            actual.numero = fila;
            actual.celdas = QStringList(columnas, QString());
            // The row's cells, up to its end.
            int nivel = 1;
            while (nivel > 0) {
                const auto t = x.Siguiente();
                if (t == QXmlStreamReader::EndDocument)
                    break;
                if (t == QXmlStreamReader::EndElement) {
                    --nivel;
                    continue;
                }
                if (t != QXmlStreamReader::StartElement)
                    continue;
                if (x.x().name() != QLatin1String("c")) {
                    ++nivel;
                    continue;
                }
                const QString ref = Atributo(x, "r");
                int col = columna + 1;
                if (!ref.isEmpty()) {
                    qint64 f = 0;
                    Referencia(ref, col, f);
                }
                columna = col;
                const QString tipo = Atributo(x, "t");
                const QString s = Atributo(x, "s");
                const int estilo = s.isEmpty() ? -1 : s.toInt();
                QString v;
                QString en_linea;
                int sub = 1;
                while (sub > 0) {
                    const auto u = x.Siguiente();
                    if (u == QXmlStreamReader::EndDocument)
                        break;
                    if (u == QXmlStreamReader::EndElement) {
                        --sub;
                    } else if (u == QXmlStreamReader::StartElement) {
                        if (x.x().name() == QLatin1String("v"))
                            v = x.Texto();
                        else if (x.x().name() == QLatin1String("t"))
                            en_linea += x.Texto();
                        else if (x.x().name() == QLatin1String("rPh") || x.x().name() == QLatin1String("f"))
                            x.Texto();
                        else
                            ++sub;
                    }
                }
                if (col >= 1 && col <= columnas)
                    actual.celdas[col - 1] = Valor_Celda(tipo, v, en_linea, estilo, cadenas, fechas, libro.fecha1904);
            }
            cierra_fila();
        }
    });
    return hoja;
}

// ---- .xls: the binary format of the older applications ---------------------

// What the reading process reports, in order: an error code, or the sheet's
// name and then each row holding something in the columns read (each cell a
// type, 'n' for a number or 't', and its text), and an end mark. Lengths and numbers in the machine's own order: both ends are this
// program.
enum Marca : char { Error_Xls = 'E', Nombre_Hoja = 'N', Fila_Xls = 'R', Fin_Xls = 'F' };
enum Codigo_Xls : char { Xls_Ilegible = 1, Xls_Clave, Xls_Sin_Hoja, Xls_Filas };

void Pon(std::string &salida, const void *datos, std::size_t n)
{
    salida.append(static_cast<const char *>(datos), n);
}

void Pon_Texto(std::string &salida, const char *texto, std::size_t n)
{
    const quint32 largo = quint32(std::min<std::size_t>(n, std::size_t(Largo_Celda) * 4));
    Pon(salida, &largo, sizeof largo);
    Pon(salida, texto, largo);
}

// Runs in the reading process: the file through the library, the sheet as
// the report above. Plain C and the standard library only.
std::string Extrae_Xls(const char *ruta, int columnas)
{
    std::string salida;
    const auto error = [&](Codigo_Xls c) {
        salida = std::string(1, Error_Xls) + char(c);
        return salida;
    };
    const void *h = nullptr;
    if (freexl_open(ruta, &h) != FREEXL_OK)
        return error(Xls_Ilegible);
    unsigned int protegido = 0;
    unsigned int hojas = 0;
    unsigned int filas = 0;
    unsigned short cols = 0;
    const char *nombre = nullptr;
    if (freexl_get_info(h, FREEXL_BIFF_PASSWORD, &protegido) == FREEXL_OK && protegido == FREEXL_BIFF_OBFUSCATED)
        return error(Xls_Clave);
    if (freexl_get_info(h, FREEXL_BIFF_SHEET_COUNT, &hojas) != FREEXL_OK || hojas == 0)
        return error(Xls_Sin_Hoja);
    if (freexl_select_active_worksheet(h, 0) != FREEXL_OK || freexl_worksheet_dimensions(h, &filas, &cols) != FREEXL_OK)
        return error(Xls_Ilegible);
    // A legacy sheet holds 65,536 rows; a file that claims more is damaged,
    // and walking its claim would take as long as it likes.
    if (filas > 65536)
        return error(Xls_Filas);
    salida += Nombre_Hoja;
    if (freexl_get_worksheet_name(h, 0, &nombre) == FREEXL_OK && nombre)
        Pon_Texto(salida, nombre, std::strlen(nombre));
    else
        Pon_Texto(salida, "", 0);
    const int leidas = std::min(int(cols), columnas);
    std::string fila;
    char numero[64];
    for (unsigned int r = 0; r < filas; ++r) {
        fila.clear();
        bool algo = false;
        for (int c = 0; c < columnas; ++c) {
            FreeXL_CellValue celda;
            const char *texto = "";
            char tipo = 't';
            if (c < leidas && freexl_get_cell_value(h, r, static_cast<unsigned short>(c), &celda) == FREEXL_OK) {
                switch (celda.type) {
                case FREEXL_CELL_INT:
                    std::snprintf(numero, sizeof numero, "%d", celda.value.int_value);
                    texto = numero;
                    tipo = 'n';
                    break;
                case FREEXL_CELL_DOUBLE:
                    std::snprintf(numero, sizeof numero, "%.17g", celda.value.double_value);
                    texto = numero;
                    tipo = 'n';
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    texto = celda.value.text_value ? celda.value.text_value : "";
                    break;
                default:
                    break;
                }
            }
            algo = algo || *texto;
            fila += tipo;
            Pon_Texto(fila, texto, std::strlen(texto));
        }
        if (!algo)
            continue;
        salida += Fila_Xls;
        Pon(salida, &r, sizeof r);
        salida += fila;
    }
    freexl_close(h);
    salida += Fin_Xls;
    return salida;
}

// The legacy format's library is not hardened against damaged files (a
// crafted one crashes it): it reads in a process of its own, so that such a
// file is refused as damaged instead of taking the program down, and one
// that makes it loop is stopped after five seconds (a full legacy sheet
// reads in well under one).
Hoja Lee_Xls_Fichero(const QString &fichero, int columnas, const Limites &limites)
{
    const QByteArray ruta = QFile::encodeName(fichero);
    int tubo[2];
    if (::pipe(tubo) != 0)
        Falla(Tipo::Fichero, QStringLiteral("no pipe to read the workbook"));
    const pid_t hijo = ::fork();
    if (hijo < 0) {
        ::close(tubo[0]);
        ::close(tubo[1]);
        Falla(Tipo::Fichero, QStringLiteral("no process to read the workbook"));
    }
    if (hijo == 0) {
        ::close(tubo[0]);
        // A crash here is the damaged file's, told to the parent by the
        // signal that ended this process: no handler of the parent's
        // (a sanitizer's, a fuzzer's) is to report it as its own.
        for (const int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
            std::signal(s, SIG_DFL);
        ::alarm(5);
        const std::string salida = Extrae_Xls(ruta.constData(), columnas);
        for (std::size_t hecho = 0; hecho < salida.size();) {
            const ssize_t n = ::write(tubo[1], salida.data() + hecho, salida.size() - hecho);
            if (n <= 0)
                ::_exit(1);
            hecho += std::size_t(n);
        }
        ::_exit(0);
    }
    ::close(tubo[1]);
    QByteArray datos;
    bool demasiado = false;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(tubo[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        if (datos.size() + n > limites.bytes_parte) {
            demasiado = true;
            ::kill(hijo, SIGKILL);
            break;
        }
        datos.append(buffer, qsizetype(n));
    }
    ::close(tubo[0]);
    int estado = 0;
    while (::waitpid(hijo, &estado, 0) < 0 && errno == EINTR) {
    }
    if (demasiado)
        Falla(Tipo::Demasiado, QStringLiteral("the workbook's sheet is larger than %1 bytes").arg(limites.bytes_parte));
    if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0 || datos.isEmpty())
        Falla(Tipo::No_Libro, QStringLiteral("not a workbook, or a damaged one"));
    if (datos[0] == Error_Xls) {
        switch (datos.size() > 1 ? datos[1] : 0) {
        case Xls_Clave:
            Falla(Tipo::No_Libro, QStringLiteral("the workbook is protected by a password"));
        case Xls_Sin_Hoja:
            Falla(Tipo::No_Libro, QStringLiteral("the workbook has no sheet"));
        case Xls_Filas:
            Falla(Tipo::Demasiado, QStringLiteral("the sheet claims more rows than a legacy sheet holds"));
        default:
            Falla(Tipo::No_Libro, QStringLiteral("not a workbook, or a damaged one"));
        }
    }
    // The report read back; anything short of its end mark is a damaged read.
    qsizetype i = 0;
    const auto toma = [&](void *destino, qsizetype n) {
        if (i + n > datos.size())
            Falla(Tipo::No_Libro, QStringLiteral("not a workbook, or a damaged one"));
        std::memcpy(destino, datos.constData() + i, std::size_t(n));
        i += n;
    };
    const auto texto = [&] {
        quint32 largo = 0;
        toma(&largo, sizeof largo);
        if (qint64(largo) > datos.size() - i)
            Falla(Tipo::No_Libro, QStringLiteral("not a workbook, or a damaged one"));
        const QString t = QString::fromUtf8(datos.constData() + i, qsizetype(largo));
        i += qsizetype(largo);
        return t;
    };
    Hoja hoja;
    for (;;) {
        char marca = 0;
        toma(&marca, 1);
        if (marca == Fin_Xls)
            return hoja;
        if (marca == Nombre_Hoja) {
            hoja.nombre = texto();
        } else if (marca == Fila_Xls) {
            unsigned int r = 0;
            toma(&r, sizeof r);
            Fila f;
            f.numero = qint64(r) + 1;
            for (int c = 0; c < columnas; ++c) {
                char tipo = 0;
                toma(&tipo, 1);
                const QString t = texto();
                // A number is shown as typed: 12345, not 12345.000000000000;
                // a text of digits keeps its zeros.
                f.celdas << (tipo == 'n' ? Texto_Numero(t) : Recorta(t));
            }
            if (qint64(hoja.filas.size()) >= limites.filas)
                Falla(Tipo::Demasiado, QStringLiteral("the sheet has more than %1 rows").arg(limites.filas));
            hoja.filas.push_back(std::move(f));
        } else {
            Falla(Tipo::No_Libro, QStringLiteral("not a workbook, or a damaged one"));
        }
    }
}

bool Es_Zip(const QByteArray &bytes)
{
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06");
}

bool Es_Ole(const QByteArray &bytes)
{
    return bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

} // namespace

Hoja Lee_Xlsx(const QByteArray &bytes, int columnas, const Limites &limites)
{
    if (bytes.size() > limites.bytes_fichero)
        Falla(Tipo::Demasiado, QStringLiteral("the file is larger than %1 bytes").arg(limites.bytes_fichero));
    if (!Es_Zip(bytes))
        Falla(Tipo::No_Libro, QStringLiteral("not a workbook"));
    const Zip zip(bytes, limites);
    return Lee_Hoja_Xlsx(zip, columnas, limites);
}

Hoja Lee_Xls(const QByteArray &bytes, int columnas, const Limites &limites)
{
    if (bytes.size() > limites.bytes_fichero)
        Falla(Tipo::Demasiado, QStringLiteral("the file is larger than %1 bytes").arg(limites.bytes_fichero));
    if (!Es_Ole(bytes))
        Falla(Tipo::No_Libro, QStringLiteral("not a workbook"));
    // The reader opens files only.
    QTemporaryFile temporal;
    if (!temporal.open() || temporal.write(bytes) != bytes.size() || !temporal.flush())
        Falla(Tipo::Fichero, QStringLiteral("no temporary file for the workbook"));
    temporal.close();
    return Lee_Xls_Fichero(temporal.fileName(), columnas, limites);
}

Hoja Lee_Hoja(const QString &fichero, int columnas, const Limites &limites)
{
    QFile f(fichero);
    if (!f.open(QIODevice::ReadOnly))
        Falla(Tipo::Fichero, QStringLiteral("%1 cannot be opened: %2").arg(fichero, f.errorString()));
    if (f.size() > limites.bytes_fichero)
        Falla(Tipo::Demasiado, QStringLiteral("%1 is larger than %2 bytes").arg(fichero).arg(limites.bytes_fichero));
    const QByteArray cabecera = f.peek(8);
    if (Es_Ole(cabecera)) {
        f.close();
        return Lee_Xls_Fichero(fichero, columnas, limites);
    }
    if (!Es_Zip(cabecera))
        Falla(Tipo::No_Libro, QStringLiteral("%1 is not a workbook").arg(fichero));
    const QByteArray bytes = f.readAll();
    if (bytes.size() != f.size())
        Falla(Tipo::Fichero, QStringLiteral("%1 cannot be read: %2").arg(fichero, f.errorString()));
    return Lee_Xlsx(bytes, columnas, limites);
}

void Escribe_Xlsx(const QString &fichero, const std::vector<QStringList> &filas, const QString &nombre_hoja)
{
    // Written beside the target and moved over it once complete: a failed
    // write leaves an earlier file as it was, and no half workbook.
    const QFileInfo destino(fichero);
    QTemporaryFile temporal(destino.absolutePath() + QStringLiteral("/.") + destino.fileName() + QStringLiteral(".XXXXXX"));
    if (!temporal.open())
        Falla(Tipo::Fichero, QStringLiteral("%1 cannot be written: %2").arg(fichero, temporal.errorString()));
    temporal.close();
    const QByteArray ruta = QFile::encodeName(temporal.fileName());

    lxw_workbook *libro = workbook_new(ruta.constData());
    if (!libro)
        Falla(Tipo::Fichero, QStringLiteral("%1 cannot be written").arg(fichero));
    lxw_worksheet *hoja = workbook_add_worksheet(libro, nombre_hoja.left(31).toUtf8().constData());
    if (!hoja)
        hoja = workbook_add_worksheet(libro, nullptr);
    // The text format tells the application that what is typed later in
    // these cells is text too.
    lxw_format *texto = workbook_add_format(libro);
    format_set_num_format(texto, "@");
    lxw_error error = LXW_NO_ERROR;
    for (std::size_t r = 0; r < filas.size() && error == LXW_NO_ERROR; ++r) {
        for (qsizetype c = 0; c < filas[r].size() && error == LXW_NO_ERROR; ++c) {
            const QByteArray valor = Escapa(filas[r][c].left(Largo_Celda)).toUtf8();
            // A string, never a value to interpret: "=1+1" stays those characters.
            error = worksheet_write_string(hoja, lxw_row_t(r), lxw_col_t(c), valor.constData(), texto);
        }
    }
    const lxw_error cierre = workbook_close(libro);
    if (error == LXW_NO_ERROR)
        error = cierre;
    if (error != LXW_NO_ERROR)
        Falla(Tipo::Fichero, QStringLiteral("%1 cannot be written: %2").arg(fichero, QString::fromUtf8(lxw_strerror(error))));
    if (std::rename(ruta.constData(), QFile::encodeName(destino.absoluteFilePath()).constData()) != 0)
        Falla(Tipo::Fichero, QStringLiteral("%1 cannot be written: %2").arg(fichero, QString::fromLocal8Bit(std::strerror(errno))));
    temporal.setAutoRemove(false);
}

} // namespace kv::libros
