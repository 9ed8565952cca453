#include "app/tf_presencia_amplia.h"

#include "app/disposicion.h"

#include "lang/ui/traducir.h"
#include "ui/listas.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TF_Presencia_Amplia::TF_Presencia_Amplia(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("F_Presencia_Amplia"));
    setWindowTitle(QStringLiteral("Presencia"));

    Lista_Presencia = kv::ui::Nueva_Lista(this, QStringLiteral("Lista_Presencia"),
                                          {QStringLiteral("Dia"), QStringLiteral("Entradas"),
                                           QStringLiteral("Salidas"), QStringLiteral("Estancia")},
                                          false);
    Lista_Presencia->setColumnWidth(0, 110);
    Lista_Presencia->setColumnWidth(1, 380);
    Lista_Presencia->setColumnWidth(2, 380);
    B_Aceptar = disposicion::Boton(this, "B_Aceptar", QStringLiteral("Aceptar"));

    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Aceptar);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Lista_Presencia, 1);
    caja->addLayout(botones);
    resize(1000, 640);

    connect(B_Aceptar, &QPushButton::clicked, this, &QWidget::close);

    Lang::Traducir_Ventana(this);
}
