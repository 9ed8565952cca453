#include "app/dialogo_buscar.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

Dialogo_Buscar::Dialogo_Buscar(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Find"));
    setWindowTitle(QStringLiteral("Find"));
    Texto = new QLineEdit(this);
    Texto->setObjectName(QStringLiteral("Texto"));
    B_Buscar = new QPushButton(QStringLiteral("Find next"), this);
    B_Buscar->setObjectName(QStringLiteral("B_Buscar"));
    B_Buscar->setDefault(true);
    auto *fila = new QHBoxLayout(this);
    fila->addWidget(Texto, 1);
    fila->addWidget(B_Buscar);
    connect(B_Buscar, &QPushButton::clicked, this, [this] { emit Buscar(Texto->text()); });
}

bool Busca_En_Lista(QTreeWidget *lista, const QString &texto, int columnas)
{
    const QString buscado = texto.toUpper();
    QList<QTreeWidgetItem *> halladas;
    lista->clearSelection();
    for (int i = 0; i < lista->topLevelItemCount(); ++i) {
        QTreeWidgetItem *f = lista->topLevelItem(i);
        for (int c = 0; c < columnas; ++c) {
            if (!buscado.isEmpty() && f->text(c).toUpper().contains(buscado)) {
                f->setSelected(true);
                halladas << f;
                break;
            }
        }
    }
    if (halladas.isEmpty())
        return false;
    const int actual = lista->currentItem() ? lista->indexOfTopLevelItem(lista->currentItem()) : -1;
    QTreeWidgetItem *siguiente = halladas.first();
    for (QTreeWidgetItem *f : halladas) {
        if (lista->indexOfTopLevelItem(f) > actual) {
            siguiente = f;
            break;
        }
    }
    lista->setCurrentItem(siguiente, 0, QItemSelectionModel::NoUpdate);
    lista->scrollToItem(siguiente);
    return true;
}
