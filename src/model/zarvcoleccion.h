#pragma once

#include "model/auditoria.h"
#include "model/conexionbd.h"
#include "model/zarventidad.h"

#include <QObject>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class ZARVSistema;

// Base of the four collections of an open installation. Each has a connection
// of its own to the installation database and sends every statement through
// its one query, so collections never disturb each other's result sets. The
// cursor is one per collection and shared by everyone who walks it; a reload
// keeps its number.
//
// A QObject only so that entities can hold a guarded pointer back to the
// collection that loaded them (QPointer): an entity kept past its
// installation's close then sees no collection instead of a dangling one.
class ZARVColeccion : public QObject {
public:
    // Opens the connection at once: a file that cannot be opened fails here
    // with ErrorBD and the installation does not open. columnas_orden: the
    // columns the list may be ordered by.
    ZARVColeccion(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner, QStringList columnas_orden);
    ~ZARVColeccion() override;

    virtual void Refrescar() = 0;
    virtual int Cuenta() const;

    // Takes effect at the next load. The column name goes into the load
    // statement's text, so only one of the collection's own columns is
    // taken (in any letter case, optionally followed by asc or desc); any
    // other text raises ErrorBD and the order stays.
    void Set_Orden(const QString &columna);
    const QString &Orden() const { return m_orden; }

    void Primero() { m_cursor = 0; }
    bool Fin() const { return m_cursor == Cuenta(); }
    void Siguiente() { ++m_cursor; }
    int Cursor() const { return m_cursor; }

    ZARVSistema *Sistema() const { return m_sistema; }
    QObject *Owner() const { return m_owner; }
    const QString &Ruta_BD() const { return m_conexion.Base_Datos(); }
    // Closes the connection (closing the installation); the loaded list stays.
    virtual void Cerrar();

    // The collection's connection: a workflow that adds to a change of this
    // collection (its log entry, say) opens its TransaccionBD here. Opened
    // again when it was lost (ErrorBD while the server cannot be reached),
    // and ErrorBD once the installation is closed.
    QSqlDatabase &Conexion_BD();

protected:
    // The element at indice, or at the cursor for -1; none outside the list.
    std::shared_ptr<ZARVEntidad> Entidad(int indice) const;

    // The collection's one query, finished and prepared with sentencia; any
    // failure raises ErrorBD. Loads read forward only: rows are never revisited.
    QSqlQuery &Prepara(const QString &sentencia);
    // Runs the prepared query with its bound values; a failure raises ErrorBD.
    QSqlQuery &Ejecuta();
    // Prepares and runs a statement without bound values.
    QSqlQuery &Ejecuta(const QString &sentencia);
    // Raises error, from a statement on the collection's connection, as
    // ErrorBD (ConexionBD::Lanza: a lost connection is opened again at its next use).
    [[noreturn]] void Lanza(const QSqlError &error, const QString &contexto = QString()) const;
    // Writes the log entry of a change made on this collection's connection,
    // inside the TransaccionBD around it; nothing while an
    // Auditoria::Agrupacion holds the single entries back.
    void Audita(Auditoria::Accion accion, const Auditoria::Objeto &objeto,
                Auditoria::Resultado resultado = Auditoria::Resultado::Hecho);

    std::vector<std::shared_ptr<ZARVEntidad>> Elementos;

private:
    ZARVSistema *m_sistema;
    QObject *m_owner;
    QStringList m_columnas_orden;
    QString m_orden;
    int m_cursor = 0;
    ConexionBD m_conexion;
    std::unique_ptr<QSqlQuery> m_consulta;
    int m_apertura = 0; // the connection's opening m_consulta was made on
};
