#include "workflows/tarjetas_lectores.h"

#include "workflows/flujo_lectores.h"

#include "link/zarvcomunicador.h"
#include "model/auditoria.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"

#include <algorithm>

namespace kv::wf {
namespace {

bool Responde(ZARVComunicador &com, std::uint8_t direccion)
{
    TTest_Informacion info;
    com.Test_Lector(direccion, info);
    return info.Correcto == 1;
}

// The entry of a card's exchange with a controller that the database does
// not record by itself: a refusal, or a send over an existing assignment.
void Anota(Auditoria::Accion accion, const ZARVTarjeta &tarjeta, int cod, bool hecho)
{
    Auditoria::Objeto objeto = Auditoria::De_Tarjeta(tarjeta);
    objeto.controlador = cod;
    Auditoria::Registra(Globales::Sistema->Tarjetas()->Conexion_BD(), accion, objeto,
                        hecho ? Auditoria::Resultado::Hecho : Auditoria::Resultado::Rechazado);
}

} // namespace

void Libera_Tarjeta(const ZARVTarjeta &tarjeta)
{
    ZARVTarjeta libre(tarjeta);
    libre.Set_Usuario(nullptr);
    libre.Set_Usar_Fecha_Cad(false);
    Globales::Sistema->Tarjetas()->Modifica(libre);
}

void Envia_Tarjeta_Lectores(const ZARVTarjeta &tarjeta, const std::vector<int> &controladores)
{
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema->Tarjetas();
    for (const int cod : controladores) {
        const auto c = Controlador(cod);
        if (!c)
            continue;
        ZARVComunicador &com = Comunicador(*c);
        const std::uint8_t direccion = c->Direccion_Bus();
        bool guardada = false;
        if (Responde(com, direccion)) {
            com.SetConectado(true);
            guardada = com.Anyadir_Tarjeta(tarjeta.Codigo_Tarjeta(), direccion);
            com.SetConectado(false);
        }
        // A new assignment logs itself; the controller's refusal, or a send
        // of a card it was already given, is logged here.
        const bool nueva = !c->Tiene_Tarjeta(tarjeta);
        if (nueva)
            tarjetas->Asigna(tarjeta, cod, guardada);
        if (!nueva || !guardada)
            Anota(Auditoria::Accion::Tarjetas_Enviadas, tarjeta, cod, guardada);
    }
}

bool Retira_Tarjeta(const ZARVTarjeta &tarjeta, const Retirada &como)
{
    bool todas = true;
    // The assignments as loaded: removing one reloads the collections.
    const std::vector<TControladorTarjeta> asignaciones = tarjeta.Controladores();
    for (const TControladorTarjeta &a : asignaciones) {
        if (!a.Controlador || (como.visita && !como.visita(a.Controlador->Cod())))
            continue;
        const auto c = Controlador(a.Controlador->Cod());
        if (!c) {
            todas = false;
            continue;
        }
        ZARVComunicador &com = Comunicador(*c);
        const std::uint8_t direccion = c->Direccion_Bus();
        bool borrada = false;
        if (Responde(com, direccion)) {
            borrada = com.Borrar_Tarjeta(tarjeta.Codigo_Tarjeta(), direccion);
            if (!borrada && como.reintento)
                borrada = com.Borrar_Tarjeta(tarjeta.Codigo_Tarjeta(), direccion);
        }
        if (borrada) {
            Globales::Sistema->Controladores()->Quita_Tarjeta(*c, tarjeta.Codigo_Tarjeta());
        } else {
            Anota(Auditoria::Accion::Tarjeta_Retirada, tarjeta, c->Cod(), false);
            todas = false;
        }
    }
    return todas;
}

bool Quita_Tarjeta_Lectores(const ZARVTarjeta &tarjeta)
{
    return Retira_Tarjeta(tarjeta);
}

void Elimina_TODAS_tarjetas(const ZARVUsuario &usuario)
{
    for (const TTarjetaElemento &e : Globales::Sistema->Usuarios()->Tarjetas_Usuario(usuario)) {
        // Freed once no reader holds it any more; a reader that kept it keeps
        // it for this user until the next send or deletion.
        if (Retira_Tarjeta(*e.Tarjeta))
            Libera_Tarjeta(*e.Tarjeta);
    }
}

bool Elimina_Tarjeta_Fisicamente(const ZARVTarjeta &tarjeta, const std::vector<int> &marcados)
{
    return Retira_Tarjeta(tarjeta, {false, [&marcados](int cod) {
                                        return std::find(marcados.begin(), marcados.end(), cod) != marcados.end();
                                    }});
}

bool Borro_la_tarjeta_TODOS_CX(const ZARVTarjeta &tarjeta)
{
    return Retira_Tarjeta(tarjeta, {true, {}});
}

bool Borra_Tarjeta_Lectores(const QString &codigo)
{
    // Kept alive by the pointer: each assignment removed reloads the collection.
    const auto tarjeta = Globales::Sistema->Tarjetas()->Busca(Completa_Codigo(codigo));
    return tarjeta && Retira_Tarjeta(*tarjeta, {true, {}});
}

} // namespace kv::wf
