#include "auditoria_cli.h"

#include "model/auditoria.h"
#include "model/globales.h"
#include "workflows/registro_operadores.h"

#include <cstdio>

namespace kv::cli {
namespace {

int Auditoria_Cli(const QStringList &a)
{
    if (a.size() % 2 != 0)
        return Falla(QStringLiteral("each option of audit takes a value\n") + Uso_Auditoria());
    Auditoria::Filtro filtro;
    QString libro;
    for (int i = 0; i < a.size(); i += 2) {
        const QString &opcion = a[i];
        const QString &valor = a[i + 1];
        if (opcion == QLatin1String("--from") || opcion == QLatin1String("--to")) {
            const QDate dia = QDate::fromString(valor, QStringLiteral("yyyy-MM-dd"));
            if (!dia.isValid())
                return Falla(QStringLiteral("%1 takes a date as yyyy-MM-dd, not \"%2\"").arg(opcion, valor));
            (opcion == QLatin1String("--from") ? filtro.desde : filtro.hasta) = dia;
        } else if (opcion == QLatin1String("--login")) {
            filtro.login = valor;
        } else if (opcion == QLatin1String("--object")) {
            filtro.objeto = valor;
        } else if (opcion == QLatin1String("--xlsx")) {
            libro = valor;
        } else {
            return Falla(QStringLiteral("%1 is not an option of audit\n").arg(opcion) + Uso_Auditoria());
        }
    }
    if (filtro.desde.isValid() && filtro.hasta.isValid() && filtro.hasta < filtro.desde)
        return Falla(QStringLiteral("--to is before --from"));
    if (!libro.isEmpty()) {
        const int n = kv::wf::Exporta_Auditoria(filtro, libro);
        std::fprintf(stderr, "%d entries written to %s\n", n, qPrintable(libro));
        return 0;
    }
    for (const Auditoria::Entrada &e : Auditoria::Lee(Globales::Sistema->Conexion(), filtro))
        std::printf("%s\n", Auditoria::Linea(e).toUtf8().constData());
    return 0;
}

} // namespace

const Tabla_Comandos &Comandos_Auditoria()
{
    static const Tabla_Comandos tabla = {
        {QStringLiteral("audit"), {0, 10, Alcance::Instalacion, Auditoria_Cli}},
    };
    return tabla;
}

QString Uso_Auditoria()
{
    return QStringLiteral(
        "operators' log:\n"
        "  audit [--from DATE] [--to DATE] [--login L] [--object TEXT] [--xlsx FILE]\n"
        "                                the open installation's log of changes, newest first, one\n"
        "                                tab-separated line per entry: time, login, action, card,\n"
        "                                cardholder, name, controller, outcome, detail. DATE is\n"
        "                                yyyy-MM-dd (--to includes that day); --object matches a card\n"
        "                                code, a cardholder or controller number, or text in the name\n"
        "                                or the detail; --xlsx writes the entries to a workbook instead\n");
}

} // namespace kv::cli
