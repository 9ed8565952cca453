#include "informes_cli.h"

#include "reports/informe.h"

#include <cstdio>
#include <cstring>

namespace kv::cli {
namespace {

int Informe(const QStringList &a)
{
    QString nombre;
    QString pdf;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] == QLatin1String("--pdf") && i + 1 < a.size() && pdf.isEmpty())
            pdf = a[++i];
        else if (!a[i].startsWith(QLatin1String("--")) && nombre.isEmpty())
            nombre = a[i];
        else
            return Falla(QStringLiteral("report takes NAME --pdf FILE\n") + Uso_Informes());
    }
    const kv::rep::Entrada_Catalogo *e = kv::rep::Busca(nombre);
    if (!e || pdf.isEmpty())
        return Falla(QStringLiteral("report takes NAME --pdf FILE, NAME one of users, cards, controllers, cards-per-user\n")
                     + Uso_Informes());
    try {
        const std::unique_ptr<kv::rep::Informe> informe = kv::rep::Informe::Ejecuta(e->indice);
        informe->Exporta_Pdf(pdf);
        std::printf("rows %lld pages %d\n", static_cast<long long>(informe->Filas()), informe->Numero_Paginas());
        return 0;
    } catch (const kv::rep::Error_Informe &error) {
        return Falla(error.Texto());
    }
}

} // namespace

const Tabla_Comandos &Comandos_Informes()
{
    static const Tabla_Comandos tabla = {
        {QStringLiteral("report"), {3, 3, Alcance::Instalacion, Informe}},
    };
    return tabla;
}

QString Uso_Informes()
{
    return QStringLiteral(
        "reports (templates in Data/ beside the program, captions from the report labels):\n"
        "  report users|cards|controllers|cards-per-user --pdf FILE\n"
        "                                renders the report of the installation to FILE (PDF) without a\n"
        "                                display; prints: rows N pages N. A missing or broken template\n"
        "                                is told with its file and line (exit 2)\n");
}

bool Es_Informe(int argc, char **argv)
{
    // The options before the command take a value each.
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strncmp(a, "--", 2) == 0) {
            if (std::strcmp(a, "--help") != 0)
                ++i;
            continue;
        }
        return std::strcmp(a, "report") == 0;
    }
    return false;
}

} // namespace kv::cli
