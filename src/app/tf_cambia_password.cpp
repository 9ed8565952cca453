#include "app/tf_cambia_password.h"

#include "app/disposicion.h"
#include "app/tf_login.h"
#include "app/ventanas.h"

#include "lang/ui/traducir.h"
#include "model/clave.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvserver.h"
#include "ui/accion.h"
#include "ui/operador.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using disposicion::Campo_Login;
using disposicion::Etiqueta;

TF_Cambia_Password::TF_Cambia_Password(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_Cambia_Password"));
    setWindowTitle(QStringLiteral("Change Password"));
    setModal(true);

    Label1 = Etiqueta(this, "Label1", QStringLiteral("Login:"));
    Label2 = Etiqueta(this, "Label2", QStringLiteral("Old password:"));
    Label3 = Etiqueta(this, "Label3", QStringLiteral("New password:"));
    Label4 = Etiqueta(this, "Label4", QStringLiteral("Confirm new password:"));
    Edit1 = Campo_Login(this, "Edit1", false);
    Edit1->setReadOnly(true);
    Edit2 = Campo_Login(this, "Edit2", true);
    Edit3 = Campo_Login(this, "Edit3", true);
    Edit4 = Campo_Login(this, "Edit4", true);
    B_Aceptar = disposicion::Boton(this, "B_Aceptar", QStringLiteral("OK"));
    B_Cancelar = disposicion::Boton(this, "B_Cancelar", QStringLiteral("Cancel"));
    B_Aceptar->setDefault(true);

    auto *rejilla = new QGridLayout;
    const std::pair<QLabel *, QLineEdit *> filas[] = {{Label1, Edit1}, {Label2, Edit2}, {Label3, Edit3}, {Label4, Edit4}};
    for (int i = 0; i < 4; ++i) {
        rejilla->addWidget(filas[i].first, i, 0);
        rejilla->addWidget(filas[i].second, i, 1);
    }
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Aceptar);
    botones->addWidget(B_Cancelar);
    auto *caja = new QVBoxLayout(this);
    caja->addLayout(rejilla);
    caja->addLayout(botones);

    kv::ui::Al_Pulsar(B_Aceptar, this, [this] { B_AceptarClick(); });
    connect(B_Cancelar, &QPushButton::clicked, this, &QDialog::reject);

    Lang::Traducir_Ventana(this);
}

void TF_Cambia_Password::Para(const QString &login)
{
    Edit1->setText(login);
    for (QLineEdit *e : {Edit2, Edit3, Edit4})
        e->clear();
    Edit2->setFocus();
}

void TF_Cambia_Password::B_AceptarClick()
{
    if (Edit3->text().isEmpty() || Edit3->text() != Edit4->text()) {
        kv::ui::Operador::Mensaje(this, Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_42")), windowTitle());
        Edit3->setFocus();
        return;
    }
    if (!Globales::Servidor || !Globales::Servidor->Cambia_Password(Edit1->text(), Edit2->text(), Edit3->text())) {
        kv::ui::Operador::Mensaje(this, Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_41")), windowTitle());
        Edit2->clear();
        Edit2->setFocus();
        return;
    }
    // The program locked by this login unlocks with the new password.
    TF_Login *entrada = Ventanas::F_Login;
    if (entrada && entrada->logged && entrada->login == Edit1->text().toLower())
        entrada->password = Clave::Cifra(Edit3->text());
    kv::ui::Operador::Mensaje(this, Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_43")), windowTitle());
    accept();
}
