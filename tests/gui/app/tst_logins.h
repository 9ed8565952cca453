#pragma once

#include <QObject>

// The application's logins: the new-login window's rules, the deletion
// rules, where the last administrator always stays, and password changes,
// with the notice while admin keeps its factory password; the operators' log
// shown below the logins.
class TestLogins : public QObject {
    Q_OBJECT
private slots:
    void nuevoLogin_data();
    void nuevoLogin();
    void nuevoDesdeLaPagina();
    void borrar_data();
    void borrar();
    void avisoDeFabrica();
    void cambioDesdeLaPagina();
    void registroDeOperadores();
};
