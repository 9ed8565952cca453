#include "presencia_cli.h"

#include "model/globales.h"
#include "model/zarvcoleccionusuario.h"
#include "workflows/fichero_incidencias.h"
#include "workflows/presencia.h"

#include <cstdio>
#include <optional>

namespace kv::cli {
namespace {

// yyyy-MM is a month, yyyy-MM-dd a day.
std::optional<kv::wf::Periodo_Presencia> Periodo(const QString &texto)
{
    const QDate dia = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
    if (dia.isValid())
        return kv::wf::Periodo_Presencia{kv::wf::Periodo_Presencia::Dia, dia};
    const QDate mes = QDate::fromString(texto, QStringLiteral("yyyy-MM"));
    if (mes.isValid())
        return kv::wf::Periodo_Presencia{kv::wf::Periodo_Presencia::Mes, mes};
    return std::nullopt;
}

int Hoja(const QStringList &a)
{
    bool numero = false;
    const int usuario = a[0].toInt(&numero);
    if (!numero)
        return Falla(QStringLiteral("%1 is not a cardholder number\n").arg(a[0]) + Uso_Presencia());
    const std::optional<kv::wf::Periodo_Presencia> periodo = Periodo(a[1]);
    if (!periodo)
        return Falla(QStringLiteral("%1 is not a month (yyyy-MM) or a day (yyyy-MM-dd)\n").arg(a[1]) + Uso_Presencia());
    QString fichero;
    if (a.size() == 4 && a[2] == QLatin1String("--save"))
        fichero = kv::wf::Con_Extension_Txt(a[3]);
    else if (a.size() != 2)
        return Falla(QStringLiteral("attendance takes USER-ID PERIOD and optionally --save FILE\n") + Uso_Presencia());
    if (!Globales::Sistema->Usuarios()->Busca(usuario))
        return Falla(QStringLiteral("the installation has no cardholder %1").arg(usuario));

    kv::wf::Consulta_Presencia consulta;
    const QList<kv::wf::Fila_Presencia> filas = consulta.Filas(usuario, *periodo);
    if (!fichero.isEmpty()) {
        kv::wf::Guarda_Fichero_Presencia(fichero, filas);
        std::fprintf(stderr, "%lld rows saved to %s\n", static_cast<long long>(filas.size()), qPrintable(fichero));
        return 0;
    }
    for (const kv::wf::Fila_Presencia &f : filas)
        std::printf("%s\t%s\t%s\t%s\n", qPrintable(f.Dia), qPrintable(f.Entradas), qPrintable(f.Salidas),
                    qPrintable(f.Estancia));
    return 0;
}

int Designa(const QStringList &a)
{
    const int codigo = Lector(a[0]);
    if (codigo < 0)
        return 2;
    static const QMap<QString, kv::wf::Designacion> designaciones = {
        {QStringLiteral("entrance"), kv::wf::Designacion::Entrada},
        {QStringLiteral("exit"), kv::wf::Designacion::Salida},
        {QStringLiteral("none"), kv::wf::Designacion::Ninguna},
    };
    if (!designaciones.contains(a[1]))
        return Falla(QStringLiteral("%1 is not entrance, exit or none\n").arg(a[1]) + Uso_Presencia());
    if (!kv::wf::Designa_Lector(codigo, designaciones.value(a[1])))
        return Falla(QStringLiteral("the installation has no reader %1").arg(codigo));
    std::printf("%d\t%s\n", codigo, qPrintable(a[1]));
    return 0;
}

} // namespace

const Tabla_Comandos &Comandos_Presencia()
{
    static const Tabla_Comandos tabla = {
        {QStringLiteral("attendance"), {2, 4, Alcance::Instalacion, Hoja}},
        {QStringLiteral("readers-designate"), {2, 2, Alcance::Instalacion, Designa}},
    };
    return tabla;
}

QString Uso_Presencia()
{
    return QStringLiteral(
        "attendance:\n"
        "  attendance USER-ID yyyy-MM|yyyy-MM-dd [--save FILE]\n"
        "                                the cardholder's time sheet of a month (a line per day) or a\n"
        "                                day (no line without incidences): day entries exits stay, the\n"
        "                                entries and exits at the readers designated so, latest first;\n"
        "                                --save writes it as the attendance area saves its table\n"
        "                                (Windows-1252, .txt added when missing)\n"
        "  readers-designate N entrance|exit|none\n"
        "                                which readers count as entrance or exit for attendance\n");
}

} // namespace kv::cli
