#include "app/tf_nuevo_login.h"

#include "app/disposicion.h"

#include "lang/ui/descartateclas.h"
#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "ui/accion.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *Etiqueta(QWidget *padre, const char *nombre, const char *texto)
{
    auto *l = new QLabel(QString::fromUtf8(texto), padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

} // namespace

TF_Nuevo_login::TF_Nuevo_login(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_Nuevo_login"));
    setWindowTitle(QStringLiteral("Nuevo Login"));
    setModal(true);

    Label4 = Etiqueta(this, "Label4", "Nuevo login de la aplicación");
    Label1 = Etiqueta(this, "Label1", "Login :");
    Label2 = Etiqueta(this, "Label2", "Password :");
    Label3 = Etiqueta(this, "Label3", "Confirmar password :");
    Label5 = Etiqueta(this, "Label5", "Nivel :");
    Edit1 = disposicion::Campo_Login(this, "Edit1", false);
    Edit2 = disposicion::Campo_Login(this, "Edit2", true);
    Edit3 = disposicion::Campo_Login(this, "Edit3", true);
    C_Nivel = new QComboBox(this);
    C_Nivel->setObjectName(QStringLiteral("C_Nivel"));
    C_Nivel->addItems({QStringLiteral("Administrador"), QStringLiteral("Usuario")});
    new Lang::DescartaTeclas(C_Nivel);
    B_Aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    B_Aceptar->setObjectName(QStringLiteral("B_Aceptar"));
    B_Cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    B_Cancelar->setObjectName(QStringLiteral("B_Cancelar"));
    // Enter in a field must not close the window: the window stays for the next login.
    B_Aceptar->setAutoDefault(false);
    B_Cancelar->setAutoDefault(false);

    auto *rejilla = new QGridLayout;
    rejilla->addWidget(Label1, 0, 0);
    rejilla->addWidget(Edit1, 0, 1);
    rejilla->addWidget(Label2, 1, 0);
    rejilla->addWidget(Edit2, 1, 1);
    rejilla->addWidget(Label3, 2, 0);
    rejilla->addWidget(Edit3, 2, 1);
    rejilla->addWidget(Label5, 3, 0);
    rejilla->addWidget(C_Nivel, 3, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Aceptar);
    botones->addWidget(B_Cancelar);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label4);
    caja->addLayout(rejilla);
    caja->addLayout(botones);

    kv::ui::Al_Pulsar(B_Aceptar, this, [this] { B_AceptarClick(); });
    connect(B_Cancelar, &QPushButton::clicked, this, &QDialog::reject);

    Lang::Traducir_Ventana(this);
}

void TF_Nuevo_login::showEvent(QShowEvent *evento)
{
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    C_Nivel->setCurrentIndex(-1);
    QDialog::showEvent(evento);
    Edit1->setFocus();
}

void TF_Nuevo_login::B_AceptarClick()
{
    if (Edit1->text().isEmpty() || Edit2->text().isEmpty() || Edit3->text().isEmpty()
        || Edit2->text() != Edit3->text())
        return;
    // The level goes by the entry's position: comparing texts would make
    // every login an administrator whenever both entries read alike (a
    // language file that lacks them shows the same marker in both).
    const QString nivel = C_Nivel->currentIndex() == 0 ? QStringLiteral("ADMIN") : QStringLiteral("USER");
    if (Globales::Servidor)
        Globales::Servidor->Nuevo_Login(Edit1->text().toLower(), Edit2->text().toLower(), nivel);
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
}
