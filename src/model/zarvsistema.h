#pragma once

#include "model/zarventidad.h"

#include <QList>
#include <QPointer>
#include <QSqlDatabase>
#include <QString>
#include <memory>

class QObject;
class QSqlQuery;
class ConexionBD;
class ZARVServer;
class ZARVColeccionUsuario;
class ZARVColeccionControlador;
class ZARVColeccionTarjeta;
class ZARVColeccionIncidencia;

// The open installation: its database file and its collections. Exactly one
// is open at a time; opening another destroys this one and builds a new one.
class ZARVSistema : public ZARVEntidad {
public:
    // Stores the values; nothing is opened.
    ZARVSistema(QObject *owner, const QString &ruta_bd, ZARVServer *servidor);
    // Closes the installation: every controller's line is released, then the
    // connections, the collections and the controllers go.
    ~ZARVSistema() override;
    ZARVSistema(const ZARVSistema &) = delete;
    ZARVSistema &operator=(const ZARVSistema &) = delete;

    // Creates and loads the collections. The order matters: a card resolves its
    // cardholder and its controllers when it loads, so both load before it.
    void Crea_Colecciones();
    // Creates the incidence collection, routes every controller's events to
    // it and opens the controllers' lines, one per port (its first
    // controller in collection order).
    void Conecta_Controladores();

    ZARVColeccionUsuario *Usuarios() const { return m_usuarios.get(); }
    ZARVColeccionControlador *Controladores() const { return m_controladores.get(); }
    ZARVColeccionTarjeta *Tarjetas() const { return m_tarjetas.get(); }
    // None until Conecta_Controladores.
    ZARVColeccionIncidencia *Incidencias() const { return m_incidencias.get(); }

    // Every collection made on this installation, the root's own and those
    // a view makes for itself to read the log its own way, registers here:
    // when the installation closes their connections close with it, so that
    // nothing of this process holds its file any more (a restore or a
    // deletion would take such a holder for another station's). A view's
    // collection then says the installation is closed.
    void Registra_Coleccion(QObject *coleccion);

    ZARVServer *Servidor() const { return m_servidor; }
    QObject *Owner() const { return m_owner; }
    const QString &Ruta_BD() const { return m_ruta_bd; }

    // A connection of the root's own, lent to the report query; opened on first use.
    QSqlDatabase &Conexion();
    // A number that changes whenever controllers, cards, their assignments or
    // cardholders change in the database, by this program or another; 0 when
    // it cannot be read.
    qint64 Marca_Cambios();

private:
    // Brings a file made by an earlier version up to date.
    void Actualiza_Esquema();

    QObject *m_owner;
    QString m_ruta_bd;
    ZARVServer *m_servidor;
    std::unique_ptr<ConexionBD> m_conexion;
    // Destroyed in reverse order: the incidences and the cards, which refer
    // to controllers and cardholders, go first.
    std::unique_ptr<ZARVColeccionUsuario> m_usuarios;
    std::unique_ptr<ZARVColeccionControlador> m_controladores;
    std::unique_ptr<ZARVColeccionTarjeta> m_tarjetas;
    std::unique_ptr<ZARVColeccionIncidencia> m_incidencias;
    QList<QPointer<QObject>> m_colecciones;
};
