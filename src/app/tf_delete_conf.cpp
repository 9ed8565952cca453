#include "app/tf_delete_conf.h"

#include "lang/ui/traducir.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TF_Delete_Conf::TF_Delete_Conf(QWidget *parent)
    : Ventana_Respuesta(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_Delete_Conf"));
    setWindowTitle(QStringLiteral("Confirmar"));
    setModal(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(280);
    B_Yes = new QPushButton(QStringLiteral("Aceptar"), this);
    B_Yes->setObjectName(QStringLiteral("B_Yes"));
    B_Cancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    B_Cancelar->setObjectName(QStringLiteral("B_Cancelar"));
    B_Cancelar->setDefault(true);

    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Yes);
    botones->addWidget(B_Cancelar);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addLayout(botones);

    connect(B_Yes, &QPushButton::clicked, this, [this] {
        Respuesta = 1;
        accept();
    });
    connect(B_Cancelar, &QPushButton::clicked, this, [this] {
        Respuesta = 0;
        reject();
    });

    Lang::Traducir_Ventana(this);
}
