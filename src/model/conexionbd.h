#pragma once

#include <QSqlDatabase>
#include <QString>
#include <atomic>

class QSqlError;

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
//
// Through a server a connection can be lost under the program (the server
// stopped, the network went). The statement that finds out reports it
// (Revisa, or Lanza); every connection of this process to that server is then
// opened again at its next Abrir, so a station works again once the server is
// back, without a restart. A query made on an earlier opening is of no use on
// the new one: Apertura tells its owner to make it again.
class ConexionBD {
public:
    ConexionBD(const ParametrosBD &parametros, const QString &base_datos);
    ~ConexionBD();
    ConexionBD(const ConexionBD &) = delete;
    ConexionBD &operator=(const ConexionBD &) = delete;

    QSqlDatabase &db() { return m_db; }
    const QSqlDatabase &db() const { return m_db; }
    const QString &Base_Datos() const { return m_base_datos; }

    // Opens the connection when it is not open yet, or again when it was
    // found lost; a failure raises ErrorBD. A connection lost while a
    // TransaccionBD runs on it is not opened again under that change (its
    // later statements would be stored on their own): ErrorBD until it ends.
    void Abrir();
    void Cerrar();
    // How many times the connection has been opened.
    int Apertura() const { return m_apertura; }

    // Whether error, from a statement on db, says the connection to the
    // server is gone rather than the statement refused.
    static bool Es_Perdida(const QSqlDatabase &db, const QSqlError &error);
    // After a failed statement on db: when the connection is gone, every
    // connection to that server is marked to be opened again. Returns whether it was.
    static bool Revisa(const QSqlDatabase &db, const QSqlError &error);
    // Revisa, then raises ErrorBD: for a lost connection with a text that
    // tells the operator what happened and what comes next.
    [[noreturn]] static void Lanza(const QSqlDatabase &db, const QString &contexto, const QSqlError &error);

private:
    QString m_nombre;
    QString m_base_datos;
    QString m_host;
    QSqlDatabase m_db;
    int m_apertura = 0;
    std::atomic<bool> m_perdida{false};
};
