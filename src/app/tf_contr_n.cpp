#include "app/tf_contr_n.h"

#include "app/interlocutor_ventanas.h"
#include "app/lectores_comun.h"

#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "ui/accion.h"
#include "ui/operador.h"
#include "ui/principal.h"
#include "workflows/flujo_lectores.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *Etiqueta(QWidget *padre, const char *nombre, const QString &texto)
{
    auto *l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

QLineEdit *Campo(QWidget *padre, const char *nombre)
{
    auto *e = new QLineEdit(padre);
    e->setObjectName(QLatin1String(nombre));
    return e;
}

} // namespace

TF_Contr_N::TF_Contr_N(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("F_Contr_N"));
    setWindowTitle(QStringLiteral("New Controller"));
    setModal(true);

    Label4 = Etiqueta(this, "Label4", QStringLiteral("Number"));
    Label5 = Etiqueta(this, "Label5", QStringLiteral("Desc"));
    Label7 = Etiqueta(this, "Label7", QStringLiteral("Port"));
    Label6 = Etiqueta(this, "Label6", QStringLiteral("Address (dipswitch)"));
    Edit1 = Campo(this, "Edit1");
    Edit2 = Campo(this, "Edit2");
    Edit3 = Campo(this, "Edit3");
    Edit4 = Campo(this, "Edit4");
    lectores::Solo_Digitos(Edit1, 2);
    lectores::Solo_Digitos(Edit3, 2);
    lectores::Solo_Digitos(Edit4, 2);
    // The description column holds 100 characters; a longer text would only
    // fail at the database.
    Edit2->setMaxLength(100);
    B_add = new QPushButton(QStringLiteral("Add"), this);
    B_add->setObjectName(QStringLiteral("B_add"));
    B_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    B_cancel->setObjectName(QStringLiteral("B_cancel"));
    // Enter in a field must not close the window: it stays for the next controller.
    B_add->setAutoDefault(false);
    B_cancel->setAutoDefault(false);

    auto *rejilla = new QGridLayout;
    rejilla->addWidget(Label4, 0, 0);
    rejilla->addWidget(Edit1, 0, 1);
    rejilla->addWidget(Label5, 1, 0);
    rejilla->addWidget(Edit2, 1, 1);
    rejilla->addWidget(Label7, 2, 0);
    rejilla->addWidget(Edit3, 2, 1);
    rejilla->addWidget(Label6, 3, 0);
    rejilla->addWidget(Edit4, 3, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_add);
    botones->addWidget(B_cancel);
    auto *caja = new QVBoxLayout(this);
    caja->addLayout(rejilla);
    caja->addLayout(botones);
    setMinimumWidth(340);

    kv::ui::Al_Pulsar(B_add, this, [this] { B_addClick(); });
    connect(B_cancel, &QPushButton::clicked, this, &QDialog::reject);

    Lang::Traducir_Ventana(this);
}

void TF_Contr_N::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    FormShow();
}

void TF_Contr_N::FormShow()
{
    // The address is kept from the last entry: controllers are often added
    // one port at a time.
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    Edit1->setFocus();
}

void TF_Contr_N::B_addClick()
{
    Interlocutor_Ventanas operador(this);
    switch (kv::wf::Alta_Controlador({Edit1->text(), Edit2->text(), Edit3->text(), Edit4->text()}, operador)) {
    case kv::wf::Alta::Hecha:
        if (kv::ui::Principal *principal = kv::ui::Principal::Actual())
            principal->Refrescar_Controladores();
        Edit1->clear();
        Edit2->clear();
        Edit3->clear();
        Edit4->clear();
        Edit1->setFocus();
        break;
    case kv::wf::Alta::Direccion_No_Numero:
        Edit4->clear();
        break;
    case kv::wf::Alta::Direccion_Repetida:
        Edit4->setFocus();
        break;
    default:
        break;
    }
}
