// Which page, tool or report area shows: the navigation tree, the tabs on
// the left and the tools entries.
#include "app/tf_main.h"

#include "app/paginas.h"

#include "model/globales.h"
#include "model/zarvsistema.h"

#include "ui/accion.h"
#include "ui/imagen_pulsable.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Each node keeps its position in the navigation table, which is also the
// position of its page in m_paginas.
constexpr int Rol_Nodo = Qt::UserRole;

} // namespace

QTreeWidgetItem *TF_Main::Nodo_De(const Pagina &pagina) const
{
    QList<QTreeWidgetItem *> pendientes;
    for (int i = 0; i < Arbol1->topLevelItemCount(); ++i)
        pendientes << Arbol1->topLevelItem(i);
    while (!pendientes.isEmpty()) {
        QTreeWidgetItem *nodo = pendientes.takeFirst();
        const QVariant indice = nodo->data(0, Rol_Nodo);
        if (indice.isValid() && m_paginas.at(indice.toUInt()) == &pagina)
            return nodo;
        for (int i = 0; i < nodo->childCount(); ++i)
            pendientes << nodo->child(i);
    }
    return nullptr;
}

void TF_Main::Muestra(Pagina &pagina)
{
    {
        // The tab's change handler runs once, below, not also from the signal.
        const QSignalBlocker bloqueo(PageControl1);
        PageControl1->setCurrentWidget(TabSheet1);
    }
    PageControl1Change();
    QTreeWidgetItem *nodo = Nodo_De(pagina);
    {
        // The change handler runs once, below, not also from the signal.
        const QSignalBlocker bloqueo(Arbol1);
        Arbol1->setCurrentItem(nodo);
    }
    Arbol1Change(nodo);
}

void TF_Main::Habilita_Test_Todos(bool activo)
{
    B_Test_TODOS->setEnabled(activo);
}

void TF_Main::Arbol1Change(QTreeWidgetItem *nodo)
{
    if (!nodo)
        return;
    L_Cuerpo->setText(nodo->text(0));
    const QVariant indice = nodo->data(0, Rol_Nodo);
    Pagina *pagina = indice.isValid() ? m_paginas.at(indice.toUInt()) : nullptr;
    // A node that only groups others leaves the page on show as it is.
    if (!pagina)
        return;
    Anota_Marca_Cambios();
    Muestra_Paginas(pagina);
    pagina->Activar();
}

void TF_Main::Muestra_Paginas(Pagina *pagina)
{
    for (Pagina *p : m_paginas)
        if (p)
            p->Panel()->setVisible(p == pagina);
}

void TF_Main::Restringe_Usuario()
{
    const std::vector<Nodo_Navegacion> &tabla = Tabla_Navegacion();
    QList<QTreeWidgetItem *> fuera;
    QList<QTreeWidgetItem *> pendientes;
    for (int i = 0; i < Arbol1->topLevelItemCount(); ++i)
        pendientes << Arbol1->topLevelItem(i);
    while (!pendientes.isEmpty()) {
        QTreeWidgetItem *nodo = pendientes.takeFirst();
        for (int i = 0; i < nodo->childCount(); ++i)
            pendientes << nodo->child(i);
        const int indice = nodo->data(0, Rol_Nodo).toInt();
        if (tabla.at(static_cast<std::size_t>(indice)).solo_admin)
            fuera << nodo;
    }
    // Children first: a node deleted takes its children along.
    for (auto it = fuera.crbegin(); it != fuera.crend(); ++it)
        delete *it;
    for (Pagina *p : m_paginas)
        if (p)
            p->Restringe_Usuario();
}

void TF_Main::PageControl1Change()
{
    QWidget *activa = PageControl1->currentWidget();
    PANEL_NAVEGATOR->setVisible(activa == TabSheet1);
    PANEL_TOOLS->setVisible(activa == TabSheet2);
    PANEL_REPORTS->setVisible(activa == TabSheet3);
    if (activa == TabSheet2)
        Centra_Etiquetas();
    // The report on show is made again from the data as they are now: cards
    // or cardholders may have changed on the other tabs meanwhile.
    if (activa == TabSheet3 && Arbol_REPORTS->currentItem())
        kv::ui::Ejecuta_Accion(this, [this] { Arbol_REPORTSChange(Arbol_REPORTS->currentItem()); });
}

void TF_Main::Centra_Etiquetas()
{
    for (QLabel *rotulo : {Label5, Label6, Label7}) {
        QWidget *panel = rotulo->parentWidget();
        rotulo->adjustSize();
        rotulo->move((panel->width() - rotulo->width()) / 2, rotulo->y());
    }
    for (kv::ui::Imagen_Pulsable *imagen : {Image2, Image3, Image6})
        imagen->setGeometry(0, imagen->y(), imagen->parentWidget()->width(), imagen->height());
}

void TF_Main::FormActivate()
{
    // Coming back to the window shows what changed in the database while it
    // was away (another window, another station); when nothing did, nothing
    // is read again.
    if (!Globales::Sistema || Globales::Sistema->Marca_Cambios() == m_marca_cambios)
        return;
    const QList<QTreeWidgetItem *> elegidos = Arbol1->selectedItems();
    if (!elegidos.isEmpty())
        Arbol1Change(elegidos.first());
}

void TF_Main::Anota_Marca_Cambios()
{
    // Read before the page reads the database: a change in between shows at
    // the next activation rather than never.
    if (Globales::Sistema)
        m_marca_cambios = Globales::Sistema->Marca_Cambios();
}

void TF_Main::SpeedButton11Click()
{
    {
        const QSignalBlocker bloqueo(PageControl1);
        PageControl1->setCurrentWidget(TabSheet2);
    }
    PageControl1Change();
    Image2Click();
}

void TF_Main::Image2Click()
{
    PANEL_INCIDENCIAS->show();
    PANEL_ATTENDANCE->hide();
    L_WHICH_TOOL->setText(Label5->text());
}

