#include "lang/ui/traducir.h"

#include "lang/lang.h"
#include "lang/tablas.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMetaProperty>
#include <QQueue>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBox>
#include <QTreeWidget>
#include <QWidget>

namespace Lang {
namespace {

bool propiedad(QObject *o, const char *nombre, const QString &valor)
{
    const int i = o->metaObject()->indexOfProperty(nombre);
    if (i < 0 || !o->metaObject()->property(i).isWritable())
        return false;
    return o->setProperty(nombre, valor);
}

// A page's caption is its tab's text.
bool texto_pagina(QWidget *w, const QString &t)
{
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(p); tabs && tabs->indexOf(w) >= 0) {
            tabs->setTabText(tabs->indexOf(w), t);
            return true;
        }
        if (auto *caja = qobject_cast<QToolBox *>(p); caja && caja->indexOf(w) >= 0) {
            caja->setItemText(caja->indexOf(w), t);
            return true;
        }
    }
    return false;
}

bool poner_texto(QObject *o, const QString &t)
{
    if (auto *a = qobject_cast<QAction *>(o)) {
        a->setText(t);
        return true;
    }
    if (auto *m = qobject_cast<QMenu *>(o)) {
        m->setTitle(t);
        return true;
    }
    if (auto *g = qobject_cast<QGroupBox *>(o)) {
        g->setTitle(t);
        return true;
    }
    if (auto *w = qobject_cast<QWidget *>(o); w && texto_pagina(w, t))
        return true;
    return propiedad(o, "text", t) || propiedad(o, "title", t);
}

bool poner_texto_combo(QObject *o, const QString &t)
{
    auto *c = qobject_cast<QComboBox *>(o);
    if (!c)
        return false;
    if (c->isEditable()) {
        c->setEditText(t);
    } else if (const int i = c->findText(t); i >= 0) {
        c->setCurrentIndex(i);
    } else {
        // A drop-down list shows no free text; the placeholder is what shows
        // until an entry is chosen.
        c->setPlaceholderText(t);
    }
    return true;
}

bool poner_entrada_combo(QObject *o, int i, const QString &t)
{
    auto *c = qobject_cast<QComboBox *>(o);
    if (!c || i < 0)
        return false;
    while (c->count() <= i)
        c->addItem(QString());
    c->setItemText(i, t);
    return true;
}

bool poner_columna(QObject *o, int i, const QString &t)
{
    if (i < 0)
        return false;
    if (auto *arbol = qobject_cast<QTreeWidget *>(o)) {
        if (arbol->columnCount() <= i)
            arbol->setColumnCount(i + 1);
        arbol->headerItem()->setText(i, t);
        return true;
    }
    if (auto *tabla = qobject_cast<QTableWidget *>(o)) {
        if (tabla->columnCount() <= i)
            tabla->setColumnCount(i + 1);
        QTableWidgetItem *cab = tabla->horizontalHeaderItem(i);
        if (!cab) {
            cab = new QTableWidgetItem;
            tabla->setHorizontalHeaderItem(i, cab);
        }
        cab->setText(t);
        return true;
    }
    if (auto *vista = qobject_cast<QAbstractItemView *>(o); vista && vista->model())
        return vista->model()->setHeaderData(i, Qt::Horizontal, t);
    return false;
}

// The node with absolute index i: the first node is 0, then its children
// before its next sibling, whether expanded or not.
QModelIndex nodo(const QAbstractItemModel *m, int &i, const QModelIndex &padre = QModelIndex())
{
    for (int fila = 0; fila < m->rowCount(padre); ++fila) {
        const QModelIndex n = m->index(fila, 0, padre);
        if (i-- == 0)
            return n;
        if (const QModelIndex dentro = nodo(m, i, n); dentro.isValid())
            return dentro;
    }
    return QModelIndex();
}

bool poner_nodo(QObject *o, int i, const QString &t)
{
    auto *vista = qobject_cast<QAbstractItemView *>(o);
    if (!vista || !vista->model() || i < 0)
        return false;
    int resta = i;
    const QModelIndex n = nodo(vista->model(), resta);
    return n.isValid() && vista->model()->setData(n, t, Qt::DisplayRole);
}

bool aplicar(QWidget *ventana, const Clave_Ventana &c, const QString &t)
{
    if (c.destino == Destino::Titulo) {
        ventana->setWindowTitle(t);
        return true;
    }
    QObject *o = Buscar_Objeto(ventana, QLatin1String(c.objeto));
    if (!o)
        return false;
    switch (c.destino) {
    case Destino::Titulo:
        break;
    case Destino::Texto:
        return poner_texto(o, t);
    case Destino::Pista:
        return o->setProperty("toolTip", t);
    case Destino::Titulo_Dialogo:
        // A dynamic property on a plain object counts as set, though Qt says
        // false for it.
        o->setProperty("windowTitle", t);
        return true;
    case Destino::Texto_Combo:
        return poner_texto_combo(o, t);
    case Destino::Elemento_Combo:
        return poner_entrada_combo(o, c.indice, t);
    case Destino::Columna:
        return poner_columna(o, c.indice, t);
    case Destino::Nodo:
        return poner_nodo(o, c.indice, t);
    }
    return false;
}

} // namespace

QObject *Buscar_Objeto(QWidget *ventana, const QString &nombre)
{
    if (!ventana)
        return nullptr;
    QQueue<QObject *> cola;
    cola.enqueue(ventana);
    while (!cola.isEmpty()) {
        QObject *o = cola.dequeue();
        if (o != ventana && o->objectName() == nombre)
            return o;
        auto *w = qobject_cast<QWidget *>(o);
        // Another window's controls are that window's, even when it is a
        // child of this one; menus are windows that belong to their owner.
        if (o != ventana && w && w->isWindow() && !qobject_cast<QMenu *>(w))
            continue;
        for (QObject *hijo : o->children())
            cola.enqueue(hijo);
    }
    return nullptr;
}

QStringList Traducir_Ventana(QWidget *ventana)
{
    QStringList faltan;
    if (!ventana)
        return faltan;
    const Tabla_Ventana *tabla = Tabla_De(ventana->objectName());
    if (!tabla)
        return faltan;
    for (const Clave_Ventana &c : tabla->claves) {
        const QString clave = Clave(tabla->ventana, c);
        if (!aplicar(ventana, c, Texto_Idioma(clave)))
            faltan.append(clave);
    }
    return faltan;
}

} // namespace Lang
