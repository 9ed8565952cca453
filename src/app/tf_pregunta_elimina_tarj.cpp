#include "app/tf_pregunta_elimina_tarj.h"

#include "app/disposicion.h"

#include "lang/ui/traducir.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TF_Pregunta_elimina_tarj::TF_Pregunta_elimina_tarj(QWidget *parent)
    : Ventana_Respuesta(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_Pregunta_elimina_tarj"));
    setWindowTitle(QStringLiteral("Keyvane"));
    setModal(true);

    using disposicion::Etiqueta;
    Label1 = Etiqueta(this, "Label1", QString::fromUtf8("Atención :;"));
    Label2 = Etiqueta(this, "Label2", QString::fromUtf8("No se ha podido eliminar la tarjeta en algún controlador."));
    Label3 = Etiqueta(this, "Label3", QString::fromUtf8("¿Desea eliminar el usuario de la base de datos? "));
    Label4 = Etiqueta(this, "Label4",
                      QString::fromUtf8("Esta situacion puede provocar que existan tarjetas libres pero que están en "
                                        "algún lector."));
    Label5 = Etiqueta(this, "Label5", QString::fromUtf8("Si acepta deberá volcar la lista completa al sistema."));
    Button1 = disposicion::Boton(this, "Button1", QStringLiteral("Cancelar"));
    Button2 = disposicion::Boton(this, "Button2", QStringLiteral("Aceptar"));
    Button1->setDefault(true);

    auto *caja = new QVBoxLayout(this);
    for (QLabel *l : {Label1, Label2, Label3, Label4, Label5}) {
        l->setWordWrap(true);
        caja->addWidget(l);
    }
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(Button2);
    botones->addWidget(Button1);
    caja->addLayout(botones);

    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, [this] {
        Respuesta = 25;
        accept();
    });
    Lang::Traducir_Ventana(this);
}
