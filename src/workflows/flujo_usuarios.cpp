#include "workflows/flujo_usuarios.h"

#include "workflows/coordinacion.h"
#include "workflows/interlocutor.h"
#include "workflows/tarjetas_lectores.h"

#include "model/auditoria.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"

#include <QRegularExpression>

namespace kv::wf {
namespace {

ZARVColeccionTarjeta *Tarjetas()
{
    return Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
}

ZARVColeccionUsuario *Usuarios()
{
    return Globales::Sistema ? Globales::Sistema->Usuarios() : nullptr;
}

QString Mensaje(const char *clave)
{
    return Variables::Mensaje(QLatin1String(clave));
}

bool Nombre_Valido(const QString &nombre, int largo)
{
    return nombre.size() <= largo && !nombre.contains(QLatin1Char('\n')) && !nombre.contains(QLatin1Char('\r'));
}

// The list's card: found and given the user, its registration now and the
// window's expiry; a new one when the code is not in the database yet.
// A card found elsewhere first leaves the readers that hold it (pre_envio).
std::shared_ptr<ZARVTarjeta> Toma_Tarjeta(const QString &codigo, int id, const Datos_Usuario &datos,
                                          const std::function<void(const ZARVTarjeta &)> &pre_envio)
{
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    const auto usuario = Usuarios()->Busca(id);
    if (const auto existente = tarjetas->Busca(codigo)) {
        pre_envio(*existente);
        ZARVTarjeta cambiada(*tarjetas->Busca(codigo));
        cambiada.Set_Usuario(usuario);
        cambiada.Set_Fecha_Alta(QDateTime::currentDateTime());
        cambiada.Set_Fecha_Caducidad(datos.caducidad);
        cambiada.Set_Usar_Fecha_Cad(datos.usar_caducidad);
        tarjetas->Modifica(cambiada);
    } else {
        ZARVTarjeta nueva;
        nueva.Set_Codigo_Tarjeta(codigo);
        nueva.Set_Fecha_Alta(QDateTime::currentDateTime());
        nueva.Set_Fecha_Caducidad(datos.caducidad);
        nueva.Set_Usar_Fecha_Cad(datos.usar_caducidad);
        tarjetas->Inserta_Con_Usuario(nueva, id);
    }
    return tarjetas->Busca(codigo);
}

void Guarda_Tarjetas(int id, const Datos_Usuario &datos, const std::function<void(const ZARVTarjeta &)> &pre_envio)
{
    for (const QString &codigo : datos.tarjetas) {
        const auto t = Toma_Tarjeta(codigo, id, datos, pre_envio);
        if (t)
            Envia_Tarjeta_Lectores(*t, datos.lectores);
    }
    // The assignments just made are in the database; the lists show them
    // from the next load, and the next workflow walks them.
    Tarjetas()->Refrescar();
}

} // namespace

std::optional<QString> Codigo_Tarjeta(const QString &texto)
{
    static const QRegularExpression digitos(QStringLiteral("^[0-9]{1,10}$"));
    if (!digitos.match(texto).hasMatch())
        return std::nullopt;
    return Completa_Codigo(texto);
}

bool Comprueba_Usuario(const Datos_Usuario &datos, Interlocutor &operador)
{
    if (!Nombre_Valido(datos.nombre, Largo_Nombre) || !Nombre_Valido(datos.apellidos, Largo_Apellidos)) {
        operador.Mensaje(Mensaje("Variables_variables_F_Main_45"));
        return false;
    }
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    for (const QString &codigo : datos.tarjetas) {
        const std::optional<QString> valido = Codigo_Tarjeta(codigo);
        if (!valido || *valido != codigo) {
            operador.Mensaje(Mensaje("Variables_variables_F_Main_44") + QLatin1Char(' ') + codigo);
            return false;
        }
        // A card of another user moves only when the operator says so.
        const auto t = tarjetas ? tarjetas->Busca(codigo) : nullptr;
        if (t && t->Usuario() && t->Usuario()->Id() != datos.id
            && !operador.Confirma(Mensaje("Variables_variables_F_Main_46") + QLatin1Char(' ') + codigo + QStringLiteral(" - ")
                                  + t->Usuario()->Nombre_Completo()))
            return false;
    }
    return true;
}

int Guarda_Usuario_Nuevo(const Datos_Usuario &datos, Interlocutor &operador)
{
    if (!Usuarios() || !Comprueba_Usuario(datos, operador))
        return 0;
    Trabajo_Controladores trabajo;
    ZARVUsuario usuario;
    usuario.Set_Nombre(datos.nombre);
    usuario.Set_Apellidos(datos.apellidos);
    usuario.Set_Fotografia(datos.fotografia);
    int id = 0;
    Usuarios()->Inserta(usuario, id);
    Guarda_Tarjetas(id, datos, [](const ZARVTarjeta &t) { Quita_Tarjeta_Lectores(t); });
    trabajo.Termina();
    return id;
}

bool Guarda_Usuario_Editado(const Datos_Usuario &datos, Interlocutor &operador)
{
    if (!Usuarios() || !Comprueba_Usuario(datos, operador))
        return false;
    const auto guardado = Usuarios()->Busca(datos.id);
    if (!guardado)
        return false;
    Trabajo_Controladores trabajo;
    // The assignments as the database holds them now (another station, a send).
    Tarjetas()->Refrescar();
    ZARVUsuario usuario(*guardado);
    usuario.Set_Nombre(datos.nombre);
    usuario.Set_Apellidos(datos.apellidos);
    usuario.Set_Fotografia(datos.fotografia);
    Elimina_TODAS_tarjetas(usuario);
    Usuarios()->Modifica(usuario);
    Guarda_Tarjetas(datos.id, datos, [&datos](const ZARVTarjeta &t) { Elimina_Tarjeta_Fisicamente(t, datos.lectores); });
    trabajo.Termina();
    return true;
}

int Elimina_Usuarios(const std::vector<int> &ids, Progreso &progreso,
                     const std::function<bool()> &borrar_con_tarjetas_retenidas)
{
    ZARVColeccionUsuario *usuarios = Usuarios();
    if (!usuarios || ids.empty())
        return 0;
    Trabajo_Controladores trabajo;
    Cierre_Progreso cierre(progreso);
    Tarjetas()->Refrescar();
    progreso.Muestra();
    progreso.Rango(static_cast<int>(ids.size()));
    std::optional<bool> respuesta;
    int borrados = 0;
    // A cardholder the operator kept, by stopping the run or refusing to
    // delete him with cards a reader kept.
    const auto cancelado = [&](const ZARVUsuario &u) {
        Auditoria::Registra(usuarios->Conexion_BD(), Auditoria::Accion::Usuario_Baja, Auditoria::De_Usuario(u),
                            Auditoria::Resultado::Cancelado);
    };
    for (auto i = ids.begin(); i != ids.end(); ++i) {
        const auto usuario = usuarios->Busca(*i);
        progreso.Paso(usuario ? usuario->Nombre_Completo() : QString::number(*i));
        if (progreso.Cancelado()) {
            for (auto j = i; j != ids.end(); ++j)
                if (const auto u = usuarios->Busca(*j))
                    cancelado(*u);
            break;
        }
        if (!usuario)
            continue;
        const TTarjetaLista suyas = usuarios->Tarjetas_Usuario(*usuario);
        for (const TTarjetaElemento &e : suyas)
            Borro_la_tarjeta_TODOS_CX(*e.Tarjeta);
        std::vector<std::shared_ptr<ZARVTarjeta>> retenidas;
        for (const TTarjetaElemento &e : suyas) {
            if (Tarjetas()->Esta_Asignada(e.Tarjeta->Codigo_Tarjeta())) {
                retenidas.push_back(e.Tarjeta);
                continue;
            }
            ZARVTarjeta libre(*e.Tarjeta);
            libre.Set_Usuario(nullptr);
            Tarjetas()->Modifica(libre);
        }
        if (!retenidas.empty()) {
            if (!respuesta)
                respuesta = borrar_con_tarjetas_retenidas();
            if (!*respuesta) {
                cancelado(*usuario);
                continue;
            }
            for (const auto &t : retenidas) {
                ZARVTarjeta libre(*t);
                libre.Set_Usuario(nullptr);
                Tarjetas()->Modifica(libre);
                Tarjetas()->Quita_Asignaciones(libre);
            }
        }
        usuarios->Elimina(*usuario);
        ++borrados;
    }
    usuarios->Refrescar();
    trabajo.Termina();
    return borrados;
}

} // namespace kv::wf
