#include "app/tf_lector_es.h"

#include "app/disposicion.h"

#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "ui/accion.h"
#include "ui/imagenes.h"
#include "ui/listas.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString Letra(const QString &tipo)
{
    switch (kv::wf::Designacion_De(tipo)) {
    case kv::wf::Designacion::Entrada:
        return QStringLiteral("I");
    case kv::wf::Designacion::Salida:
        return QStringLiteral("O");
    case kv::wf::Designacion::Ninguna:
        break;
    }
    return QString();
}

} // namespace

TF_Lector_ES::TF_Lector_ES(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("F_Lector_ES"));
    setWindowTitle(QStringLiteral("Lectores E/S"));
    setModal(true);

    Label1 = disposicion::Etiqueta(
        this, "Label1", QString::fromUtf8("Establezca el tipo de lector mediante el botón derecho del ratón"));
    Lista = kv::ui::Nueva_Lista(
        this, QStringLiteral("Lista"), {QStringLiteral("Lector"), QStringLiteral("Descripcion"), QStringLiteral("Tipo")},
        false);
    Lista->setColumnWidth(0, 70);
    Lista->setColumnWidth(1, 240);
    Lista->setMinimumSize(420, 260);
    Lista->setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto accion = [this](const char *nombre, const QString &texto) {
        auto *a = new QAction(texto, Lista);
        a->setObjectName(QLatin1String(nombre));
        Lista->addAction(a);
        return a;
    };
    Entrada1 = accion("Entrada1", QStringLiteral("Establecer como ENTRADA"));
    Sa1 = accion("Sa1", QStringLiteral("Establecer como SALIDA"));
    Nousarparapresencia1 = accion("Nousarparapresencia1", QStringLiteral("No usar para presencia"));
    Cancelar1 = accion("Cancelar1", QStringLiteral("Cancelar"));
    BitBtn2 = disposicion::Boton(this, "BitBtn2", QStringLiteral("Aceptar"));

    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(BitBtn2);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addWidget(Lista, 1);
    caja->addLayout(botones);

    const auto designa = [this](kv::wf::Designacion d) {
        return [this, d] { kv::ui::Ejecuta_Accion(this, [this, d] { Designa(d); }); };
    };
    connect(Entrada1, &QAction::triggered, this, designa(kv::wf::Designacion::Entrada));
    connect(Sa1, &QAction::triggered, this, designa(kv::wf::Designacion::Salida));
    connect(Nousarparapresencia1, &QAction::triggered, this, designa(kv::wf::Designacion::Ninguna));
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);

    Lang::Traducir_Ventana(this);
}

void TF_Lector_ES::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous())
        kv::ui::Ejecuta_Accion(this, [this] { refresca(); });
}

void TF_Lector_ES::refresca()
{
    const QTreeWidgetItem *actual = Lista->currentItem();
    const QString elegido = actual ? actual->text(0) : QString();
    Lista->clear();
    ZARVColeccionControlador *controladores = Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
    for (int i = 0; controladores && i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        auto *fila = new QTreeWidgetItem({QString::number(c->Cod()), c->Descripcion(), Letra(c->Tipo())});
        kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Elemento);
        Lista->addTopLevelItem(fila);
        if (fila->text(0) == elegido)
            Lista->setCurrentItem(fila);
    }
}

void TF_Lector_ES::Designa(kv::wf::Designacion designacion)
{
    const QTreeWidgetItem *fila = Lista->currentItem();
    if (!fila || !fila->isSelected())
        return;
    try {
        kv::wf::Designa_Lector(fila->text(0).toInt(), designacion);
    } catch (...) {
        // Stored or not (a line that would not listen again is reported
        // after the store), the list shows what the database holds.
        refresca();
        throw;
    }
    refresca();
}
