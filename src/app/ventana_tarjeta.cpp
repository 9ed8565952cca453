#include "app/ventana_tarjeta.h"

#include "app/disposicion.h"

#include "ui/accion.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

using disposicion::Boton;
using disposicion::Etiqueta;

Ventana_Tarjeta::Ventana_Tarjeta(const char *nombre, const QString &titulo, QWidget *codigo, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_codigo(codigo)
{
    setObjectName(QLatin1String(nombre));
    setWindowTitle(titulo);
    Label2 = disposicion::Titulo(this, "Label2", titulo);
    Label1 = Etiqueta(this, "Label1", QString::fromUtf8("Código de tarjeta"));
    codigo->setParent(this);
    xpGroupBox1 = new QGroupBox(QStringLiteral("Fecha de caducidad"), this);
    xpGroupBox1->setObjectName(QStringLiteral("xpGroupBox1"));
    CH_Usar_Caducidad = new QCheckBox(QStringLiteral("Usar fecha caducidad"), xpGroupBox1);
    CH_Usar_Caducidad->setObjectName(QStringLiteral("CH_Usar_Caducidad"));
    Label4 = Etiqueta(xpGroupBox1, "Label4", QStringLiteral("Fecha de caducidad"));
    E_Fecha_cad = new QDateEdit(xpGroupBox1);
    E_Fecha_cad->setObjectName(QStringLiteral("E_Fecha_cad"));
    E_Fecha_cad->setCalendarPopup(true);
    E_Hora_cad = new QTimeEdit(xpGroupBox1);
    E_Hora_cad->setObjectName(QStringLiteral("E_Hora_cad"));
    Label3 = Etiqueta(xpGroupBox1, "Label3",
                      QString::fromUtf8("Se liberará la tarjeta cuando alcance su fecha de caducidad."));
    Label3->setWordWrap(true);
    B_Aceptar = Boton(this, "B_Aceptar", QStringLiteral("Aceptar"));
    B_Cancel = Boton(this, "B_Cancel", QStringLiteral("Cancelar"));

    auto *fila = new QHBoxLayout;
    fila->addWidget(Label1);
    fila->addWidget(codigo, 1);
    auto *grupo = new QGridLayout(xpGroupBox1);
    grupo->addWidget(CH_Usar_Caducidad, 0, 0, 1, 3);
    grupo->addWidget(Label4, 1, 0);
    grupo->addWidget(E_Fecha_cad, 1, 1);
    grupo->addWidget(E_Hora_cad, 1, 2);
    grupo->addWidget(Label3, 2, 0, 1, 3);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Aceptar);
    botones->addWidget(B_Cancel);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label2);
    caja->addLayout(fila);
    caja->addWidget(xpGroupBox1);
    caja->addLayout(botones);

    kv::ui::Al_Pulsar(CH_Usar_Caducidad, this, [this] { Muestra_Habilita_caducidad(); });
    connect(B_Cancel, &QPushButton::clicked, this, &QWidget::close);
}

void Ventana_Tarjeta::Muestra_Habilita_caducidad()
{
    const bool si = CH_Usar_Caducidad->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(E_Fecha_cad), static_cast<QWidget *>(E_Hora_cad),
                       static_cast<QWidget *>(Label4), static_cast<QWidget *>(Label3)})
        w->setEnabled(si);
}

QDateTime Ventana_Tarjeta::Caducidad() const
{
    return QDateTime(E_Fecha_cad->date(), E_Hora_cad->time());
}

void Ventana_Tarjeta::Pon_Caducidad(const QDateTime &fecha)
{
    E_Fecha_cad->setDate(fecha.date());
    E_Hora_cad->setTime(fecha.time());
}
