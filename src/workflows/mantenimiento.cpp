#include "workflows/mantenimiento.h"

#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"

#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"

#include <vector>

namespace kv::wf {

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
    trabajo.Termina();
    return Resultado_Tick::Hecho;
}

} // namespace kv::wf
