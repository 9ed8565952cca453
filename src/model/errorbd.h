#pragma once

#include <QString>
#include <stdexcept>

class QSqlError;

// A database failure on its way to the handler of the operator's action, which
// shows its text. Carries the text as QString so that names in the message
// (file paths, values) keep their characters.
class ErrorBD : public std::runtime_error {
public:
    explicit ErrorBD(const QString &texto);
    ErrorBD(const QString &contexto, const QSqlError &error);

    const QString &Texto() const { return m_texto; }
    // The connection to the database server was lost (ConexionBD::Lanza):
    // the same thing may work once the server is back.
    bool Conexion_Perdida() const { return m_perdida; }
    static ErrorBD Perdida(const QString &texto);

private:
    QString m_texto;
    bool m_perdida = false;
};
