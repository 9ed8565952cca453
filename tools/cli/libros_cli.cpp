#include "libros_cli.h"

#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcontrolador.h"
#include "workbooks/libro.h"
#include "workflows/libro_tarjetas.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace kv::cli {
namespace {

int Exporta(const QStringList &a)
{
    try {
        const int n = kv::wf::Exporta_Libro(a[0]);
        std::printf("exported %d\n", n);
        return 0;
    } catch (const kv::libros::Error_Libro &e) {
        return Falla(QStringLiteral("the export failed: %1").arg(QString::fromUtf8(e.what())));
    }
}

// The readers given, or every reader of the installation; none with the
// reason told for a number the installation lacks.
std::optional<std::vector<int>> Lectores(const QString &texto)
{
    std::vector<int> lectores;
    if (texto.isNull()) {
        ZARVColeccionControlador *c = Globales::Sistema->Controladores();
        for (int i = 0; i < c->Cuenta(); ++i)
            lectores.push_back(c->Elemento(i)->Cod());
        return lectores;
    }
    if (texto == QLatin1String("none"))
        return lectores;
    for (const QString &t : texto.split(QLatin1Char(','))) {
        const int cod = Lector(t.trimmed());
        if (cod < 0)
            return std::nullopt;
        lectores.push_back(cod);
    }
    return lectores;
}

int Importa(const QStringList &a)
{
    QString fichero;
    QString lectores_texto;
    bool reemplazar = false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] == QLatin1String("--replace")) {
            reemplazar = true;
        } else if (a[i] == QLatin1String("--readers") && i + 1 < a.size()) {
            lectores_texto = a[++i];
        } else if (a[i].startsWith(QLatin1String("--")) || !fichero.isEmpty()) {
            return Falla(QStringLiteral("import-workbook takes FILE [--replace] [--readers N,N,...|none]\n") + Uso_Libros());
        } else {
            fichero = a[i];
        }
    }
    if (fichero.isEmpty())
        return Falla(QStringLiteral("import-workbook takes the workbook's file\n") + Uso_Libros());
    const std::optional<std::vector<int>> lectores = Lectores(lectores_texto);
    if (!lectores)
        return 2;
    kv::wf::Libro_Importacion libro;
    try {
        libro = kv::wf::Lee_Libro_Importacion(fichero);
    } catch (const kv::libros::Error_Libro &e) {
        return Falla(QStringLiteral("%1: nothing imported").arg(QString::fromUtf8(e.what())));
    }
    for (const kv::wf::Fila_Rechazada &r : libro.rechazadas)
        std::fprintf(stderr, "row %lld refused: %s \"%s\"\n", static_cast<long long>(r.fila),
                     r.motivo == kv::wf::Fila_Rechazada::Motivo::Codigo ? "not a card code (one to ten digits)"
                                                                      : "a name too long or on several lines, card",
                     qPrintable(r.texto));
    Progreso_Consola progreso;
    try {
        const kv::wf::Resultado_Importacion r = kv::wf::Importa_Libro(
            libro, reemplazar ? kv::wf::Modo_Importacion::Reemplazar : kv::wf::Modo_Importacion::Anadir, *lectores, progreso);
        std::printf("imported %d skipped %d refused %d\n", r.importadas, r.saltadas, r.rechazadas);
        if (r.importadas > 0 && !lectores->empty())
            std::fprintf(stderr, "the readers get the new cards with the next send (keyvane-cli send)\n");
        return r.rechazadas > 0 ? 1 : 0;
    } catch (const kv::wf::Importacion_Fallida &e) {
        return Falla(QString::fromUtf8(e.what()), 1);
    }
}

} // namespace

const Tabla_Comandos &Comandos_Libros()
{
    constexpr Alcance i = Alcance::Instalacion;
    static const Tabla_Comandos tabla = {
        {QStringLiteral("export-workbook"), {1, 1, i, Exporta}},
        {QStringLiteral("import-workbook"), {1, 4, i, Importa}},
    };
    return tabla;
}

QString Uso_Libros()
{
    return QStringLiteral(
        "cards and cardholders through a workbook (columns card, first name, surname; row 1 a header):\n"
        "  export-workbook FILE.xlsx     every card with its holder's names, all cells text\n"
        "  import-workbook FILE [--replace] [--readers N,N,...|none]\n"
        "                                reads FILE (.xlsx or .xls) from row 2 to the first empty\n"
        "                                code and stores the cards the installation lacks, each\n"
        "                                holder found by both names or made, pending for the readers\n"
        "                                given (default: every reader) until the next send; --replace\n"
        "                                deletes every card and cardholder first. One change: on an\n"
        "                                error nothing is stored. Prints: imported N skipped N refused N;\n"
        "                                rows refused (codes of letters or more than ten digits) are\n"
        "                                listed on standard error (exit 1)\n");
}

} // namespace kv::cli
