#pragma once

#include <QObject>

// The login window: the first login, the lock and unlock of the running
// program, what may be typed, and the restrictions of the USER level.
class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void primerLogin_data();
    void primerLogin();
    void sinAsterisco();
    void intro();
    void bloqueo();
    void nivelUsuario();
};
