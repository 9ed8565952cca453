#include "app/tf_presencia_estancia.h"

#include "app/disposicion.h"

#include "lang/ui/traducir.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_Presencia_Estancia::TF_Presencia_Estancia(QWidget *parent)
    : Ventana_Respuesta(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_Presencia_Estancia"));
    setWindowTitle(QStringLiteral("Estancia"));
    setModal(true);

    L_Usuario = disposicion::Titulo(this, "L_Usuario", QString());
    L_Fecha = disposicion::Etiqueta(this, "L_Fecha", QString());
    L_Estancia = disposicion::Etiqueta(this, "L_Estancia", QStringLiteral("Estancia (h:m:s):"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(160);
    B_Aceptar = disposicion::Boton(this, "B_Aceptar", QStringLiteral("Aceptar"));
    B_Cancel = disposicion::Boton(this, "B_Cancel", QStringLiteral("Cancelar"));
    // Enter is taken by the field alone: a default button would answer a
    // second time.
    for (QPushButton *b : {B_Aceptar, B_Cancel})
        b->setAutoDefault(false);

    auto *estancia = new QHBoxLayout;
    estancia->addWidget(L_Estancia);
    estancia->addWidget(Edit1, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Aceptar);
    botones->addWidget(B_Cancel);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(L_Usuario);
    caja->addWidget(L_Fecha);
    caja->addLayout(estancia);
    caja->addLayout(botones);

    connect(B_Aceptar, &QPushButton::clicked, this, [this] {
        Respuesta = Aceptada;
        accept();
    });
    connect(B_Cancel, &QPushButton::clicked, this, [this] {
        Respuesta = 0;
        reject();
    });
    connect(Edit1, &QLineEdit::returnPressed, B_Aceptar, &QPushButton::click);

    Lang::Traducir_Ventana(this);
}
