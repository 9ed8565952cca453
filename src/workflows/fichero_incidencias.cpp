#include "workflows/fichero_incidencias.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <stdexcept>

namespace kv::wf {

namespace {

constexpr QChar Separador = QLatin1Char('*');
constexpr QChar Barra = QLatin1Char('\\');
constexpr int Campos = 5;
constexpr char Marca_Utf8[] = "\xEF\xBB\xBF";

bool Es_Control(QChar c)
{
    return c.unicode() < 0x20 && c != QLatin1Char('\t');
}

// Doubles the backslashes that run into a "*": the one escaping it, or the
// separator after the field (ultimo: no separator follows).
void Escapa(QString &out, const QString &campo, bool ultimo)
{
    qsizetype barras = 0;
    for (QChar c : campo) {
        if (Es_Control(c))
            c = QLatin1Char(' ');
        if (c == Separador) {
            out += QString(barras + 1, Barra);
            barras = 0;
        } else {
            barras = c == Barra ? barras + 1 : 0;
        }
        out += c;
    }
    if (!ultimo)
        out += QString(barras, Barra);
}

[[noreturn]] void Falla(const QString &ruta, const QString &motivo)
{
    throw std::runtime_error((ruta + QStringLiteral(": ") + motivo).toUtf8().toStdString());
}

QString Decodifica(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : texto;
}

} // namespace

QString Une_Campos(const QStringList &campos)
{
    QString out;
    for (qsizetype i = 0; i < campos.size(); ++i) {
        if (i > 0)
            out += Separador;
        Escapa(out, campos[i], i == campos.size() - 1);
    }
    return out;
}

std::optional<QStringList> Separa_Campos(const QString &linea, int maximo)
{
    for (QChar c : linea)
        if (Es_Control(c))
            return std::nullopt;
    QStringList campos(1);
    const qsizetype largo = linea.size();
    for (qsizetype i = 0; i < largo;) {
        const QChar c = linea[i];
        if (c == Barra) {
            qsizetype j = i;
            while (j < largo && linea[j] == Barra)
                ++j;
            const qsizetype barras = j - i;
            if (j < largo && linea[j] == Separador) {
                campos.back() += QString(barras / 2, Barra);
                if (barras % 2) {
                    campos.back() += Separador;
                    ++j;
                }
            } else {
                campos.back() += QString(barras, Barra);
            }
            i = j;
        } else if (c == Separador) {
            // The last field takes the rest of the line, further "*" included.
            if (campos.size() < maximo)
                campos.append(QString());
            else
                campos.back() += c;
            ++i;
        } else {
            campos.back() += c;
            ++i;
        }
    }
    return campos;
}

QString Linea_Incidencia(const Fila_Incidencia &fila)
{
    return Une_Campos({fila.Evento, fila.Fecha, fila.Origen, fila.Descripcion, fila.Usuario});
}

bool Lee_Linea_Incidencia(const QString &linea, Fila_Incidencia &fila)
{
    const std::optional<QStringList> campos = Separa_Campos(linea, Campos);
    if (!campos || campos->size() < Campos)
        return false;
    const QStringList &c = *campos;
    fila = {c[0], c[1], c[2], c[3], c[4]};
    return true;
}

QByteArray Escribe_Incidencias(const QList<Fila_Incidencia> &filas)
{
    QByteArray out;
    // Reading takes a byte order mark off the start of the file: a first
    // field that begins with one needs another in front to keep it.
    if (!filas.isEmpty() && filas.front().Evento.startsWith(QChar(0xFEFF)))
        out += Marca_Utf8;
    for (const Fila_Incidencia &f : filas) {
        out += Linea_Incidencia(f).toUtf8();
        out += '\n';
    }
    return out;
}

bool Recorre_Lineas(QByteArrayView bytes, const Limites_Lectura &limites,
                    const std::function<void(QByteArrayView linea)> &linea)
{
    bool cortada = false;
    QByteArrayView resto(bytes);
    if (resto.size() > limites.bytes) {
        // Only whole lines within the limit: the one cut in two is not a row.
        resto = resto.first(limites.bytes);
        resto = resto.first(resto.lastIndexOf('\n') + 1);
        cortada = true;
    }
    if (resto.startsWith(Marca_Utf8))
        resto = resto.sliced(3);
    qsizetype lineas = 0;
    while (!resto.isEmpty()) {
        if (lineas == limites.lineas)
            return true;
        ++lineas;
        const qsizetype fin = resto.indexOf('\n');
        QByteArrayView una = fin < 0 ? resto : resto.first(fin);
        resto = fin < 0 ? QByteArrayView() : resto.sliced(fin + 1);
        if (una.endsWith('\r'))
            una.chop(1);
        if (!una.trimmed().isEmpty())
            linea(una);
    }
    return cortada;
}

Lectura_Incidencias Lee_Incidencias(const QByteArray &bytes, const Limites_Lectura &limites)
{
    Lectura_Incidencias r;
    r.cortada = Recorre_Lineas(bytes, limites, [&r](QByteArrayView linea) {
        Fila_Incidencia fila;
        if (Lee_Linea_Incidencia(Decodifica(linea), fila))
            r.filas.append(std::move(fila));
        else
            ++r.saltadas;
    });
    return r;
}

QString Con_Extension_Txt(const QString &nombre)
{
    static const QString txt = QStringLiteral(".txt");
    return nombre.endsWith(txt, Qt::CaseInsensitive) ? nombre : nombre + txt;
}

void Guarda_Bytes(const QString &ruta, const QByteArray &bytes)
{
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly))
        Falla(ruta, f.errorString());
    if (f.write(bytes) != bytes.size() || !f.commit())
        Falla(ruta, f.errorString());
}

QByteArray Lee_Bytes(const QString &ruta, const Limites_Lectura &limites)
{
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        Falla(ruta, f.errorString());
    // One byte over the limit tells a file that is larger from one that is not.
    const QByteArray bytes = f.read(limites.bytes + 1);
    if (f.error() != QFileDevice::NoError)
        Falla(ruta, f.errorString());
    return bytes;
}

void Guarda_Fichero_Incidencias(const QString &ruta, const QList<Fila_Incidencia> &filas)
{
    Guarda_Bytes(ruta, Escribe_Incidencias(filas));
}

Lectura_Incidencias Lee_Fichero_Incidencias(const QString &ruta, const Limites_Lectura &limites)
{
    return Lee_Incidencias(Lee_Bytes(ruta, limites), limites);
}

} // namespace kv::wf
