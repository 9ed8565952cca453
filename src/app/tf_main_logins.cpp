// The application's logins: adding them with F_Nuevo_login and deleting them,
// where the last administrator always stays.
#include "app/tf_delete_conf.h"
#include "app/tf_main.h"
#include "app/tf_nuevo_login.h"
#include "app/ventanas.h"

#include "model/globales.h"
#include "model/variables.h"
#include "ui/operador.h"

#include <QLabel>
#include <QTreeWidget>

void TF_Main::B_Nuevo_LoginClick()
{
    kv::ui::Operador::Modal(Ventanas::F_Nuevo_login);
    Refresca_Logins();
}

void TF_Main::B_Delete_loginClick()
{
    const QList<QTreeWidgetItem *> elegidos = Lista4->selectedItems();
    if (elegidos.isEmpty() || !Globales::Servidor)
        return;
    ZARVServer &servidor = *Globales::Servidor;
    const QString login = elegidos.first()->text(0);
    if (servidor.Es_Admin(login)) {
        // An administrator goes without a question, unless it is the last one.
        if (!servidor.Ultimo_Admin())
            servidor.Elimina_Login(login);
    } else {
        TF_Delete_Conf *pregunta = Ventanas::F_Delete_Conf;
        pregunta->Label1->setText(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_6")) + QLatin1Char('\n')
                                  + Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_7"))
                                  + QLatin1Char(' ') + login + QLatin1Char('?'));
        if (kv::ui::Operador::Modal(pregunta) == 1)
            servidor.Elimina_Login(login);
    }
    Refresca_Logins();
}
