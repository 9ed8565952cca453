#include "app/tf_clone_controller.h"

#include "app/controles_progreso.h"
#include "app/lectores_comun.h"
#include "app/tf_muestra_recep.h"
#include "app/ventanas_lectores.h"

#include "lang/ui/descartateclas.h"
#include "lang/ui/traducir.h"
#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "ui/accion.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Each entry of CB1 and CH1 carries its controller's number here, so that
// two controllers with one description are still told apart.
constexpr int Rol_Codigo = Qt::UserRole;

ZARVColeccionControlador *Controladores()
{
    return Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
}

} // namespace

TF_Clone_Controller::TF_Clone_Controller(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("F_Clone_Controller"));
    setWindowTitle(QStringLiteral("Clone Controller"));
    setModal(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label2 = new QLabel(QStringLiteral("Controller:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    new Lang::DescartaTeclas(CB1);
    xpGroupBox1 = new QGroupBox(QStringLiteral("Users can access from:"), this);
    xpGroupBox1->setObjectName(QStringLiteral("xpGroupBox1"));
    CH1 = new QListWidget(xpGroupBox1);
    CH1->setObjectName(QStringLiteral("CH1"));
    auto *grupo = new QVBoxLayout(xpGroupBox1);
    grupo->addWidget(CH1);
    B_Clonar = new QPushButton(QStringLiteral("Clonar"), this);
    B_Clonar->setObjectName(QStringLiteral("B_Clonar"));
    B_cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    B_cancel->setObjectName(QStringLiteral("B_cancel"));
    B_Clonar->setAutoDefault(false);
    B_cancel->setAutoDefault(false);

    auto *fuente = new QHBoxLayout;
    fuente->addWidget(Label2);
    fuente->addWidget(CB1, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Clonar);
    botones->addWidget(B_cancel);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addLayout(fuente);
    caja->addWidget(xpGroupBox1, 1);
    caja->addLayout(botones);
    resize(380, 360);

    connect(CB1, &QComboBox::activated, this, [this] { kv::ui::Ejecuta_Accion(this, [this] { CB1Click(); }); });
    kv::ui::Al_Pulsar(B_Clonar, this, [this] { B_ClonarClick(); });
    connect(B_cancel, &QPushButton::clicked, this, &QDialog::reject);

    Lang::Traducir_Ventana(this);
}

void TF_Clone_Controller::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    kv::ui::Ejecuta_Accion(this, [this] { FormShow(); });
}

void TF_Clone_Controller::FormShow()
{
    B_Clonar->setEnabled(false);
    const QString fuente = CB1->currentText();
    Llena_Destinos(fuente);
    ZARVColeccionControlador *c = Controladores();
    for (int i = 0; c && i < c->Cuenta(); ++i)
        CB1->addItem(c->Elemento(i)->Descripcion(), c->Elemento(i)->Cod());
    // Nothing is chosen until the operator picks a source.
    CB1->setCurrentIndex(CB1->findText(fuente));
}

void TF_Clone_Controller::CB1Click()
{
    if (CB1->currentIndex() < 0)
        return;
    B_Clonar->setEnabled(true);
    Llena_Destinos(CB1->currentText());
}

void TF_Clone_Controller::Llena_Destinos(const QString &excluida)
{
    CH1->clear();
    ZARVColeccionControlador *c = Controladores();
    for (int i = 0; c && i < c->Cuenta(); ++i) {
        const auto ctl = c->Elemento(i);
        if (ctl->Descripcion() == excluida)
            continue;
        auto *item = new QListWidgetItem(QString::number(ctl->Cod()) + QLatin1Char(' ') + ctl->Descripcion(), CH1);
        item->setData(Rol_Codigo, ctl->Cod());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

void TF_Clone_Controller::B_ClonarClick()
{
    TF_Muestra_recep *progreso = Ventanas::F_Muestra_recep;
    const bool mantenimiento = lectores::Para_Mantenimiento();
    B_Clonar->setEnabled(false);
    B_cancel->setEnabled(false);
    lectores::Con_Limpieza(
        [this, progreso] {
            lectores::Para_Escucha();
            const int fuente = CB1->currentData(Rol_Codigo).toInt();
            for (int i = 0; i < CH1->count(); ++i) {
                if (CH1->item(i)->checkState() != Qt::Checked)
                    continue;
                if (progreso) {
                    progreso->show();
                    progreso->P1->setValue(progreso->P1->minimum());
                    progreso->Label1->clear();
                }
                Clona_En(fuente, CH1->item(i)->data(Rol_Codigo).toInt());
            }
        },
        [this, progreso, mantenimiento] {
            B_Clonar->setEnabled(true);
            B_cancel->setEnabled(true);
            if (progreso) {
                progreso->Ani1->SetActive(false);
                progreso->close();
            }
            lectores::Reanuda_Mantenimiento(mantenimiento);
            close();
            lectores::Inicia_Escucha();
        });
}

void TF_Clone_Controller::Clona_En(int fuente, int destino)
{
    const auto origen = lectores::Controlador(fuente);
    const auto objetivo = lectores::Controlador(destino);
    if (!origen || !objetivo)
        return;
    const std::uint8_t direccion = objetivo->Direccion_Bus();
    ZARVComunicador &com = lectores::Comunicador(*objetivo);
    TTest_Informacion info;
    com.Test_Lector(direccion, info);
    // A target that does not answer keeps its cards and its assignments.
    if (info.Correcto != 1)
        return;
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema->Tarjetas();
    Globales::Sistema->Controladores()->Quita_Tarjetas(*objetivo);
    com.Vaciar_Tarjetas(direccion);
    tarjetas->Refrescar();
    const TTarjetaLista lista = origen->Tarjetas_Controlador();
    TF_Muestra_recep *progreso = Ventanas::F_Muestra_recep;
    if (progreso) {
        progreso->Ani1->SetActive(true);
        // Counted in the cards to load, not in what the target held before.
        progreso->P1->setRange(0, static_cast<int>(lista.size()));
        progreso->P1->SetStep(1);
    }
    for (const TTarjetaElemento &e : lista) {
        const QString codigo = e.Tarjeta->Codigo_Tarjeta();
        const auto tarjeta = tarjetas->Busca(codigo);
        if (progreso) {
            progreso->Label1->setText(QString::number(objetivo->Cod()) + QLatin1Char(' ') + objetivo->Descripcion()
                                      + QLatin1Char(' ') + codigo);
            progreso->P1->StepIt();
        }
        const bool cargada = com.Cargar_Tarjeta(codigo, false, direccion);
        tarjetas->Asigna(tarjeta ? *tarjeta : *e.Tarjeta, objetivo->Cod(), cargada);
    }
}
