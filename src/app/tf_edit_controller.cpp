#include "app/tf_edit_controller.h"

#include "app/interlocutor_ventanas.h"
#include "app/lectores_comun.h"

#include "lang/ui/traducir.h"
#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "ui/accion.h"
#include "ui/operador.h"
#include "ui/principal.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *Etiqueta(QWidget *padre, const char *nombre, const QString &texto)
{
    auto *l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

QLineEdit *Campo(QWidget *padre, const char *nombre)
{
    auto *e = new QLineEdit(padre);
    e->setObjectName(QLatin1String(nombre));
    return e;
}

} // namespace

TF_edit_controller::TF_edit_controller(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("F_edit_controller"));
    setWindowTitle(QStringLiteral("Editar Lector"));
    setModal(false);

    Label4 = Etiqueta(this, "Label4", QStringLiteral("Number"));
    Label5 = Etiqueta(this, "Label5", QStringLiteral("Description"));
    Label6 = Etiqueta(this, "Label6", QStringLiteral("Port"));
    Label1 = Etiqueta(this, "Label1", QStringLiteral("T. Door lock (1..99):"));
    Label2 = Etiqueta(this, "Label2", QStringLiteral("T. Door open (0..99):"));
    Label7 = Etiqueta(this, "Label7", QStringLiteral("Seconds"));
    Edit1 = Campo(this, "Edit1");
    Edit2 = Campo(this, "Edit2");
    Edit3 = Campo(this, "Edit3");
    Edit4 = Campo(this, "Edit4");
    Edit5 = Campo(this, "Edit5");
    for (QLineEdit *e : {Edit1, Edit3, Edit4, Edit5})
        lectores::Solo_Digitos(e, 2);
    Edit1->setReadOnly(true);
    Edit3->setReadOnly(true);
    Edit2->setMaxLength(100);
    BitBtn1 = new QPushButton(QStringLiteral("Editar"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("Cancelar"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);

    auto *rejilla = new QGridLayout;
    rejilla->addWidget(Label4, 0, 0);
    rejilla->addWidget(Edit1, 0, 1);
    rejilla->addWidget(Label6, 1, 0);
    rejilla->addWidget(Edit3, 1, 1);
    rejilla->addWidget(Label5, 2, 0);
    rejilla->addWidget(Edit2, 2, 1);
    rejilla->addWidget(Label1, 3, 0);
    rejilla->addWidget(Edit4, 3, 1);
    rejilla->addWidget(Label2, 4, 0);
    rejilla->addWidget(Edit5, 4, 1);
    rejilla->addWidget(Label7, 5, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BitBtn1);
    botones->addWidget(BitBtn2);
    auto *caja = new QVBoxLayout(this);
    caja->addLayout(rejilla);
    caja->addLayout(botones);
    setMinimumWidth(340);

    kv::ui::Al_Pulsar(BitBtn1, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    // However the window goes (either button, Escape, its close box), the
    // lines and the timer come back.
    connect(this, &QDialog::finished, this, [this] { kv::ui::Ejecuta_Accion(this, [this] { FormClose(); }); });

    Lang::Traducir_Ventana(this);
}

TF_edit_controller::~TF_edit_controller() = default;

void TF_edit_controller::Toma_Lectores()
{
    m_lectores = std::make_unique<kv::wf::Trabajo_Controladores>();
}

void TF_edit_controller::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    kv::ui::Ejecuta_Accion(this, [this] { FormShow(); });
}

void TF_edit_controller::FormShow()
{
    Edit4->clear();
    Edit5->clear();
    Edit4->setEnabled(false);
    Edit5->setEnabled(false);
    m_tiempos_leidos = false;
    const auto tiempos = kv::wf::Lee_Tiempos(Edit1->text().toInt());
    if (!tiempos)
        return;
    m_tiempos_leidos = true;
    Edit4->setText(tiempos->cerradura);
    Edit5->setText(tiempos->abierta);
    Edit4->setEnabled(true);
    Edit5->setEnabled(true);
}

void TF_edit_controller::BitBtn1Click()
{
    Interlocutor_Ventanas operador(this);
    if (kv::wf::Guarda_Edicion({Edit1->text().toInt(), Edit2->text(), Edit4->text(), Edit5->text(), m_tiempos_leidos},
                               operador))
        accept();
}

void TF_edit_controller::FormClose()
{
    // The list is rebuilt before listening starts again: rebuilding opens
    // and closes every line, which would close a listening one.
    std::unique_ptr<kv::wf::Trabajo_Controladores> lectores = std::move(m_lectores);
    if (kv::ui::Principal *principal = kv::ui::Principal::Actual())
        principal->Refrescar_Controladores();
    if (lectores)
        lectores->Termina();
}
