#pragma once

#include <QObject>

// The login window: the first login, the lock and unlock of the running
// program, what may be typed, the restrictions of the USER level, and the
// wait after too many wrong passwords.
class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void primerLogin_data();
    void primerLogin();
    void sinAsterisco();
    void intro();
    void bloqueo();
    void nivelUsuario();
    void espera();
};
