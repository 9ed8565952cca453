#pragma once

#include <QSqlDatabase>
#include <QString>

// Connection parameters that every database connection of the program copies
// from the main-database server: one place decides the driver, the host and
// the account, so the installations reach the same server as the main database.
struct ParametrosBD {
    QString host;      // empty: the file is opened embedded, without a server
    QString usuario;
    QString password;
};

// One named Qt SQL connection, owned: removed from Qt's registry when this
// object goes. Qt keys connections by name, so each gets a name of its own.
// Queries bound to it must be destroyed before it.
class ConexionBD {
public:
    ConexionBD(const ParametrosBD &parametros, const QString &base_datos);
    ~ConexionBD();
    ConexionBD(const ConexionBD &) = delete;
    ConexionBD &operator=(const ConexionBD &) = delete;

    QSqlDatabase &db() { return m_db; }
    const QString &Base_Datos() const { return m_base_datos; }

    // Opens the connection when it is not open yet; a failure raises ErrorBD.
    void Abrir();
    void Cerrar();

private:
    QString m_nombre;
    QString m_base_datos;
    QSqlDatabase m_db;
};
