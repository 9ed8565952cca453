#include "workflows/presencia.h"

#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcontrolador.h"
#include "model/zarvincidencia.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"

#include <QLocale>
#include <QStringDecoder>

#include <array>
#include <optional>
#include <vector>

namespace kv::wf {

Designacion Designacion_De(const QString &tipo)
{
    if (tipo == Tipo_Entrada)
        return Designacion::Entrada;
    if (tipo == Tipo_Salida)
        return Designacion::Salida;
    return Designacion::Ninguna;
}

QString Tipo_De(Designacion designacion)
{
    switch (designacion) {
    case Designacion::Entrada:
        return Tipo_Entrada;
    case Designacion::Salida:
        return Tipo_Salida;
    case Designacion::Ninguna:
        break;
    }
    return QString();
}

bool Designa_Lector(int codigo, Designacion designacion)
{
    // No line is needed for this; but storing reloads the controllers, and
    // the reload closes every line a controller holds. So listening is
    // suspended around it and opened again on the reloaded controllers, as
    // after any other change to the readers, and nothing else may hold them.
    Trabajo_Controladores trabajo;
    const std::shared_ptr<ZARVControlador> c = Controlador(codigo);
    if (!c)
        return false;
    ZARVControlador cambiado(*c);
    cambiado.Set_Tipo(Tipo_De(designacion));
    Globales::Sistema->Controladores()->Modifica(cambiado);
    trabajo.Termina();
    return true;
}

QDate Periodo_Presencia::Primer_Dia() const
{
    return vista == Mes ? QDate(fecha.year(), fecha.month(), 1) : fecha;
}

int Periodo_Presencia::Dias() const
{
    return vista == Mes ? fecha.daysInMonth() : 1;
}

QDateTime Periodo_Presencia::Inicio() const
{
    return Primer_Dia().startOfDay();
}

QDateTime Periodo_Presencia::Fin() const
{
    return Primer_Dia().addDays(Dias()).startOfDay();
}

QString Texto_Estancia(const QDateTime &primera_entrada, const QDateTime &ultima_salida)
{
    if (!primera_entrada.isValid() || !ultima_salida.isValid() || ultima_salida <= primera_entrada)
        return QString();
    const qint64 segundos = primera_entrada.secsTo(ultima_salida);
    return QStringLiteral("%1:%2:%3").arg(segundos / 3600).arg(segundos % 3600 / 60).arg(segundos % 60);
}

namespace {

// Attendance counts whole seconds: two events within one second are at the
// same time, whatever fraction the log kept.
QDateTime Al_Segundo(const QDateTime &momento)
{
    return momento.addMSecs(-momento.time().msec());
}

} // namespace

QList<Fila_Presencia> Consulta_Presencia::Filas(int usuario, const Periodo_Presencia &periodo)
{
    const QLocale sistema = QLocale::system();
    const QDate primero = periodo.Primer_Dia();
    const int dias = periodo.Dias();
    m_consulta.Filtra_Usuario(usuario, periodo.Inicio(), periodo.Fin());
    if (periodo.vista == Periodo_Presencia::Dia && m_consulta.Quedan() == 0)
        return {};

    QList<Fila_Presencia> filas(dias);
    for (int d = 0; d < dias; ++d)
        filas[d].Dia = sistema.toString(primero.addDays(d), QLocale::ShortFormat);
    std::vector<QDateTime> entradas(static_cast<size_t>(dias));
    std::vector<QDateTime> salidas(static_cast<size_t>(dias));
    ZARVColeccionControlador *controladores = Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
    while (m_consulta.Quedan() > 0) {
        for (const std::shared_ptr<ZARVIncidencia> &i : m_consulta.Siguientes(ZARVColeccionIncidencia::PAGINA)) {
            const std::shared_ptr<ZARVControlador> c =
                i->Usr() == usuario && controladores ? controladores->Busca(i->Controlador()) : nullptr;
            if (!c)
                continue;
            const Designacion designacion = Designacion_De(c->Tipo());
            const QDateTime t = Al_Segundo(i->Timestamp());
            const qint64 d = primero.daysTo(t.date());
            if (designacion == Designacion::Ninguna || d < 0 || d >= dias)
                continue;
            const QString evento =
                QLatin1Char('[') + i->Hora_Texto() + QLatin1Char(' ') + c->Descripcion() + QLatin1Char(']');
            // Newest first: each cell lists its events from the latest back.
            if (designacion == Designacion::Entrada) {
                filas[d].Entradas += evento;
                if (!entradas[d].isValid() || t < entradas[d])
                    entradas[d] = t;
            } else {
                filas[d].Salidas += evento;
                if (!salidas[d].isValid() || t > salidas[d])
                    salidas[d] = t;
            }
        }
    }
    for (int d = 0; d < dias; ++d)
        filas[d].Estancia = Texto_Estancia(entradas[d], salidas[d]);
    return filas;
}

namespace {

constexpr int Campos = 4;
constexpr char Marca_Utf8[] = "\xEF\xBB\xBF";

// Windows-1252 from 0x80 to 0x9F; the rest of the code page is Latin-1. The
// five bytes it leaves undefined stand for the control characters of the same
// number, as Windows itself reads them.
constexpr std::array<char16_t, 32> Cp1252_Alto = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString Desde_Cp1252(QByteArrayView bytes)
{
    QString texto(bytes.size(), Qt::Uninitialized);
    QChar *out = texto.data();
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *out++ = QChar(u >= 0x80 && u < 0xA0 ? Cp1252_Alto[u - 0x80] : char16_t(u));
    }
    return texto;
}

std::optional<char> A_Cp1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (size_t i = 0; i < Cp1252_Alto.size(); ++i)
        if (Cp1252_Alto[i] == u)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

// The whole text in Windows-1252, or none when a character does not fit.
std::optional<QByteArray> En_Cp1252(const QString &texto)
{
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (QChar c : texto) {
        const std::optional<char> b = A_Cp1252(c);
        if (!b)
            return std::nullopt;
        bytes += *b;
    }
    return bytes;
}

Fila_Presencia Fila_De_Campos(const QStringList &c)
{
    // The fields a short line lacks are the middle ones.
    switch (c.size()) {
    case 1:
        return {QString(), QString(), QString(), c[0]};
    case 2:
        return {c[0], QString(), QString(), c[1]};
    case 3:
        return {c[0], c[1], QString(), c[2]};
    default:
        return {c[0], c[1], c[2], c[3]};
    }
}

} // namespace

QByteArray Escribe_Presencia(const QList<Fila_Presencia> &filas)
{
    QString texto;
    for (const Fila_Presencia &f : filas) {
        texto += Une_Campos({f.Dia, f.Entradas, f.Salidas, f.Estancia});
        texto += QLatin1String("\r\n");
    }
    // Bytes that would read as the mark are no Windows-1252 file either.
    if (const std::optional<QByteArray> cp1252 = En_Cp1252(texto); cp1252 && !cp1252->startsWith(Marca_Utf8))
        return *cp1252;
    return QByteArray(Marca_Utf8) + texto.toUtf8();
}

Lectura_Presencia Lee_Presencia(const QByteArray &bytes, const Limites_Lectura &limites)
{
    Lectura_Presencia r;
    const bool utf8 = bytes.startsWith(Marca_Utf8);
    r.cortada = Recorre_Lineas(bytes, limites, [&r, utf8](QByteArrayView linea) {
        // The file's mark is gone by now: one more starting a line is text.
        // A damaged sequence reads as the replacement character; the rest of
        // its line still counts.
        QStringDecoder decodificador(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        const QString texto = utf8 ? QString(decodificador(linea)) : Desde_Cp1252(linea);
        if (const std::optional<QStringList> campos = Separa_Campos(texto, Campos))
            r.filas.append(Fila_De_Campos(*campos));
        else
            ++r.saltadas;
    });
    return r;
}

void Guarda_Fichero_Presencia(const QString &ruta, const QList<Fila_Presencia> &filas)
{
    Guarda_Bytes(ruta, Escribe_Presencia(filas));
}

Lectura_Presencia Lee_Fichero_Presencia(const QString &ruta, const Limites_Lectura &limites)
{
    return Lee_Presencia(Lee_Bytes(ruta, limites), limites);
}

} // namespace kv::wf
