#include "app/tf_muestra_del.h"

#include "lang/ui/traducir.h"

#include <QLayout>
#include <QPushButton>

TF_Muestra_Del::TF_Muestra_Del(QWidget *parent)
    : TF_Muestra_recep("F_Muestra_Del", parent)
{
    xpBitBtn1 = new QPushButton(QStringLiteral("Cancel"), this);
    xpBitBtn1->setObjectName(QStringLiteral("xpBitBtn1"));
    layout()->addWidget(xpBitBtn1);
    layout()->setAlignment(xpBitBtn1, Qt::AlignRight);
    connect(xpBitBtn1, &QPushButton::clicked, this, [this] { Cancelado = true; });
    Lang::Traducir_Ventana(this);
}
