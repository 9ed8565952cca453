#include "app/pagina_logins.h"

#include "app/disposicion.h"
#include "app/tf_cambia_password.h"
#include "app/tf_delete_conf.h"
#include "app/tf_main.h"
#include "app/tf_nuevo_login.h"
#include "app/vista_auditoria.h"
#include "app/ventanas.h"

#include "model/globales.h"
#include "model/variables.h"
#include "ui/accion.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/operador.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

using namespace disposicion;

Pagina_Logins::Pagina_Logins(Vista_Principal &vista, QObject *padre)
    : Pagina(vista, "PANEL_LISTA_LOGINS", padre)
{
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(Panel(), "Panel_Botones_Logins", &fila);
    B_Nuevo_Login = Boton(barra, "B_Nuevo_Login", QStringLiteral("New"));
    B_Delete_login = Boton(barra, "B_Delete_login", QStringLiteral("Delete"));
    B_Password_login = Boton(barra, "B_Password_login", QStringLiteral("Password"));
    fila->addWidget(B_Nuevo_Login);
    fila->addWidget(B_Delete_login);
    fila->addWidget(B_Password_login);
    fila->addStretch();
    Lista4 = kv::ui::Nueva_Lista(Panel(), QStringLiteral("Lista4"), {QStringLiteral("Login"), QStringLiteral("Level")},
                                 false);
    Lista4->setColumnWidth(0, 220);
    auto *caja = static_cast<QBoxLayout *>(Panel()->layout());
    Auditoria = new Vista_Auditoria(Panel());
    caja->addWidget(barra);
    caja->addWidget(Lista4, 1);
    caja->addWidget(Auditoria, 3);

    kv::ui::Al_Pulsar(B_Nuevo_Login, Vista().Ventana(), [this] { B_Nuevo_LoginClick(); });
    kv::ui::Al_Pulsar(B_Delete_login, Vista().Ventana(), [this] { B_Delete_loginClick(); });
    kv::ui::Al_Pulsar(B_Password_login, Vista().Ventana(), [this] { B_Password_loginClick(); });
}

void Pagina_Logins::Refrescar()
{
    Lista4->clear();
    if (!Globales::Servidor)
        return;
    QList<QTreeWidgetItem *> filas;
    for (const QString &t : Globales::Servidor->Lista_Logins()) {
        const qsizetype asterisco = t.indexOf(QLatin1Char('*'));
        const QString login = asterisco < 0 ? t : t.left(asterisco);
        const QString nivel = asterisco < 0 ? QString() : t.mid(asterisco + 1);
        auto *fila = new QTreeWidgetItem({login, nivel});
        kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Login);
        filas << fila;
    }
    Lista4->addTopLevelItems(filas);
    Auditoria->Refrescar();
}

void Pagina_Logins::B_Nuevo_LoginClick()
{
    kv::ui::Operador::Modal(Ventanas::F_Nuevo_login);
    Ventanas::F_Main->Refresca_Logins();
}

void Pagina_Logins::B_Password_loginClick()
{
    const QList<QTreeWidgetItem *> elegidos = Lista4->selectedItems();
    // Nothing selected: the operator's own password.
    const QString login = elegidos.isEmpty() ? (Globales::Servidor ? Globales::Servidor->Login_Actual() : QString())
                                             : elegidos.first()->text(0);
    if (login.isEmpty())
        return;
    TF_Cambia_Password ventana(Vista().Ventana());
    ventana.Para(login);
    kv::ui::Operador::Modal(&ventana);
    Ventanas::F_Main->Refresca_Logins();
}

void Pagina_Logins::B_Delete_loginClick()
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
    Ventanas::F_Main->Refresca_Logins();
}
