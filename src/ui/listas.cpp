#include "ui/listas.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace kv::ui {

QTreeWidget *Nueva_Lista(QWidget *padre, const QString &nombre, const QStringList &columnas, bool multiple)
{
    auto *lista = new QTreeWidget(padre);
    lista->setObjectName(nombre);
    lista->setColumnCount(static_cast<int>(columnas.size()));
    lista->setHeaderLabels(columnas);
    lista->setRootIsDecorated(false);
    lista->setItemsExpandable(false);
    lista->setUniformRowHeights(true);
    lista->setAllColumnsShowFocus(true);
    lista->setAlternatingRowColors(true);
    lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    lista->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    lista->setSortingEnabled(false);
    lista->header()->setStretchLastSection(true);
    lista->header()->setSectionsMovable(false);
    return lista;
}

void Oculta_Columna(QTreeWidget *lista, int columna)
{
    lista->setColumnHidden(columna, true);
}

} // namespace kv::ui
