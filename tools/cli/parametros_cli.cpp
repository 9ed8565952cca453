#include "parametros_cli.h"

#include "lang/lang.h"
#include "workflows/parametros.h"

#include <cstdio>
#include <optional>

namespace kv::cli {
namespace {

std::optional<bool> Si_No(const QString &texto)
{
    if (texto == QLatin1String("yes"))
        return true;
    if (texto == QLatin1String("no"))
        return false;
    return std::nullopt;
}

void Muestra(const kv::wf::Parametros_App &p)
{
    const auto si_no = [](bool b) { return b ? "yes" : "no"; };
    std::printf("language\t%s\n", qPrintable(p.Idioma));
    std::printf("release-cards\t%s\n", si_no(p.Liberar_tarj));
    std::printf("test-readers\t%s\n", si_no(p.Testear_cx));
    std::printf("reading-reader\t%s\n", p.USA_LECTOR.isEmpty() ? "none" : qPrintable(p.USA_LECTOR));
    std::printf("delete-incidences\t%d\n", p.El_inc);
}

int Parametros(const QStringList &a)
{
    kv::wf::Parametros_App p = kv::wf::Parametros_Actuales();
    if (a.size() % 2 != 0)
        return Falla(QStringLiteral("each option of parameters takes a value\n") + Uso_Parametros());
    for (int i = 0; i < a.size(); i += 2) {
        const QString &opcion = a[i];
        const QString &valor = a[i + 1];
        if (opcion == QLatin1String("--language")) {
            QString idioma;
            for (const QString &s : Lang::Idiomas_Disponibles()) {
                if (s.compare(valor, Qt::CaseInsensitive) == 0)
                    idioma = s;
            }
            if (idioma.isEmpty())
                return Falla(QStringLiteral("the language file has no language %1 (it has %2)")
                                 .arg(valor, Lang::Idiomas_Disponibles().join(QStringLiteral(", "))));
            if (idioma.compare(p.Idioma, Qt::CaseInsensitive) != 0)
                p.Idioma = idioma;
        } else if (opcion == QLatin1String("--release-cards") || opcion == QLatin1String("--test-readers")) {
            const std::optional<bool> b = Si_No(valor);
            if (!b)
                return Falla(QStringLiteral("%1 takes yes or no").arg(opcion));
            (opcion == QLatin1String("--release-cards") ? p.Liberar_tarj : p.Testear_cx) = *b;
        } else if (opcion == QLatin1String("--reading-reader")) {
            if (valor == QLatin1String("none")) {
                p.USA_LECTOR.clear();
            } else {
                const int codigo = Lector(valor);
                if (codigo < 0)
                    return 2;
                p.USA_LECTOR = QString::number(codigo);
            }
        } else {
            return Falla(QStringLiteral("%1 is not an option of parameters\n").arg(opcion) + Uso_Parametros());
        }
    }
    if (!a.isEmpty())
        std::fprintf(stderr, "%s\n", kv::wf::Aplica_Parametros(p) ? "settings written" : "nothing changed");
    Muestra(kv::wf::Parametros_Actuales());
    return 0;
}

} // namespace

const Tabla_Comandos &Comandos_Parametros()
{
    static const Tabla_Comandos tabla = {
        {QStringLiteral("parameters"), {0, 8, Alcance::Instalacion, Parametros}},
    };
    return tabla;
}

QString Uso_Parametros()
{
    return QStringLiteral(
        "application parameters:\n"
        "  parameters [--language NAME] [--release-cards yes|no] [--test-readers yes|no]\n"
        "             [--reading-reader N|none]\n"
        "                                shows the parameters; with options, changes them and writes the\n"
        "                                settings file when anything differs. They take effect when the\n"
        "                                program next starts; a running program writes its own when it closes\n");
}

} // namespace kv::cli
