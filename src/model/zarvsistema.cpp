#include "model/zarvsistema.h"

#include "model/conexionbd.h"
#include "model/errorbd.h"
#include "model/esquema_instalacion.h"
#include "model/zarvcoleccion.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvcontrolador.h"
#include "model/zarvserver.h"

#include <QPointer>
#include <QSet>

ZARVSistema::ZARVSistema(QObject *owner, const QString &ruta_bd, ZARVServer *servidor)
    : m_owner(owner)
    , m_ruta_bd(ruta_bd)
    , m_servidor(servidor)
{
}

ZARVSistema::~ZARVSistema()
{
    if (m_controladores)
        m_controladores->Cierra_Comunicaciones();
    m_incidencias.reset();
    m_tarjetas.reset();
    m_controladores.reset();
    m_usuarios.reset();
    m_conexion.reset();
    // What is left was made by others on this installation and outlives it.
    for (const QPointer<QObject> &c : std::as_const(m_colecciones))
        if (c)
            static_cast<ZARVColeccion *>(c.data())->Cerrar();
}

void ZARVSistema::Registra_Coleccion(QObject *coleccion)
{
    m_colecciones.removeAll(QPointer<QObject>());
    m_colecciones.append(coleccion);
}

void ZARVSistema::Crea_Colecciones()
{
    if (!m_servidor)
        throw ErrorBD(QStringLiteral("No main database server for the installation"));
    m_conexion = std::make_unique<ConexionBD>(m_servidor->Parametros(), m_ruta_bd);
    Actualiza_Esquema();
    m_usuarios = std::make_unique<ZARVColeccionUsuario>(this, m_ruta_bd, m_owner);
    m_controladores = std::make_unique<ZARVColeccionControlador>(this, m_ruta_bd, m_owner);
    m_tarjetas = std::make_unique<ZARVColeccionTarjeta>(this, m_ruta_bd, m_owner);
}

void ZARVSistema::Actualiza_Esquema()
{
    // Before the collections connect: their statements would keep the
    // tables in use.
    Actualiza_Esquema_Instalacion(Conexion());
    // The report query opens it again when it needs it.
    m_conexion->Cerrar();
}

qint64 ZARVSistema::Marca_Cambios()
{
    // An installation that could not be opened has nothing that changes.
    if (!m_conexion)
        return 0;
    try {
        return ::Marca_Cambios(Conexion());
    } catch (const ErrorBD &) {
        return 0;
    }
}

void ZARVSistema::Conecta_Controladores()
{
    ZARVColeccionControlador *c = m_controladores.get();
    if (!c)
        return;
    m_incidencias = std::make_unique<ZARVColeccionIncidencia>(this, m_ruta_bd, m_owner);
    // A controller kept by a window or a card may outlive this installation;
    // its events must then find no receiver rather than a freed one.
    const QPointer<ZARVColeccionIncidencia> receptor(m_incidencias.get());
    // Each port is opened once, by its first controller: the line is
    // exclusive, so a second opening would fail, whatever the order of the
    // controllers sharing it.
    QSet<int> puertos;
    for (int i = 0; i < c->Cuenta(); ++i) {
        const std::shared_ptr<ZARVControlador> ctl = c->Elemento(i);
        ctl->OnIncidencia = [receptor](ZARVControlador *sender, const TEventoInformacion &info) {
            if (receptor)
                receptor->Recibe_Evento(sender, info);
        };
        if (!puertos.contains(ctl->Puerto_Serie())) {
            puertos.insert(ctl->Puerto_Serie());
            ctl->Abrir_Comunicacion();
        }
    }
}

QSqlDatabase &ZARVSistema::Conexion()
{
    if (!m_conexion)
        throw ErrorBD(QStringLiteral("%1: the installation's collections are not created").arg(m_ruta_bd));
    m_conexion->Abrir();
    return m_conexion->db();
}
