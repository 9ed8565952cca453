#include "cameras/tf_new_camera.h"

#include "cameras/ventanas_camaras.h"

#include "lang/ui/traducir.h"
#include "ui/imagen_pulsable.h"
#include "ui/imagenes.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QLabel *Etiqueta(QWidget *padre, const char *nombre, const QString &texto)
{
    auto *l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

QLineEdit *Campo(QWidget *padre, const char *nombre, int largo, const char *admitidos)
{
    auto *e = new QLineEdit(padre);
    e->setObjectName(QLatin1String(nombre));
    e->setMaxLength(largo);
    if (admitidos)
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QLatin1String(admitidos)), e));
    return e;
}

} // namespace

TF_New_Camera::TF_New_Camera(QWidget *parent)
    : kv::ui::Ventana_Respuesta(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                                            | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("F_New_Camera"));
    setWindowTitle(QStringLiteral("New Camera"));
    setModal(true);

    Label1 = Etiqueta(this, "Label1", QStringLiteral("Camera number (1-4):"));
    Label2 = Etiqueta(this, "Label2", QStringLiteral("Description:"));
    Label3 = Etiqueta(this, "Label3", QStringLiteral("IP address:"));
    Label4 = Etiqueta(this, "Label4", QStringLiteral("Check the camera"));
    Label4->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
    Edit1 = Campo(this, "Edit1", 1, "[1-4]");
    Edit2 = Campo(this, "Edit2", 40, nullptr);
    Edit3 = Campo(this, "Edit3", 15, "[0-9.]*");
    Image2 = new kv::ui::Imagen_Pulsable(QStringLiteral("Image2"), this);
    Image2->setPixmap(kv::ui::Imagen(kv::ui::Dibujo::Camaras, 32));
    Image2->setCursor(Qt::PointingHandCursor);
    Button2 = new QPushButton(QStringLiteral("Aceptar"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(QStringLiteral("Cancelar"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    // Enter in the address probes it; it must not press a button as well.
    Button2->setAutoDefault(false);
    Button1->setAutoDefault(false);
    IdIcmpClient1 = new kv::Eco_Icmp(this);
    IdIcmpClient1->setObjectName(QStringLiteral("IdIcmpClient1"));

    auto *rejilla = new QGridLayout;
    rejilla->addWidget(Label1, 0, 0);
    rejilla->addWidget(Edit1, 0, 1);
    rejilla->addWidget(Label3, 1, 0);
    rejilla->addWidget(Edit3, 1, 1);
    auto *sonda = new QHBoxLayout;
    sonda->addWidget(Image2);
    sonda->addWidget(Label4);
    sonda->addStretch();
    rejilla->addLayout(sonda, 2, 1);
    rejilla->addWidget(Label2, 3, 0);
    rejilla->addWidget(Edit2, 3, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(Button2);
    botones->addWidget(Button1);
    auto *caja = new QVBoxLayout(this);
    caja->addLayout(rejilla);
    caja->addLayout(botones);
    setMinimumWidth(360);

    connect(Edit3, &QLineEdit::returnPressed, this, &TF_New_Camera::Image2Click);
    // A probe vouches for the address it was sent to: any change, typed or
    // clicked into, asks for a new one.
    connect(Edit3, &QLineEdit::textEdited, this, [this] {
        IdIcmpClient1->Cancela();
        Button2->setEnabled(false);
    });
    Edit3->installEventFilter(this);
    connect(Image2, &kv::ui::Imagen_Pulsable::clicked, this, &TF_New_Camera::Image2Click);
    connect(IdIcmpClient1, &kv::Eco_Icmp::Respuesta, this, &TF_New_Camera::IdIcmpClient1Reply);
    connect(Button2, &QPushButton::clicked, this, &TF_New_Camera::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TF_New_Camera::Button1Click);

    Lang::Traducir_Ventana(this);
}

void TF_New_Camera::showEvent(QShowEvent *evento)
{
    kv::ui::Ventana_Respuesta::showEvent(evento);
    FormShow();
}

bool TF_New_Camera::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == Edit3 && evento->type() == QEvent::MouseButtonPress)
        Edit3Click();
    return kv::ui::Ventana_Respuesta::eventFilter(objeto, evento);
}

void TF_New_Camera::FormShow()
{
    IdIcmpClient1->Cancela();
    Button2->setEnabled(false);
    Edit3->clear();
}

void TF_New_Camera::Edit3Click()
{
    Button2->setEnabled(false);
}

void TF_New_Camera::Image2Click()
{
    Sonda();
}

void TF_New_Camera::Sonda()
{
    if (Edit3->text().isEmpty())
        return;
    IdIcmpClient1->Envia(Edit3->text(), Ventanas_Camaras::Espera_Eco_ms);
}

void TF_New_Camera::IdIcmpClient1Reply(kv::Eco_Icmp::Resultado resultado, const QString &host)
{
    // A late answer for an address no longer in the field vouches for nothing.
    if (resultado != kv::Eco_Icmp::Resultado::Eco_Recibido || host != Edit3->text())
        return;
    Button2->setEnabled(true);
    Edit2->setFocus();
}

void TF_New_Camera::Button1Click()
{
    Respuesta = 0;
    reject();
}

void TF_New_Camera::Button2Click()
{
    if (Edit1->text().isEmpty())
        return;
    Respuesta = 1;
    accept();
}
