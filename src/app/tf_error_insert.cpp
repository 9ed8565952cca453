#include "app/tf_error_insert.h"

#include "app/disposicion.h"

#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "ui/accion.h"
#include "workflows/sincronizacion.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QListWidget *Lista_Marcas(QWidget *padre, const char *nombre)
{
    auto *l = new QListWidget(padre);
    l->setObjectName(QLatin1String(nombre));
    // The marks report the database; the operator cannot change them.
    l->setSelectionMode(QAbstractItemView::NoSelection);
    return l;
}

void Anade(QListWidget *lista, const QString &texto, bool marcado)
{
    auto *item = new QListWidgetItem(texto, lista);
    item->setFlags(Qt::ItemIsEnabled);
    item->setCheckState(marcado ? Qt::Checked : Qt::Unchecked);
}

} // namespace

TF_Error_insert::TF_Error_insert(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_Error_insert"));
    setWindowTitle(QStringLiteral("Bad insert"));
    setModal(true);

    using disposicion::Etiqueta;
    Label1 = Etiqueta(this, "Label1", QStringLiteral("The card is not Inserted"));
    Label2 = Etiqueta(this, "Label2", QStringLiteral("Retry to insert the card or cancel"));
    Label7 = Etiqueta(this, "Label7", QStringLiteral("o cancelar"));
    Label4 = Etiqueta(this, "Label4", QStringLiteral("Card:"));
    Label3 = Etiqueta(this, "Label3", QString());
    Label5 = Etiqueta(this, "Label5", QStringLiteral("Current Situation"));
    Label6 = Etiqueta(this, "Label6", QStringLiteral("Right situation"));
    CH1 = Lista_Marcas(this, "CH1");
    CH2 = Lista_Marcas(this, "CH2");
    B_yes = disposicion::Boton(this, "B_yes", QStringLiteral("Reintentar"));
    B_No = disposicion::Boton(this, "B_No", QStringLiteral("Cancelar"));
    QFont negrita = Label1->font();
    negrita.setBold(true);
    Label1->setFont(negrita);
    Label3->setFont(negrita);

    auto *tarjeta = new QHBoxLayout;
    tarjeta->addWidget(Label4);
    tarjeta->addWidget(Label3, 1);
    auto *situacion = new QGridLayout;
    situacion->addWidget(Label5, 0, 0);
    situacion->addWidget(Label6, 0, 1);
    situacion->addWidget(CH1, 1, 0);
    situacion->addWidget(CH2, 1, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_yes);
    botones->addWidget(B_No);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addWidget(Label2);
    caja->addWidget(Label7);
    caja->addLayout(tarjeta);
    caja->addLayout(situacion, 1);
    caja->addLayout(botones);
    resize(420, 320);

    kv::ui::Al_Pulsar(B_yes, this, [this] { B_YesClick(); });
    connect(B_No, &QPushButton::clicked, this, &QDialog::reject);

    Lang::Traducir_Ventana(this);
}

void TF_Error_insert::Para(const QString &codigo)
{
    m_codigo = codigo;
    Label3->setText(codigo);
    CH1->clear();
    CH2->clear();
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    ZARVColeccionControlador *controladores = Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
    if (!tarjetas || !controladores)
        return;
    tarjetas->Refrescar();
    const auto tarjeta = tarjetas->Busca(codigo);
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        bool asignada = false;
        bool almacenada = false;
        if (tarjeta)
            for (const TControladorTarjeta &a : tarjeta->Controladores())
                if (a.Controlador && a.Controlador->Cod() == c->Cod()) {
                    asignada = true;
                    almacenada = a.Almacenada;
                }
        const QString texto = QString::number(c->Cod()) + QLatin1Char(' ') + c->Descripcion();
        Anade(CH1, texto, almacenada);
        Anade(CH2, texto, asignada);
    }
}

void TF_Error_insert::B_YesClick()
{
    if (kv::wf::Reintenta_Tarjeta(m_codigo)) {
        accept();
        return;
    }
    // Some controller still refuses: the marks show what this attempt
    // changed, so the operator sees where the card is left pending.
    Para(m_codigo);
}
