#include "incidencias_cli.h"

#include "model/variables.h"
#include "model/zarvincidencia.h"
#include "workflows/consulta_incidencias.h"
#include "workflows/fichero_incidencias.h"

#include <cstdio>

namespace kv::cli {
namespace {

int Lista(const QStringList &a)
{
    const std::optional<QDateTime> inicio = Fecha(a[0]);
    const std::optional<QDateTime> fin = Fecha(a[1]);
    if (!inicio || !fin)
        return Falla(QStringLiteral("%1 is not a date (yyyy-MM-dd or yyyy-MM-ddTHH:mm[:ss])\n").arg(inicio ? a[1] : a[0])
                     + Uso_Incidencias());
    QString fichero;
    if (a.size() == 4 && a[2] == QLatin1String("--save"))
        fichero = kv::wf::Con_Extension_Txt(a[3]);
    else if (a.size() != 2)
        return Falla(QStringLiteral("incidences takes FROM TO and optionally --save FILE\n") + Uso_Incidencias());

    kv::wf::Consulta_Incidencias consulta;
    // A day given alone reaches to the next midnight, its last fractions of
    // a second included.
    if (a[1].contains(QLatin1Char('T')))
        consulta.Filtra(*inicio, *fin);
    else
        consulta.Filtra_Usuario(-1, *inicio, fin->date().addDays(1).startOfDay());
    QList<kv::wf::Fila_Incidencia> filas;
    // A page at a time, so a year of log is never held as objects at once.
    while (consulta.Quedan() > 0) {
        for (const auto &i : consulta.Siguientes(5000)) {
            const kv::wf::Fila_Incidencia f = kv::wf::Fila_De(*i, Variables::Tipos_Incidencia);
            if (fichero.isEmpty())
                std::printf("%s\t%s\t%s\t%s\t%s\n", qPrintable(f.Evento), qPrintable(f.Fecha), qPrintable(f.Origen),
                            qPrintable(f.Descripcion), qPrintable(f.Usuario));
            else
                filas.append(f);
        }
    }
    if (!fichero.isEmpty()) {
        kv::wf::Guarda_Fichero_Incidencias(fichero, filas);
        std::fprintf(stderr, "%lld incidences saved to %s\n", static_cast<long long>(filas.size()),
                     qPrintable(fichero));
    }
    return 0;
}

} // namespace

const Tabla_Comandos &Comandos_Incidencias()
{
    static const Tabla_Comandos tabla = {
        {QStringLiteral("incidences"), {2, 4, Alcance::Instalacion, Lista}},
    };
    return tabla;
}

QString Uso_Incidencias()
{
    return QStringLiteral(
        "incidence log of the installation:\n"
        "  incidences FROM TO [--save FILE]\n"
        "                                the incidences stored from FROM to TO (yyyy-MM-dd, a day\n"
        "                                given alone as TO reaching to its end, or yyyy-MM-ddTHH:mm[:ss]),\n"
        "                                newest first, one line each: event date source description\n"
        "                                user-id; --save writes them as the incidence view saves its\n"
        "                                list (.txt added when missing)\n");
}

} // namespace kv::cli
