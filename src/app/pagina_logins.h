#pragma once

#include "app/pagina.h"

class QPushButton;
class QTreeWidget;

// The logins page: the application's logins with their levels; adding them
// with F_Nuevo_login and deleting them, where the last administrator always
// stays. Only for the ADMIN level.
class Pagina_Logins : public Pagina {
    Q_OBJECT
public:
    Pagina_Logins(Vista_Principal &vista, QObject *padre);

    QPushButton *B_Nuevo_Login;
    QPushButton *B_Delete_login;
    QTreeWidget *Lista4;

    void Refrescar() override;
    void B_Nuevo_LoginClick();
    void B_Delete_loginClick();
};
