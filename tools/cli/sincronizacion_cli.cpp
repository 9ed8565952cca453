#include "sincronizacion_cli.h"

#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "workflows/interlocutor.h"
#include "workflows/sincronizacion.h"

#include <cstdio>
#include <vector>

namespace kv::cli {
namespace {

// The verify reads each controller as a range of its own: a console counter
// would restart on every controller, so it shows nothing and the lines that
// follow are the report.
class Sin_Progreso : public kv::wf::Progreso {
public:
    void Muestra() override {}
    void Rango(int) override {}
    void Paso(const QString &) override {}
    void Cierra() override {}
};

// Assignments still waiting for their controller, as the database has them now.
int Pendientes()
{
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema->Tarjetas();
    int n = 0;
    for (int i = 0; i < tarjetas->Cuenta(); ++i)
        for (const TControladorTarjeta &a : tarjetas->Elemento(i)->Controladores())
            n += a.Controlador && !a.Almacenada;
    return n;
}

int Verifica(const QStringList &)
{
    Sin_Progreso progreso;
    const std::vector<kv::wf::Comparacion> lista = kv::wf::Verifica(progreso);
    ZARVColeccionControlador *controladores = Globales::Sistema->Controladores();
    int estado = 0;
    for (const kv::wf::Comparacion &k : lista) {
        if (!k.responde) {
            std::printf("%d no-answer\n", k.cod);
        } else if (k.Coincide()) {
            // Matching, the controller holds exactly what the database assigns it.
            const auto c = controladores->Busca(k.cod);
            std::printf("%d ok %d\n", k.cod, c ? static_cast<int>(c->Tarjetas_Controlador().size()) : 0);
        } else {
            std::printf("%d differs missing=%d extra=%d pending=%d\n", k.cod, static_cast<int>(k.faltan.size()),
                        static_cast<int>(k.sobran.size()), k.pendientes);
        }
        if (!k.Coincide())
            estado = 1;
    }
    // The codes after the summary: a script that only wants the verdict
    // stops reading at the first line that is not a controller's.
    for (const kv::wf::Comparacion &k : lista) {
        for (const QString &codigo : k.faltan)
            std::printf("%d missing %s\n", k.cod, qPrintable(codigo));
        for (const QString &codigo : k.sobran)
            std::printf("%d extra %s\n", k.cod, qPrintable(codigo));
    }
    return estado;
}

int Sincroniza(const QStringList &)
{
    for (const kv::wf::Envio_Pendiente &e : kv::wf::Sincroniza_Pendientes())
        std::printf("%d %s %s\n", e.cod, qPrintable(e.codigo), e.almacenada ? "stored" : "pending");
    // Counted again rather than from the attempts: an assignment the run
    // could not even try is still one a script has to come back for.
    return Pendientes() == 0 ? 0 : 1;
}

int Envia(const QStringList &)
{
    Progreso_Consola progreso;
    const kv::wf::Resultado_Envio r = kv::wf::Envia_Todas(progreso);
    std::printf("stored=%d pending=%d\n", r.cargadas, r.pendientes);
    return r.pendientes == 0 && !r.cancelada ? 0 : 1;
}

} // namespace

const Tabla_Comandos &Comandos_Sincronizacion()
{
    constexpr Alcance i = Alcance::Instalacion;
    static const Tabla_Comandos tabla = {
        {QStringLiteral("verify"), {0, 0, i, Verifica}},
        {QStringLiteral("sync"), {0, 0, i, Sincroniza}},
        {QStringLiteral("send"), {0, 0, i, Envia}},
    };
    return tabla;
}

QString Uso_Sincronizacion()
{
    return QStringLiteral(
        "the readers' card memories against the database:\n"
        "  verify                        read every reader's cards and compare, changing nothing:\n"
        "                                number ok cards, number differs missing=N extra=N pending=N\n"
        "                                or number no-answer; then number missing|extra CODE for each\n"
        "                                code that differs. Exit 1 unless every reader matched\n"
        "  sync                          send every pending assignment: number CODE stored|pending\n"
        "                                each; exit 1 while any is left pending\n"
        "  send                          empty every reader and load all its cards again; prints\n"
        "                                stored=N pending=N, exit 1 while any is left pending\n");
}

} // namespace kv::cli
