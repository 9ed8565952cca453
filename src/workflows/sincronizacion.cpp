#include "workflows/sincronizacion.h"

#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"
#include "workflows/interlocutor.h"

#include "link/pausa.h"
#include "link/zarvcomunicador.h"
#include "model/auditoria.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"

#include <QSet>

#include <map>

#include <utility>

namespace kv::wf {
namespace {

constexpr int Pasadas = 3;
constexpr int Pausa_Entre_Pasadas = 200;

ZARVColeccionTarjeta *Tarjetas()
{
    return Globales::Sistema->Tarjetas();
}

ZARVColeccionControlador *Controladores()
{
    return Globales::Sistema->Controladores();
}

// Every assignment, in controller order: (controller number, card code).
std::vector<std::pair<int, QString>> Asignaciones()
{
    const int n = Tarjetas()->Cuenta_Asignaciones();
    std::vector<int> numeros(static_cast<std::size_t>(n));
    QStringList codigos(n);
    Tarjetas()->Lee_Asignaciones(numeros, codigos);
    std::vector<std::pair<int, QString>> lista;
    lista.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        lista.emplace_back(numeros[static_cast<std::size_t>(i)], codigos[i]);
    return lista;
}

TTest_Informacion Prueba(ZARVControlador &c)
{
    TTest_Informacion info;
    Comunicador(c).Test_Lector(c.Direccion_Bus(), info);
    return info;
}

// The codes the controller holds, by position (empty where a position gave
// nothing after every pass); declaradas positions in all.
QStringList Lee_Memoria(ZARVControlador &c, int declaradas, Progreso &progreso)
{
    QStringList leidas(declaradas);
    ZARVComunicador &com = Comunicador(c);
    for (int pasada = 0; pasada < Pasadas && leidas.contains(QString()); ++pasada) {
        if (pasada > 0)
            Pausa_Activa(Pausa_Entre_Pasadas);
        progreso.Rango(declaradas);
        for (int p = 1; p <= declaradas; ++p) {
            if (!leidas[p - 1].isEmpty())
                continue;
            const QString codigo = com.Leer_Tarjeta(static_cast<std::uint16_t>(p), c.Direccion_Bus());
            if (codigo.isEmpty())
                continue;
            leidas[p - 1] = codigo;
            progreso.Paso(QString::number(c.Cod()) + QLatin1Char(' ') + c.Descripcion() + QLatin1Char(' ') + codigo);
        }
    }
    return leidas;
}

// A card read from a controller belongs to a user: a card unknown to the
// database, or one without a user, gets a new nameless one.
void Da_Usuario(const QString &codigo)
{
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    const auto t = tarjetas->Busca(codigo);
    if (t && t->Usuario())
        return;
    int id = 0;
    Globales::Sistema->Usuarios()->Inserta(ZARVUsuario(), id);
    if (t) {
        ZARVTarjeta cambiada(*t);
        cambiada.Set_Usuario(Globales::Sistema->Usuarios()->Busca(id));
        tarjetas->Modifica(cambiada);
        return;
    }
    ZARVTarjeta nueva;
    nueva.Set_Codigo_Tarjeta(codigo);
    nueva.Set_Fecha_Alta(QDateTime::currentDateTime());
    tarjetas->Inserta_Con_Usuario(nueva, id);
}

// How a controller's part of a run ended.
Auditoria::Resultado Resultado_De(int hechas, int todas, bool cancelada)
{
    if (hechas == todas)
        return Auditoria::Resultado::Hecho;
    return cancelada ? Auditoria::Resultado::Cancelado : Auditoria::Resultado::Rechazado;
}

void Anota(Auditoria::Accion accion, const ZARVControlador &c, Auditoria::Resultado resultado, const QString &detalle)
{
    Auditoria::Objeto objeto = Auditoria::De_Controlador(c);
    objeto.detalle = detalle;
    Auditoria::Registra(Controladores()->Conexion_BD(), accion, objeto, resultado);
}

} // namespace

bool Fin_Bloque(const std::vector<int> &controladores, std::size_t i)
{
    return i + 1 >= controladores.size() || controladores[i + 1] != controladores[i];
}

Resultado_Envio Envia_Todas(Progreso &progreso)
{
    Resultado_Envio r;
    if (!Globales::Sistema)
        return r;
    Trabajo_Controladores trabajo;
    Cierre_Progreso cierre(progreso);
    progreso.Muestra();
    const std::vector<std::pair<int, QString>> lista = Asignaciones();
    // Nothing counts as stored until its controller confirms it: a send
    // that stops half-way leaves the rest to be sent again.
    Tarjetas()->Marca_Todas_Pendientes();
    ZARVColeccionControlador *controladores = Controladores();
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        Comunicador(*c).Vaciar_Tarjetas(c->Direccion_Bus());
    }
    std::vector<int> numeros;
    numeros.reserve(lista.size());
    for (const auto &a : lista)
        numeros.push_back(a.first);
    // Per controller: cards stored, cards it should hold.
    std::map<int, std::pair<int, int>> cuentas;
    for (const auto &a : lista)
        ++cuentas[a.first].second;
    progreso.Rango(static_cast<int>(lista.size()));
    for (std::size_t i = 0; i < lista.size(); ++i) {
        if (progreso.Cancelado()) {
            r.cancelada = true;
            break;
        }
        const auto &[cod, codigo] = lista[i];
        const auto c = controladores->Busca(cod);
        if (!c)
            continue;
        progreso.Paso(codigo + QLatin1Char(' ') + c->Descripcion());
        if (Comunicador(*c).Cargar_Tarjeta(codigo, Fin_Bloque(numeros, i), c->Direccion_Bus())) {
            Tarjetas()->Marca_Almacenada(codigo, cod);
            ++r.cargadas;
            ++cuentas[cod].first;
        }
    }
    r.pendientes = static_cast<int>(lista.size()) - r.cargadas;
    for (const auto &[cod, cuenta] : cuentas)
        if (const auto c = controladores->Busca(cod))
            Anota(Auditoria::Accion::Tarjetas_Enviadas, *c, Resultado_De(cuenta.first, cuenta.second, r.cancelada),
                  QStringLiteral("%1 of %2 cards stored").arg(cuenta.first).arg(cuenta.second));
    Tarjetas()->Refrescar();
    trabajo.Termina();
    return r;
}

std::vector<Lector_Recepcion> Prueba_Recepcion()
{
    std::vector<Lector_Recepcion> lista;
    if (!Globales::Sistema)
        return lista;
    Trabajo_Controladores trabajo;
    ZARVColeccionControlador *controladores = Controladores();
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        const TTest_Informacion info = Prueba(*c);
        lista.push_back({c->Cod(), c->Descripcion(), c->Puerto_Serie(), info.Correcto == 1,
                         info.Correcto == 1 ? info.Version : 0});
    }
    trabajo.Termina();
    return lista;
}

std::vector<Resultado_Recepcion> Recibe_Todas(Progreso &progreso, Interlocutor &operador)
{
    std::vector<Resultado_Recepcion> resultados;
    if (!Globales::Sistema)
        return resultados;
    Trabajo_Controladores trabajo;
    Cierre_Progreso cierre(progreso);
    progreso.Muestra();
    ZARVColeccionControlador *controladores = Controladores();
    std::vector<int> codigos_lectores;
    for (int i = 0; i < controladores->Cuenta(); ++i)
        codigos_lectores.push_back(controladores->Elemento(i)->Cod());
    QStringList incompletos;
    for (const int cod : codigos_lectores) {
        const auto c = controladores->Busca(cod);
        if (!c)
            continue;
        const TTest_Informacion info = Prueba(*c);
        if (info.Correcto != 1 || info.Version < 20) {
            Anota(Auditoria::Accion::Tarjetas_Recibidas, *c, Auditoria::Resultado::Rechazado,
                  info.Correcto != 1 ? QStringLiteral("no answer") : QStringLiteral("version too old"));
            continue;
        }
        Resultado_Recepcion r;
        r.cod = cod;
        r.declaradas = info.Num_Tarjetas.toInt();
        // As many places as the controller says it holds.
        const QStringList leidas = Lee_Memoria(*c, r.declaradas, progreso);
        std::vector<std::pair<QString, bool>> tarjetas;
        for (const QString &codigo : leidas) {
            if (codigo.isEmpty())
                continue;
            Da_Usuario(codigo);
            tarjetas.emplace_back(codigo, true);
        }
        r.leidas = static_cast<int>(tarjetas.size());
        r.completa = r.leidas == r.declaradas;
        const auto actual = controladores->Busca(cod);
        const QString detalle = QStringLiteral("%1 of %2 cards read").arg(r.leidas).arg(r.declaradas);
        if (r.completa) {
            controladores->Reemplaza_Tarjetas(*actual, tarjetas, Auditoria::Accion::Tarjetas_Recibidas, detalle);
        } else {
            Anota(Auditoria::Accion::Tarjetas_Recibidas, *c, Auditoria::Resultado::Rechazado, detalle);
            // Read in part: what was read is added, the rest stays as it was.
            for (const auto &t : tarjetas) {
                Tarjetas()->Refrescar();
                const auto tarjeta = Tarjetas()->Busca(t.first);
                Tarjetas()->Asigna(*tarjeta, cod, true);
                Tarjetas()->Marca_Almacenada(t.first, cod);
            }
            incompletos << QStringLiteral("%1 %2 (%3/%4)").arg(cod).arg(c->Descripcion()).arg(r.leidas).arg(r.declaradas);
        }
        Tarjetas()->Refrescar();
        resultados.push_back(r);
    }
    if (!incompletos.isEmpty())
        operador.Mensaje(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_50")) + QLatin1Char(' ')
                         + incompletos.join(QStringLiteral(", ")));
    trabajo.Termina();
    return resultados;
}

bool Reintenta_Tarjeta(const QString &codigo)
{
    if (!Globales::Sistema)
        return false;
    Trabajo_Controladores trabajo;
    Tarjetas()->Refrescar();
    const auto t = Tarjetas()->Busca(codigo);
    const bool todas = t ? Tarjetas()->Envia_Pendientes(*t) : false;
    Tarjetas()->Refrescar();
    trabajo.Termina();
    return todas;
}

std::vector<Comparacion> Verifica(Progreso &progreso)
{
    std::vector<Comparacion> resultado;
    if (!Globales::Sistema)
        return resultado;
    Trabajo_Controladores trabajo;
    Cierre_Progreso cierre(progreso);
    progreso.Muestra();
    QHash<int, QStringList> asignadas;
    for (const auto &[cod, codigo] : Asignaciones())
        asignadas[cod] << codigo;
    ZARVColeccionControlador *controladores = Controladores();
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        Comparacion k;
        k.cod = c->Cod();
        k.pendientes = 0;
        for (const TTarjetaElemento &e : c->Tarjetas_Controlador())
            k.pendientes += !e.Almacenada;
        const TTest_Informacion info = Prueba(*c);
        k.responde = info.Correcto == 1;
        if (k.responde) {
            const QStringList leidas = Lee_Memoria(*c, info.Num_Tarjetas.toInt(), progreso);
            const QSet<QString> tiene(leidas.begin(), leidas.end());
            const QStringList deberia = asignadas.value(k.cod);
            const QSet<QString> debe(deberia.begin(), deberia.end());
            for (const QString &codigo : deberia)
                if (!tiene.contains(codigo))
                    k.faltan << codigo;
            for (const QString &codigo : leidas)
                if (!codigo.isEmpty() && !debe.contains(codigo))
                    k.sobran << codigo;
        }
        resultado.push_back(k);
    }
    trabajo.Termina();
    return resultado;
}

std::vector<Envio_Pendiente> Sincroniza_Pendientes()
{
    std::vector<Envio_Pendiente> resultado;
    if (!Globales::Sistema)
        return resultado;
    Trabajo_Controladores trabajo;
    Tarjetas()->Refrescar();
    ZARVColeccionControlador *controladores = Controladores();
    std::vector<std::pair<int, QString>> pendientes;
    for (int i = 0; i < Tarjetas()->Cuenta(); ++i) {
        const auto t = Tarjetas()->Elemento(i);
        for (const TControladorTarjeta &a : t->Controladores())
            if (a.Controlador && !a.Almacenada)
                pendientes.emplace_back(a.Controlador->Cod(), t->Codigo_Tarjeta());
    }
    for (const auto &[cod, codigo] : pendientes) {
        const auto c = controladores->Busca(cod);
        if (!c)
            continue;
        const bool guardada = Comunicador(*c).Anyadir_Tarjeta(codigo, c->Direccion_Bus());
        if (guardada)
            Tarjetas()->Marca_Almacenada(codigo, cod);
        resultado.push_back({cod, codigo, guardada});
    }
    Tarjetas()->Refrescar();
    trabajo.Termina();
    return resultado;
}

} // namespace kv::wf
