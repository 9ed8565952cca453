#include "instalaciones_cli.h"

#include "model/globales.h"
#include "workflows/gestion_instalaciones.h"

#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace kv::cli {
namespace {

int Instalaciones(const QStringList &)
{
    for (const QString &entrada : Globales::Servidor->Lista_Instalaciones()) {
        const qsizetype separador = entrada.indexOf(QLatin1String(".- "));
        std::printf("%s %s\n", qPrintable(entrada.left(separador)), qPrintable(entrada.mid(separador + 3)));
    }
    return 0;
}

// The file as the caller named it, from the caller's directory: the
// database engine would take a relative name from wherever it runs.
int Ruta_Absoluta(QStringList &a)
{
    a[0] = QFileInfo(a[0]).absoluteFilePath();
    return 0;
}

int Lee_Copia(QStringList &a)
{
    Ruta_Absoluta(a);
    const QFileInfo copia(a[0]);
    if (!copia.isFile() || !copia.isReadable())
        return Falla(QStringLiteral("%1 cannot be read").arg(a[0]));
    return 0;
}

// The tool's lines while it works, on a terminal only.
void Progreso(const QString &linea)
{
    if (isatty(STDERR_FILENO))
        std::fprintf(stderr, "\r%-78.78s", qPrintable(linea));
}

void Fin_Progreso()
{
    if (isatty(STDERR_FILENO))
        std::fprintf(stderr, "\r%78s\r", "");
}

// A backup refused for what it holds changed nothing (1); a file that cannot
// be read or written, an installation in use and the database's own errors
// are file or database errors (2).
int Estado(Fallo_Copia fallo)
{
    switch (fallo) {
    case Fallo_Copia::No_Es_Copia:
    case Fallo_Copia::Danada:
    case Fallo_Copia::Incompleta:
    case Fallo_Copia::Ajena:
    case Fallo_Copia::Antigua:
    case Fallo_Copia::Mas_Nueva:
        return 1;
    default:
        return 2;
    }
}

int Copia(const QStringList &a)
{
    const QString codigo = kv::wf::Instalacion_Abierta();
    try {
        kv::wf::Exporta_Instalacion(codigo, a[0], Progreso);
    } catch (const kv::wf::Fallo_Instalacion &e) {
        Fin_Progreso();
        return Falla(e.Texto());
    }
    Fin_Progreso();
    std::printf("installation %s backed up to %s\n", qPrintable(codigo), qPrintable(a[0]));
    return 0;
}

int Restaura(const QStringList &a)
{
    const QString codigo = kv::wf::Instalacion_Abierta();
    try {
        kv::wf::Importa_Instalacion(codigo, a[0], kv::wf::Apertura_Modelo, Progreso);
    } catch (const kv::wf::Fallo_Instalacion &e) {
        Fin_Progreso();
        return Falla(e.Texto(), Estado(e.Fallo()));
    }
    Fin_Progreso();
    std::printf("installation %s restored from %s\n", qPrintable(codigo), qPrintable(a[0]));
    return 0;
}

} // namespace

const Tabla_Comandos &Comandos_Instalaciones()
{
    static const Tabla_Comandos tabla = {
        {QStringLiteral("installations"), {0, 0, Alcance::Base_Principal, Instalaciones}},
        {QStringLiteral("backup"), {1, 1, Alcance::Instalacion, Copia, Ruta_Absoluta}},
        {QStringLiteral("restore"), {1, 1, Alcance::Instalacion, Restaura, Lee_Copia}},
    };
    return tabla;
}

QString Uso_Instalaciones()
{
    return QStringLiteral(
        "installations (on the installation given, or the last one opened):\n"
        "  installations                 one line per installation: code name\n"
        "  backup FILE                   backs the installation up into FILE (the database tool's\n"
        "                                format, as the installation window exports it); a file of\n"
        "                                that name is replaced only by a complete backup\n"
        "  restore FILE                  replaces the installation's contents by the backup in FILE;\n"
        "                                its code and name stay. A file that is not a good backup of\n"
        "                                an installation is refused (status 1) and nothing changes\n");
}

} // namespace kv::cli
