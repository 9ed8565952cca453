// Which page, tool or report area shows: the navigation tree, the tabs on
// the left and the tools entries.
#include "app/tf_main.h"

#include "ui/imagen_pulsable.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

enum Nodo_Navegacion { Instalacion = 0, Usuarios = 1, Tarjetas = 2, Lectores = 3, Gestion = 4, Logins = 5, Parametros = 6 };

// Nodes in display order through all levels, the order their numbers follow.
void En_Orden(QTreeWidgetItem *nodo, QList<QTreeWidgetItem *> &lista)
{
    lista.append(nodo);
    for (int i = 0; i < nodo->childCount(); ++i)
        En_Orden(nodo->child(i), lista);
}

QList<QTreeWidgetItem *> Nodos(const QTreeWidget *arbol)
{
    QList<QTreeWidgetItem *> lista;
    for (int i = 0; i < arbol->topLevelItemCount(); ++i)
        En_Orden(arbol->topLevelItem(i), lista);
    return lista;
}

} // namespace

QTreeWidgetItem *TF_Main::Nodo(int indice) const
{
    const QList<QTreeWidgetItem *> lista = Nodos(Arbol1);
    return indice >= 0 && indice < lista.size() ? lista[indice] : nullptr;
}

int TF_Main::Indice_Absoluto(const QTreeWidgetItem *nodo)
{
    if (!nodo || !nodo->treeWidget())
        return -1;
    return static_cast<int>(Nodos(nodo->treeWidget()).indexOf(const_cast<QTreeWidgetItem *>(nodo)));
}

void TF_Main::Selecciona_Nodo(int indice)
{
    QTreeWidgetItem *nodo = Nodo(indice);
    {
        // The change handler runs once, below, not also from the signal.
        const QSignalBlocker bloqueo(Arbol1);
        Arbol1->setCurrentItem(nodo);
    }
    Arbol1Change(nodo);
}

void TF_Main::Arbol1Change(QTreeWidgetItem *nodo)
{
    if (!nodo)
        return;
    L_Cuerpo->setText(nodo->text(0));
    switch (Indice_Absoluto(nodo)) {
    case Instalacion:
        Muestra_Paginas(PANEL_INSTALACION);
        Refresca_Lista_INI();
        break;
    case Usuarios:
        Muestra_Paginas(PANEL_LISTA_USR);
        Refrescar_usuariosII();
        break;
    case Tarjetas:
        Muestra_Paginas(PANEL_LISTA_CARDS);
        Refrescar_tarjetas();
        break;
    case Lectores:
        // The readers list is rebuilt by its own workflows, not on every visit.
        Muestra_Paginas(PANEL_LISTA_READERS);
        break;
    case Logins:
        Muestra_Paginas(PANEL_LISTA_LOGINS);
        Refresca_Logins();
        break;
    case Parametros:
        Muestra_Paginas(PANEL_PARAMETERS);
        break;
    default:
        break;
    }
}

void TF_Main::Muestra_Paginas(QWidget *pagina)
{
    for (QWidget *p : {PANEL_INSTALACION, PANEL_LISTA_USR, PANEL_LISTA_READERS, PANEL_LISTA_CARDS, PANEL_LISTA_LOGINS,
                       PANEL_PARAMETERS})
        p->setVisible(p == pagina);
}

void TF_Main::PageControl1Change()
{
    QWidget *activa = PageControl1->currentWidget();
    PANEL_NAVEGATOR->setVisible(activa == TabSheet1);
    PANEL_TOOLS->setVisible(activa == TabSheet2);
    PANEL_REPORTS->setVisible(activa == TabSheet3);
    if (activa == TabSheet2)
        Centra_Etiquetas();
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
    const QList<QTreeWidgetItem *> elegidos = Arbol1->selectedItems();
    if (!elegidos.isEmpty())
        Arbol1Change(elegidos.first());
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

void TF_Main::Borra_Ultimo_Nodo()
{
    const QList<QTreeWidgetItem *> lista = Nodos(Arbol1);
    if (!lista.isEmpty())
        delete lista.last();
}

void TF_Main::Mueve_Test_Cx_Al_Principio()
{
    auto *fila = qobject_cast<QBoxLayout *>(B_Test_Cx->parentWidget()->layout());
    if (!fila)
        return;
    fila->removeWidget(B_Test_Cx);
    fila->insertWidget(0, B_Test_Cx);
}
