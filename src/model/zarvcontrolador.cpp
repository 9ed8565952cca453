#include "model/zarvcontrolador.h"

#include "link/tdorno.h"
#include "link/zarvcomunicador.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvsistema.h"

#include <stdexcept>

ZARVControlador::ZARVControlador(QObject *owner)
    : m_owner(owner)
{
}

ZARVControlador::ZARVControlador(const ZARVControlador &otro)
    : ZARVEntidad(otro)
    , m_owner(otro.m_owner)
    , m_cod(otro.m_cod)
    , m_puerto_serie(otro.m_puerto_serie)
    , m_tiempo_pta_abierta(otro.m_tiempo_pta_abierta)
    , m_tipo(otro.m_tipo)
    , m_descripcion(otro.m_descripcion)
    , m_direccion(otro.m_direccion)
    , m_coleccion(otro.m_coleccion)
{
}

ZARVControlador &ZARVControlador::operator=(const ZARVControlador &otro)
{
    if (this != &otro) {
        m_owner = otro.m_owner;
        m_cod = otro.m_cod;
        m_puerto_serie = otro.m_puerto_serie;
        m_tiempo_pta_abierta = otro.m_tiempo_pta_abierta;
        m_tipo = otro.m_tipo;
        m_descripcion = otro.m_descripcion;
        m_direccion = otro.m_direccion;
        m_coleccion = otro.m_coleccion;
    }
    return *this;
}

ZARVControlador::~ZARVControlador()
{
    if (!m_comunicador)
        return;
    QPointer<TDORNO> enlace = m_comunicador->Enlace();
    try {
        Cerrar_Comunicacion();
    } catch (...) {
        // A line that fails while closing is gone either way.
    }
    m_comunicador.reset();
    // A link that belongs to an owner outlives the command layer; free it once
    // control is back in the event loop, as this may run inside one of its own
    // notifications (an event that led to a reload of the controllers).
    if (enlace)
        enlace->deleteLater();
}

ZARVColeccionControlador *ZARVControlador::Coleccion() const
{
    return m_coleccion.data();
}

void ZARVControlador::Set_Coleccion(ZARVColeccionControlador *coleccion)
{
    m_coleccion = coleccion;
}

bool ZARVControlador::Abrir_Comunicacion()
{
    if (!m_comunicador)
        m_comunicador = std::make_unique<ZARVComunicador>(m_owner);
    ZARVComunicador &c = *m_comunicador;
    if (c.Conectado())
        return true;
    c.SetConectado(false);
    c.OnIncidencia = [this](ZARVComunicador *, const TEventoInformacion &informacion) {
        if (OnIncidencia) {
            const TEventoInformacion copia = informacion;
            OnIncidencia(this, copia);
        }
    };
    c.Puerto_Serie = QString::number(m_puerto_serie);
    c.SetDireccion(m_direccion);
    try {
        c.Conectar();
        c.SetConectado(true);
        return true;
    } catch (const std::runtime_error &) {
        // Both a port that cannot be opened and a line that refuses its
        // settings leave the controller unconnected; the workflows treat it as
        // a controller that does not answer. Programming errors still propagate.
        c.SetConectado(false);
        return false;
    }
}

void ZARVControlador::Cerrar_Comunicacion()
{
    // Nothing to close before the first opening, or once the link's owner freed it.
    if (m_comunicador && m_comunicador->Enlace())
        m_comunicador->Desconectar();
}

TTarjetaLista ZARVControlador::Tarjetas_Controlador() const
{
    TTarjetaLista lista;
    ZARVColeccionControlador *coleccion = Coleccion();
    ZARVColeccionTarjeta *tarjetas = coleccion && coleccion->Sistema() ? coleccion->Sistema()->Tarjetas() : nullptr;
    if (!tarjetas)
        return lista;
    for (tarjetas->Primero(); !tarjetas->Fin(); tarjetas->Siguiente()) {
        const std::shared_ptr<ZARVTarjeta> t = tarjetas->Elemento(-1);
        // By number: the card may still hold the controller objects of an
        // earlier load of the controllers.
        for (const TControladorTarjeta &e : t->Controladores()) {
            if (e.Controlador && e.Controlador->Cod() == m_cod)
                lista.push_back(TTarjetaElemento{t, e.Almacenada});
        }
    }
    return lista;
}

bool ZARVControlador::Tiene_Tarjeta(const ZARVTarjeta &tarjeta) const
{
    for (const TTarjetaElemento &e : Tarjetas_Controlador()) {
        if (e.Tarjeta->Codigo_Tarjeta() == tarjeta.Codigo_Tarjeta())
            return true;
    }
    return false;
}
