#include "model/serviciocopia.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <ibase.h>
#include <unistd.h>

namespace {

// The engine runs the tool inside this process, and on a backup that ends
// early the restore asks for the next volume on the process's own standard
// input: from a terminal it would wait there for ever. For the duration of a
// run, standard input reads as empty, which the tool takes as "no more
// volumes" and fails.
class EntradaVacia {
public:
    EntradaVacia()
    {
        const int nula = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (nula < 0)
            return;
        m_guardada = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
        ::dup2(nula, STDIN_FILENO);
        ::close(nula);
    }
    ~EntradaVacia()
    {
        if (m_guardada >= 0) {
            ::dup2(m_guardada, STDIN_FILENO);
            ::close(m_guardada);
        } else {
            ::close(STDIN_FILENO);
        }
    }
    EntradaVacia(const EntradaVacia &) = delete;
    EntradaVacia &operator=(const EntradaVacia &) = delete;

private:
    int m_guardada = -1;
};

// On that same early end the tool writes its prompt for the next volume to
// the process's standard output, where a script reading keyvane-cli's lines
// would take it for output. For the duration of a run standard output goes
// nowhere; the tool's lines come back through the service all the same.
class SalidaMuda {
public:
    SalidaMuda()
    {
        std::fflush(stdout);
        const int nula = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (nula < 0)
            return;
        m_guardada = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
        ::dup2(nula, STDOUT_FILENO);
        ::close(nula);
    }
    ~SalidaMuda()
    {
        std::fflush(stdout);
        if (m_guardada >= 0) {
            ::dup2(m_guardada, STDOUT_FILENO);
            ::close(m_guardada);
        }
    }
    SalidaMuda(const SalidaMuda &) = delete;
    SalidaMuda &operator=(const SalidaMuda &) = delete;

private:
    int m_guardada = -1;
};

// Service parameter blocks: a tag, a length (one byte at attach, two bytes in
// a request), then the bytes.
void Anade_Corto(QByteArray &spb, char tag, const QByteArray &valor)
{
    spb.append(tag);
    spb.append(char(qMin<qsizetype>(valor.size(), 255)));
    spb.append(valor.left(255));
}

void Anade_Largo(QByteArray &spb, char tag, const QByteArray &valor)
{
    spb.append(tag);
    spb.append(char(valor.size() & 0xff));
    spb.append(char((valor.size() >> 8) & 0xff));
    spb.append(valor);
}

void Anade_Entero(QByteArray &spb, char tag, quint32 valor)
{
    spb.append(tag);
    for (int i = 0; i < 4; ++i)
        spb.append(char((valor >> (8 * i)) & 0xff));
}

QString Mensaje_Estado(const ISC_STATUS *estado)
{
    QStringList partes;
    char buf[1024];
    const ISC_STATUS *p = estado;
    while (fb_interpret(buf, sizeof buf, &p) > 0)
        partes << QString::fromLocal8Bit(buf);
    return partes.join(QLatin1Char('\n'));
}

// The client library limits a path in a request block to 65535 bytes.
bool Ruta_Valida(const QByteArray &ruta)
{
    return !ruta.isEmpty() && ruta.size() < 0xffff;
}

// Every backup of the tool opens with the same record: the tool's own
// attributes (record 0), the first of them the backup format's version as a
// four-byte number (attribute 2, length 4).
bool Cabecera_De_Copia(const QString &fichero)
{
    QFile f(fichero);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray inicio = f.read(3);
    return inicio.size() == 3 && inicio[0] == 0 && inicio[1] == 2 && inicio[2] == 4;
}

// Whether the backup reaches its end record: the tool closes every backup
// with an attribute end (0) and the end record (10), then pads its last block
// with zeros. A file cut short is told here, before the restore starts: given
// one, the tool runs out of data and asks for the next volume, and run as a
// service it takes the empty answer as "read the same file again", for ever.
bool Final_De_Copia(const QString &fichero)
{
    QFile f(fichero);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 trozo = 64 * 1024;
    for (qint64 fin = f.size(); fin > 0;) {
        const qint64 desde = std::max<qint64>(0, fin - trozo);
        if (!f.seek(desde))
            return false;
        // One byte more than the chunk, so the pair is seen across a border.
        const QByteArray datos = f.read(std::min<qint64>(fin - desde + 1, f.size() - desde));
        for (qint64 i = std::min<qint64>(fin - desde, datos.size()) - 1; i >= 0; --i) {
            if (datos[i] == 0)
                continue;
            if (datos[i] != 10)
                return false;
            if (i > 0)
                return datos[i - 1] == 0;
            if (desde == 0)
                return false;
            f.seek(desde - 1);
            return f.read(1) == QByteArray(1, 0);
        }
        fin = desde;
    }
    return false;
}

// What kind of failure a restore's message tells. The tool's messages are
// its own fixed English texts; the ones matched here are those that decide
// what the operator must be told.
Fallo_Copia Fallo_Restauracion(const QString &fichero, const QString &mensaje)
{
    // "Expected backup version 1..10.  Found 11": a newer tool wrote it.
    static const QRegularExpression version(QStringLiteral("backup version 1\\.\\.(\\d+)\\.\\s*Found (\\d+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = version.match(mensaje);
    if (m.hasMatch() && m.captured(2).toLongLong() > m.captured(1).toLongLong() && Cabecera_De_Copia(fichero))
        return Fallo_Copia::Mas_Nueva;
    if (!Cabecera_De_Copia(fichero))
        return Fallo_Copia::No_Es_Copia;
    if (mensaje.contains(QLatin1String("incomplete"), Qt::CaseInsensitive)
        || mensaje.contains(QLatin1String("end of file"), Qt::CaseInsensitive))
        return Fallo_Copia::Incompleta;
    return Fallo_Copia::Danada;
}

} // namespace

ServicioCopia::ServicioCopia(const ParametrosBD &parametros, ProgresoCopia progreso)
    : m_parametros(parametros)
    , m_progreso(std::move(progreso))
{
}

ZARVResultadoCopia ServicioCopia::Copia(const QString &base_datos, const QString &fichero)
{
    const QByteArray bd = QFile::encodeName(base_datos), bk = QFile::encodeName(fichero);
    if (!Ruta_Valida(bd) || !Ruta_Valida(bk))
        return {false, QStringLiteral("Invalid file name"), {}, Fallo_Copia::Fichero};
    QByteArray peticion(1, char(isc_action_svc_backup));
    Anade_Largo(peticion, isc_spb_dbname, bd);
    Anade_Largo(peticion, isc_spb_bkp_file, bk);
    peticion.append(char(isc_spb_verbose));
    ZARVResultadoCopia r = Ejecuta(peticion);
    if (!r.Correcto) {
        const QFileInfo carpeta(QFileInfo(fichero).absolutePath());
        if (!carpeta.isDir() || !carpeta.isWritable())
            r.Fallo = Fallo_Copia::Fichero;
        else if (r.Mensaje.contains(QLatin1String("already opened"), Qt::CaseInsensitive))
            r.Fallo = Fallo_Copia::En_Uso;
    }
    return r;
}

ZARVResultadoCopia ServicioCopia::Restaura(const QString &fichero, const QString &base_datos)
{
    const QByteArray bd = QFile::encodeName(base_datos), bk = QFile::encodeName(fichero);
    if (!Ruta_Valida(bd) || !Ruta_Valida(bk))
        return {false, QStringLiteral("Invalid file name"), {}, Fallo_Copia::Fichero};
    const QFileInfo copia(fichero);
    if (!copia.isFile() || !copia.isReadable())
        return {false, QStringLiteral("Cannot read %1").arg(fichero), {}, Fallo_Copia::Fichero};
    if (Cabecera_De_Copia(fichero) && !Final_De_Copia(fichero))
        return {false, QStringLiteral("Backup incomplete: the file ends before the end of the backup"), {},
                Fallo_Copia::Incompleta};
    QByteArray peticion(1, char(isc_action_svc_restore));
    Anade_Largo(peticion, isc_spb_bkp_file, bk);
    Anade_Largo(peticion, isc_spb_dbname, bd);
    // Create, never replace: the target is always a fresh file.
    Anade_Entero(peticion, isc_spb_options, isc_spb_res_create);
    peticion.append(char(isc_spb_verbose));
    ZARVResultadoCopia r = Ejecuta(peticion);
    if (!r.Correcto)
        r.Fallo = Fallo_Restauracion(fichero, r.Mensaje);
    return r;
}

ZARVResultadoCopia ServicioCopia::Ejecuta(const QByteArray &peticion)
{
    ZARVResultadoCopia r;
    const EntradaVacia entrada;
    const SalidaMuda salida;
    ISC_STATUS_ARRAY estado{};
    isc_svc_handle servicio = 0;

    QByteArray spb;
    spb.append(char(isc_spb_version));
    spb.append(char(isc_spb_current_version));
    Anade_Corto(spb, isc_spb_user_name, m_parametros.usuario.toUtf8());
    Anade_Corto(spb, isc_spb_password, m_parametros.password.toUtf8());

    QByteArray nombre = QByteArrayLiteral("service_mgr");
    if (!m_parametros.host.isEmpty())
        nombre = m_parametros.host.toUtf8() + ':' + nombre;

    if (isc_service_attach(estado, 0, nombre.constData(), &servicio, static_cast<unsigned short>(spb.size()),
                           spb.constData())) {
        r.Mensaje = Mensaje_Estado(estado);
        return r;
    }

    if (isc_service_start(estado, &servicio, nullptr, static_cast<unsigned short>(peticion.size()),
                          peticion.constData())) {
        r.Mensaje = Mensaje_Estado(estado);
        isc_service_detach(estado, &servicio);
        return r;
    }

    // One verbose line per query until the tool says no more. A failure of the
    // tool comes back as the status of the query that would have read past it.
    const char items[] = {isc_info_svc_line};
    char respuesta[8192];
    bool fallo = false;
    for (;;) {
        if (isc_service_query(estado, &servicio, nullptr, 0, nullptr, sizeof items, items, sizeof respuesta,
                              respuesta)) {
            r.Mensaje = Mensaje_Estado(estado);
            fallo = true;
            break;
        }
        const char *p = respuesta;
        if (*p != isc_info_svc_line)
            break;
        ++p;
        const int largo = static_cast<int>(isc_vax_integer(p, 2));
        p += 2;
        if (largo <= 0 || p + largo > respuesta + sizeof respuesta)
            break;
        const QString linea = QString::fromLocal8Bit(p, largo).trimmed();
        r.Salida << linea;
        if (m_progreso)
            m_progreso(linea);
    }
    ISC_STATUS_ARRAY estado_cierre{};
    isc_service_detach(estado_cierre, &servicio);
    r.Correcto = !fallo;
    r.Fallo = fallo ? Fallo_Copia::Otro : Fallo_Copia::Ninguno;
    return r;
}
