#include "app/tf_clone_controller.h"

#include "app/controles_progreso.h"
#include "app/interlocutor_ventanas.h"
#include "app/tf_muestra_recep.h"
#include "app/ventanas_lectores.h"

#include "lang/ui/descartateclas.h"
#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "ui/accion.h"
#include "workflows/flujo_lectores.h"

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
    B_Clonar->setEnabled(false);
    B_cancel->setEnabled(false);
    std::vector<int> destinos;
    for (int i = 0; i < CH1->count(); ++i)
        if (CH1->item(i)->checkState() == Qt::Checked)
            destinos.push_back(CH1->item(i)->data(Rol_Codigo).toInt());
    Progreso_Ventana progreso(Ventanas::F_Muestra_recep);
    struct Final {
        TF_Clone_Controller *v;
        ~Final()
        {
            v->B_Clonar->setEnabled(true);
            v->B_cancel->setEnabled(true);
            v->close();
        }
    } final{this};
    kv::wf::Clona(CB1->currentData(Rol_Codigo).toInt(), destinos, progreso);
}
