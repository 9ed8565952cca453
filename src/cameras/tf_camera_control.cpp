#include "cameras/tf_camera_control.h"

#include "cameras/tf_new_camera.h"
#include "cameras/ventanas_camaras.h"
#include "cameras/vista_mjpeg.h"

#include "lang/lang.h"
#include "lang/ui/traducir.h"
#include "model/nivel.h"
#include "model/variables.h"
#include "ui/accion.h"
#include "ui/operador.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int Primera_Vista_Conjunta = 5;
const QString Ruta_Video = QStringLiteral("/orvik-cgi/mjpg/video.cgi");

QPushButton *Boton(QWidget *padre, const char *nombre, const QString &texto)
{
    auto *b = new QPushButton(texto, padre);
    b->setObjectName(QLatin1String(nombre));
    b->setFlat(true);
    return b;
}

bool Es_Conjunta(int vista) { return vista >= Primera_Vista_Conjunta; }

} // namespace

TF_Camera_Control::TF_Camera_Control(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("F_Camera_Control"));
    setWindowTitle(QStringLiteral("Keyvane"));
    resize(760, 480);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    SpeedButton1 = Boton(Panel1, "SpeedButton1", QStringLiteral("New"));
    SpeedButton2 = Boton(Panel1, "SpeedButton2", QStringLiteral("Delete"));
    SpeedButton4 = Boton(Panel1, "SpeedButton4", QStringLiteral("4"));
    SpeedButton3 = Boton(Panel1, "SpeedButton3", QStringLiteral("Close"));
    auto *barra = new QHBoxLayout(Panel1);
    for (QPushButton *b : {SpeedButton1, SpeedButton2, SpeedButton4})
        barra->addWidget(b);
    barra->addStretch();
    barra->addWidget(SpeedButton3);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Arbol1 = new QTreeWidget(Panel2);
    Arbol1->setObjectName(QStringLiteral("Arbol1"));
    Arbol1->setHeaderHidden(true);
    Arbol1->setRootIsDecorated(false);
    auto *izquierda = new QVBoxLayout(Panel2);
    izquierda->setContentsMargins(0, 0, 0, 0);
    izquierda->addWidget(Arbol1);
    Panel2->setFixedWidth(180);

    // Panel3 and Panel4 share one cell, so both fill the video area and
    // whichever is visible is the one seen.
    auto *video = new QWidget(this);
    Panel3 = new QWidget(video);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel4 = new QWidget(video);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    auto *superpuestos = new QGridLayout(video);
    superpuestos->setContentsMargins(0, 0, 0, 0);
    superpuestos->addWidget(Panel3, 0, 0);
    superpuestos->addWidget(Panel4, 0, 0);

    auto *unica = new QGridLayout(Panel3);
    unica->setContentsMargins(0, 0, 0, 0);
    auto *conjunta = new QGridLayout(Panel4);
    for (int n = 1; n <= 8; ++n) {
        const QString nombre = QStringLiteral("ORVIK%1").arg(n);
        auto *eco = new kv::Eco_Icmp(this);
        eco->setObjectName(QStringLiteral("IdIcmpClient1_%1").arg(nombre));
        IdIcmpClient1[n] = eco;
        connect(eco, &kv::Eco_Icmp::Respuesta, this,
                [this, n](kv::Eco_Icmp::Resultado r, const QString &) { IdIcmpClient1Reply(n, r); });
        if (!Es_Conjunta(n)) {
            ORVIK[n] = new Vista_Mjpeg(nombre, Panel3);
            unica->addWidget(ORVIK[n], 0, 0);
            ORVIK[n]->hide();
            continue;
        }
        const int k = n - Primera_Vista_Conjunta;
        auto *celda = new QVBoxLayout;
        L_CAM[n] = new QLabel(Panel4);
        L_CAM[n]->setObjectName(QStringLiteral("L_CAM%1").arg(n));
        ORVIK[n] = new Vista_Mjpeg(nombre, Panel4);
        ORVIK[n]->setFixedSize(190, 137);
        celda->addWidget(L_CAM[n]);
        celda->addWidget(ORVIK[n]);
        celda->addStretch();
        conjunta->addLayout(celda, k / 2, k % 2);
    }
    conjunta->setRowStretch(2, 1);
    conjunta->setColumnStretch(2, 1);

    auto *cuerpo = new QHBoxLayout;
    cuerpo->addWidget(Panel2);
    cuerpo->addWidget(video, 1);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Panel1);
    caja->addLayout(cuerpo, 1);

    connect(Arbol1, &QTreeWidget::currentItemChanged, this, [this] { Arbol1Change(); });
    // From the overview, a click on the camera already selected goes back to it.
    connect(Arbol1, &QTreeWidget::itemClicked, this, [this] {
        if (Panel4->isVisible())
            Arbol1Change();
    });
    kv::ui::Al_Pulsar(SpeedButton1, this, [this] { SpeedButton1Click(); });
    kv::ui::Al_Pulsar(SpeedButton2, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QPushButton::clicked, this, &TF_Camera_Control::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TF_Camera_Control::SpeedButton4Click);

    FormCreate();
    Lang::Traducir_Ventana(this);
}

TF_Camera_Control::~TF_Camera_Control()
{
    if (Ventanas_Camaras::F_Camera_Control == this)
        Ventanas_Camaras::F_Camera_Control = nullptr;
}

QString TF_Camera_Control::Host_De_URL(const QString &direccion)
{
    const qsizetype primera = direccion.indexOf(QLatin1Char('/'));
    const qsizetype segunda = primera < 0 ? -1 : direccion.indexOf(QLatin1Char('/'), primera + 1);
    if (segunda < 0)
        return QString();
    const qsizetype tercera = direccion.indexOf(QLatin1Char('/'), segunda + 1);
    return direccion.mid(segunda + 1, tercera < 0 ? -1 : tercera - segunda - 1);
}

void TF_Camera_Control::FormCreate()
{
    m_configurada.fill(false);
    {
        const QSignalBlocker bloqueo(Arbol1);
        Arbol1->clear();
    }
    m_actual = 0;
    for (int n = 5; n <= 8; ++n)
        L_CAM[n]->clear();
    std::array<QString, 9> direcciones;
    int k = 0;
    for (int n = 1; n <= 4; ++n) {
        const QString seccion = QString::number(n);
        if (!Variables::Existe_Seccion(seccion))
            continue;
        const QString rotulo = seccion + QLatin1Char(' ') + Variables::Lee_Valor(seccion, QStringLiteral("camara_desc"));
        const QString mac = Variables::Lee_Valor(seccion, QStringLiteral("camara_MAC"));
        {
            const QSignalBlocker bloqueo(Arbol1);
            Arbol1->addTopLevelItem(new QTreeWidgetItem(QStringList{rotulo}));
        }
        m_configurada[n] = true;
        direcciones[n] = mac;
        const int conjunta = Primera_Vista_Conjunta + k;
        m_configurada[conjunta] = true;
        direcciones[conjunta] = mac;
        L_CAM[conjunta]->setText(rotulo);
        ++k;
    }
    for (int n = 1; n <= 8; ++n) {
        // A view whose camera went away, or moved, stops showing the old one.
        ORVIK[n]->setMediaURL(direcciones[n]);
        if (!m_configurada[n]) {
            IdIcmpClient1[n]->Cancela();
            ORVIK[n]->Stop();
        }
        if (!Es_Conjunta(n))
            ORVIK[n]->hide();
    }
}

void TF_Camera_Control::showEvent(QShowEvent *evento)
{
    QWidget::showEvent(evento);
    if (!evento->spontaneous()) {
        if (const QScreen *pantalla = QGuiApplication::primaryScreen())
            move(pantalla->availableGeometry().center() - rect().center());
        FormShow();
    }
}

void TF_Camera_Control::closeEvent(QCloseEvent *evento)
{
    FormClose();
    QWidget::closeEvent(evento);
}

void TF_Camera_Control::FormShow()
{
    Panel4->hide();
    Panel3->show();
    // Only the camera on view is probed and played: the others would stream
    // unseen behind it.
    if (!Arbol1->currentItem() && Arbol1->topLevelItemCount() > 0)
        Arbol1->setCurrentItem(Arbol1->topLevelItem(0)); // runs Arbol1Change
    else
        Arbol1Change();
}

void TF_Camera_Control::FormClose()
{
    for (int n = 1; n <= 8; ++n) {
        IdIcmpClient1[n]->Cancela();
        ORVIK[n]->Stop();
    }
}

void TF_Camera_Control::Arbol1Change()
{
    Panel4->hide();
    Panel3->show();
    for (int n = 1; n <= 4; ++n) {
        IdIcmpClient1[n]->Cancela();
        ORVIK[n]->Stop();
        ORVIK[n]->hide();
    }
    m_actual = 0;
    const QTreeWidgetItem *nodo = Arbol1->currentItem();
    if (!nodo)
        return;
    const int n = nodo->text(0).left(1).toInt();
    if (n < 1 || n > 4)
        return;
    m_actual = n;
    ORVIK[n]->raise();
    Sonda(n);
}

void TF_Camera_Control::SpeedButton4Click()
{
    Panel3->hide();
    Panel4->show();
    for (int n = 5; n <= 8; ++n) {
        if (m_configurada[n]) {
            ORVIK[n]->raise();
            Sonda(n);
        } else {
            IdIcmpClient1[n]->Cancela();
            ORVIK[n]->Stop();
            ORVIK[n]->hide();
        }
    }
}

void TF_Camera_Control::SpeedButton3Click()
{
    close();
}

void TF_Camera_Control::Sonda(int vista)
{
    // A camera whose video is served on another port than 80 is still
    // echoed at its address alone.
    const QString host = Host_De_URL(ORVIK[vista]->MediaURL()).section(QLatin1Char(':'), 0, 0);
    IdIcmpClient1[vista]->Envia(host, Ventanas_Camaras::Espera_Eco_ms);
}

void TF_Camera_Control::IdIcmpClient1Reply(int vista, kv::Eco_Icmp::Resultado resultado)
{
    Vista_Mjpeg *v = ORVIK[vista];
    if (resultado != kv::Eco_Icmp::Resultado::Eco_Recibido) {
        v->Stop();
        v->hide();
        return;
    }
    // A single view answers only while it is still the one selected.
    if (!Es_Conjunta(vista) && vista != m_actual)
        return;
    v->show();
    v->Stop();
    v->Play();
}

TF_New_Camera *TF_Camera_Control::Dialogo()
{
    if (Ventanas_Camaras::F_New_Camera)
        return Ventanas_Camaras::F_New_Camera;
    if (!m_dialogo)
        m_dialogo = new TF_New_Camera(this);
    return m_dialogo;
}

void TF_Camera_Control::SpeedButton1Click()
{
    Nivel::Exige_Administrador();
    TF_New_Camera *d = Dialogo();
    d->Edit1->clear();
    d->Edit2->clear();
    if (kv::ui::Operador::Modal(d) != 1)
        return;
    const QString numero = d->Edit1->text();
    if (Variables::Existe_Seccion(numero)) {
        // Accepting the dialog and seeing nothing happen would read as done.
        kv::ui::Operador::Mensaje(this, Variables::Mensaje(QStringLiteral("Variables_variables_F_Camera_Control_1"))
                                            + QLatin1Char(' ') + numero);
        return;
    }
    Variables::Anade_Camara(numero, d->Edit2->text(), QStringLiteral("http://") + d->Edit3->text() + Ruta_Video);
    FormCreate();
}

void TF_Camera_Control::SpeedButton2Click()
{
    Nivel::Exige_Administrador();
    const QTreeWidgetItem *nodo = Arbol1->currentItem();
    if (!nodo)
        return;
    Variables::Borra_Seccion(nodo->text(0).left(1));
    for (int n = 1; n <= 4; ++n) {
        IdIcmpClient1[n]->Cancela();
        ORVIK[n]->Stop();
    }
    FormCreate();
}
