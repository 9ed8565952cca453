#pragma once

#include "app/pagina.h"

class QPushButton;
class QTreeWidget;
class Vista_Auditoria;

// The logins page: the application's logins with their levels; adding them
// with F_Nuevo_login, deleting them, where the last administrator always
// stays, and changing a password with F_Cambia_Password; below them the
// operators' log. Only for the ADMIN level.
class Pagina_Logins : public Pagina {
    Q_OBJECT
public:
    Pagina_Logins(Vista_Principal &vista, QObject *padre);

    QPushButton *B_Nuevo_Login;
    QPushButton *B_Delete_login;
    QPushButton *B_Password_login; // the selected login's password, or the operator's own
    QTreeWidget *Lista4;
    Vista_Auditoria *Auditoria;

    void Refrescar() override;
    void B_Nuevo_LoginClick();
    void B_Delete_loginClick();
    void B_Password_loginClick();
};
