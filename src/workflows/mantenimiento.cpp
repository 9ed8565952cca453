#include "workflows/mantenimiento.h"

#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"
#include "workflows/tarjetas_lectores.h"

#include "link/zarvcomunicador.h"
#include "model/auditoria.h"
#include "model/globales.h"
#include "model/reloj.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"

#include <QStringList>

#include <vector>

namespace kv::wf {
namespace {

// True when some card had expired, whether or not every reader let it go.
bool Libera_Caducadas()
{
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema->Tarjetas();
    // Codes, not cards: every assignment removed reloads the collection.
    QStringList codigos;
    for (int i = 0; i < tarjetas->Cuenta(); ++i)
        codigos << tarjetas->Elemento(i)->Codigo_Tarjeta();
    const QDateTime ahora = Reloj::Ahora();
    bool caducadas = false;
    for (const QString &codigo : codigos) {
        const auto t = tarjetas->Busca(codigo);
        // A card that expires this very instant is still valid.
        if (!t || !t->Usar_Fecha_Cad() || !(t->Fecha_Caducidad() < ahora))
            continue;
        caducadas = true;
        if (!Borra_Tarjeta_Lectores(codigo))
            continue;
        // The copy loaded after the removals, without its assignments.
        if (const auto quitada = tarjetas->Busca(codigo))
            Libera_Tarjeta(*quitada);
    }
    return caducadas;
}

} // namespace

Resultado_Tick Tick_Mantenimiento(const std::function<void(const QString &descripcion)> &sin_respuesta)
{
    ZARVColeccionControlador *controladores = Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
    if (!controladores)
        return Resultado_Tick::Sin_Instalacion;
    if (Coordinacion::Ocupado())
        return Resultado_Tick::Saltado;
    Trabajo_Controladores trabajo;
    if (Variables::Testear_cx) {
        // The numbers first: a test keeps the event loop running, and the
        // collection may be walked by someone else meanwhile.
        std::vector<int> codigos;
        for (int i = 0; i < controladores->Cuenta(); ++i)
            codigos.push_back(controladores->Elemento(i)->Cod());
        for (const int codigo : codigos) {
            const auto c = Controlador(codigo);
            if (!c)
                continue;
            TTest_Informacion info;
            Comunicador(*c).Test_Lector(c->Direccion_Bus(), info);
            if (info.Correcto != 1 && sin_respuesta)
                sin_respuesta(c->Descripcion());
        }
    }
    const Auditoria::Automatico automatico;
    const bool caducadas = Variables::Liberar_tarj && Libera_Caducadas();
    trabajo.Termina();
    return caducadas ? Resultado_Tick::Caducadas : Resultado_Tick::Hecho;
}

} // namespace kv::wf
