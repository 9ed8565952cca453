#include "app/tf_pregunta_elimina.h"

#include "app/disposicion.h"

#include "lang/ui/traducir.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TF_Pregunta_Elimina::TF_Pregunta_Elimina(QWidget *parent)
    : Ventana_Respuesta(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_Pregunta_Elimina"));
    setWindowTitle(QStringLiteral("Delete"));
    setModal(true);
    Label1 = disposicion::Etiqueta(this, "Label1", QString::fromUtf8("Atención :"));
    Label2 = disposicion::Etiqueta(this, "Label2",
                                   QString::fromUtf8("No se ha podido eliminar del lector. Si decide borrar tendrá que "
                                                     "enviar la lista a los lectores"));
    Label2->setWordWrap(true);
    Button1 = disposicion::Boton(this, "Button1", QStringLiteral("Cancelar"));
    Button2 = disposicion::Boton(this, "Button2", QStringLiteral("Aceptar"));
    Button1->setDefault(true);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addWidget(Label2);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(Button2);
    botones->addWidget(Button1);
    caja->addLayout(botones);
    connect(Button1, &QPushButton::clicked, this, [this] {
        Respuesta = 0;
        reject();
    });
    connect(Button2, &QPushButton::clicked, this, [this] {
        Respuesta = 1;
        accept();
    });
    Lang::Traducir_Ventana(this);
}
