#pragma once

// Small pieces the walk's files share.
#include "recorrido.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QPrintPreviewWidget>
#include <QTabBar>
#include <QTreeWidget>

namespace piezas {

// Qt's compound widgets are used through their own face (a date, an entry,
// a tab): the buttons and fields they are built of are not controls of ours.
inline bool Compuesto(const QWidget *w)
{
    return qobject_cast<const QCalendarWidget *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
           || qobject_cast<const QComboBox *>(w) || qobject_cast<const QTabBar *>(w)
           || qobject_cast<const QPrintPreviewWidget *>(w);
}

inline QList<QWidget *> Ventanas_Visibles()
{
    QList<QWidget *> r;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            r << w;
    return r;
}

inline QTreeWidgetItem *Nodo_En(QTreeWidget *arbol, const QList<int> &ruta)
{
    QTreeWidgetItem *nodo = nullptr;
    for (int i = 0; i < ruta.size(); ++i) {
        nodo = i == 0 ? arbol->topLevelItem(ruta[i]) : nodo->child(ruta[i]);
        if (!nodo)
            return nullptr;
    }
    return nodo;
}

// Still there to be used: visible and enabled, a node still in its tree.
inline bool Alcanzable(const Control &c)
{
    QObject *o = c.objeto.data();
    if (!o)
        return false;
    if (auto *a = qobject_cast<QAction *>(o))
        return a->isVisible() && a->isEnabled();
    auto *w = static_cast<QWidget *>(o);
    if (!w->isVisible() || !w->isEnabled())
        return false;
    if (c.tipo == Control::Nodo)
        return Nodo_En(static_cast<QTreeWidget *>(w), c.ruta) != nullptr;
    return true;
}

} // namespace piezas
