#include "workflows/flujo_tarjetas.h"

#include "workflows/coordinacion.h"
#include "workflows/flujo_usuarios.h"
#include "workflows/interlocutor.h"
#include "workflows/tarjetas_lectores.h"

#include "model/auditoria.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvtarjeta.h"

namespace kv::wf {
namespace {

ZARVColeccionTarjeta *Tarjetas()
{
    return Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
}

// A deletion the operator stopped: the card stays.
void Anota_Cancelada(ZARVColeccionTarjeta &tarjetas, const QString &codigo)
{
    const auto t = tarjetas.Busca(Completa_Codigo(codigo));
    Auditoria::Objeto objeto = t ? Auditoria::De_Tarjeta(*t) : Auditoria::Objeto{};
    objeto.tarjeta = Completa_Codigo(codigo);
    Auditoria::Registra(tarjetas.Conexion_BD(), Auditoria::Accion::Tarjeta_Baja, objeto, Auditoria::Resultado::Cancelado);
}

} // namespace

Registro Registra_Tarjeta(const QString &texto, bool usar_caducidad, const QDateTime &caducidad)
{
    if (texto.isEmpty())
        return Registro::Vacio;
    const std::optional<QString> codigo = Codigo_Tarjeta(texto);
    if (!codigo)
        return Registro::No_Codigo;
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    if (!tarjetas)
        throw std::runtime_error("No installation is open");
    if (tarjetas->Existe(*codigo))
        return Registro::Ya_Existe;
    ZARVTarjeta nueva;
    nueva.Set_Codigo_Tarjeta(*codigo);
    nueva.Set_Fecha_Alta(QDateTime::currentDateTime());
    nueva.Set_Fecha_Caducidad(caducidad);
    nueva.Set_Usar_Fecha_Cad(usar_caducidad);
    tarjetas->Inserta(nueva);
    // The collection swallows some insert failures; the card counts as
    // stored only once the database has it.
    if (!tarjetas->Existe(*codigo))
        throw std::runtime_error(QStringLiteral("The card %1 was not stored").arg(*codigo).toStdString());
    return Registro::Hecho;
}

bool Guarda_Caducidad(const QString &codigo, bool usar_caducidad, const QDateTime &caducidad)
{
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    const auto t = tarjetas ? tarjetas->Busca(codigo) : nullptr;
    if (!t)
        return false;
    ZARVTarjeta cambiada(*t);
    cambiada.Set_Usar_Fecha_Cad(usar_caducidad);
    cambiada.Set_Fecha_Caducidad(caducidad);
    tarjetas->Modifica(cambiada);
    return true;
}

bool Borra_Tarjeta(const QString &codigo, const std::function<bool()> &borrar_retenida)
{
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    const auto t = tarjetas ? tarjetas->Busca(Completa_Codigo(codigo)) : nullptr;
    if (!t)
        return false;
    Borro_la_tarjeta_TODOS_CX(*t);
    if (tarjetas->Esta_Asignada(t->Codigo_Tarjeta())) {
        if (!borrar_retenida()) {
            Anota_Cancelada(*tarjetas, codigo);
            return false;
        }
        tarjetas->Quita_Asignaciones(*t);
    }
    tarjetas->Elimina(*t);
    return true;
}

int Elimina_Tarjetas(const QStringList &codigos, const QStringList &textos, Progreso &progreso,
                     Interlocutor &operador, const std::function<bool()> &borrar_retenida)
{
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    if (!tarjetas || codigos.isEmpty())
        return 0;
    Trabajo_Controladores trabajo;
    Cierre_Progreso cierre(progreso);
    progreso.Muestra();
    progreso.Rango(static_cast<int>(codigos.size()));
    // What other windows changed since the list was drawn.
    tarjetas->Refrescar();
    int borradas = 0;
    for (qsizetype i = 0; i < codigos.size(); ++i) {
        if (progreso.Cancelado()) {
            // Every card not reached stays, and the log says so.
            for (qsizetype j = i; j < codigos.size(); ++j)
                Anota_Cancelada(*tarjetas, codigos[j]);
            break;
        }
        progreso.Paso(i < textos.size() ? textos[i] : codigos[i]);
        if (!tarjetas->Busca(Completa_Codigo(codigos[i]))) {
            operador.Mensaje(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_48")) + QLatin1Char(' ')
                             + codigos[i]);
            continue;
        }
        borradas += Borra_Tarjeta(codigos[i], borrar_retenida);
        tarjetas->Refrescar();
    }
    trabajo.Termina();
    return borradas;
}

} // namespace kv::wf
