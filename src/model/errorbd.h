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

private:
    QString m_texto;
};
