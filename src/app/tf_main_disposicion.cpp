// The main window's frame: tool bar, header, the three tabs on the left and
// the content area that holds the navigator pages, the tools and the reports.
#include "app/disposicion.h"
#include "app/paginas.h"
#include "app/tf_main.h"

#include "ui/imagen_pulsable.h"
#include "ui/imagenes.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace disposicion;

namespace {

QToolButton *Boton_Barra(QWidget *padre, const char *nombre, const QString &texto, const QIcon &icono)
{
    QToolButton *b = Herramienta(padre, nombre, texto);
    b->setIcon(icono);
    b->setIconSize(QSize(24, 24));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setMinimumWidth(64);
    return b;
}

QTreeWidget *Arbol(QWidget *padre, const char *nombre)
{
    auto *a = new QTreeWidget(padre);
    a->setObjectName(QLatin1String(nombre));
    a->setColumnCount(1);
    a->header()->hide();
    a->setSelectionMode(QAbstractItemView::SingleSelection);
    return a;
}

// A tools entry: a picture over its caption. The caption is placed by
// Centra_Etiquetas, so the panel has no layout of its own.
QWidget *Entrada_Herramienta(QWidget *padre, const char *panel, kv::ui::Imagen_Pulsable *imagen, QLabel *rotulo)
{
    auto *p = new QFrame(padre);
    p->setObjectName(QLatin1String(panel));
    p->setFixedHeight(96);
    imagen->setParent(p);
    imagen->setGeometry(0, 6, 10, 56);
    rotulo->setParent(p);
    rotulo->move(0, 68);
    return p;
}

} // namespace

void TF_Main::Crea_Barra()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto *fila = new QHBoxLayout(Panel1);
    fila->setContentsMargins(4, 2, 4, 2);
    fila->setSpacing(2);
    QStyle *s = style();
    B_Login = Boton_Barra(Panel1, "B_Login", QStringLiteral("Login"), kv::ui::Icono(kv::ui::Icono_Login));
    B_New_USR_Main = Boton_Barra(Panel1, "B_New_USR_Main", QStringLiteral("User"), kv::ui::Icono(kv::ui::Icono_Elemento));
    SpeedButton11 = Boton_Barra(Panel1, "SpeedButton11", QStringLiteral("Incid."),
                                kv::ui::Icono(kv::ui::Icono_Puerta_Abierta));
    B_Test_TODOS = Boton_Barra(Panel1, "B_Test_TODOS", QStringLiteral("Test"), kv::ui::Icono(kv::ui::Icono_Responde));
    B_Send = Boton_Barra(Panel1, "B_Send", QStringLiteral("Send"), s->standardIcon(QStyle::SP_ArrowUp));
    B_Receive = Boton_Barra(Panel1, "B_Receive", QStringLiteral("Recev"), s->standardIcon(QStyle::SP_ArrowDown));
    B_Export_import = Boton_Barra(Panel1, "B_Export_import", QStringLiteral("E/I"),
                                  s->standardIcon(QStyle::SP_FileDialogDetailedView));
    SpeedButton13 = Boton_Barra(Panel1, "SpeedButton13", QStringLiteral("Close"),
                                s->standardIcon(QStyle::SP_DialogCloseButton));
    for (QToolButton *b : {B_Login, B_New_USR_Main, SpeedButton11, B_Test_TODOS, B_Send, B_Receive, B_Export_import})
        fila->addWidget(b);
    fila->addStretch();
    fila->addWidget(SpeedButton13);

    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameShape(QFrame::StyledPanel);
    Panel4->setAutoFillBackground(true);
    QPalette paleta = Panel4->palette();
    paleta.setColor(QPalette::Window, paleta.color(QPalette::Highlight));
    paleta.setColor(QPalette::WindowText, paleta.color(QPalette::HighlightedText));
    Panel4->setPalette(paleta);
    auto *cabecera = new QHBoxLayout(Panel4);
    cabecera->setContentsMargins(8, 4, 8, 4);
    L_Cuerpo = Titulo(Panel4, "L_Cuerpo", QStringLiteral("Instalación"));
    cabecera->addWidget(L_Cuerpo);
}

void TF_Main::Crea_Lateral()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setFixedWidth(240);

    TabSheet1 = Panel(nullptr, "TabSheet1");
    Arbol1 = Arbol(TabSheet1, "Arbol1");
    TabSheet1->layout()->addWidget(Arbol1);
    const std::vector<Nodo_Navegacion> &tabla = Tabla_Navegacion();
    QTreeWidgetItem *padre = nullptr;
    for (std::size_t i = 0; i < tabla.size(); ++i) {
        auto *nodo = tabla[i].hijo && padre ? new QTreeWidgetItem(padre, {tabla[i].texto})
                                            : new QTreeWidgetItem(Arbol1, {tabla[i].texto});
        nodo->setData(0, Qt::UserRole, static_cast<uint>(i));
        if (!tabla[i].hijo)
            padre = nodo;
    }
    PageControl1->addTab(TabSheet1, QStringLiteral("Navegator"));

    TabSheet2 = Panel(nullptr, "TabSheet2");
    Image2 = new kv::ui::Imagen_Pulsable(QStringLiteral("Image2"));
    Image2->setPixmap(kv::ui::Imagen(kv::ui::Dibujo::Incidencias, 48));
    Image3 = new kv::ui::Imagen_Pulsable(QStringLiteral("Image3"));
    Image3->setPixmap(kv::ui::Imagen(kv::ui::Dibujo::Presencia, 48));
    Image6 = new kv::ui::Imagen_Pulsable(QStringLiteral("Image6"));
    Image6->setPixmap(kv::ui::Imagen(kv::ui::Dibujo::Camaras, 48));
    Label5 = Etiqueta(nullptr, "Label5", QStringLiteral("Registering Incidences"));
    Label6 = Etiqueta(nullptr, "Label6", QStringLiteral("Attendance Control"));
    Label7 = Etiqueta(nullptr, "Label7", QStringLiteral("Camera Control"));
    TabSheet2->layout()->addWidget(Entrada_Herramienta(TabSheet2, "Panel_Image2", Image2, Label5));
    TabSheet2->layout()->addWidget(Entrada_Herramienta(TabSheet2, "Panel_Image3", Image3, Label6));
    QWidget *camaras = Entrada_Herramienta(TabSheet2, "Panel_Image6", Image6, Label7);
    TabSheet2->layout()->addWidget(camaras);
    // The camera window is reached from nowhere in this window.
    camaras->hide();
    static_cast<QVBoxLayout *>(TabSheet2->layout())->addStretch();
    PageControl1->addTab(TabSheet2, QStringLiteral("Tools"));

    TabSheet3 = Panel(nullptr, "TabSheet3");
    Arbol_REPORTS = Arbol(TabSheet3, "Arbol_REPORTS");
    TabSheet3->layout()->addWidget(Arbol_REPORTS);
    auto *informes = new QTreeWidgetItem(Arbol_REPORTS, {QStringLiteral("Reports")});
    for (const char *t : {"Users", "Cards", "Controllers", "Cards per user"})
        new QTreeWidgetItem(informes, {QString::fromUtf8(t)});
    PageControl1->addTab(TabSheet3, QStringLiteral("Reports"));
}

void TF_Main::Crea_Contenido()
{
    PANEL_CUERPO_CENTRAL = Panel(this, "PANEL_CUERPO_CENTRAL");
    PANEL_NAVEGATOR = Panel(PANEL_CUERPO_CENTRAL, "PANEL_NAVEGATOR");
    PANEL_TOOLS = Panel(PANEL_CUERPO_CENTRAL, "PANEL_TOOLS");
    PANEL_REPORTS = Panel(PANEL_CUERPO_CENTRAL, "PANEL_REPORTS");
    // Exactly one of the three shows at a time and fills the area: hidden
    // widgets take no room in the layout.
    for (QWidget *area : {PANEL_NAVEGATOR, PANEL_TOOLS, PANEL_REPORTS})
        PANEL_CUERPO_CENTRAL->layout()->addWidget(area);

    for (const Nodo_Navegacion &nodo : Tabla_Navegacion()) {
        Pagina *pagina = nodo.crea ? nodo.crea(*this, this) : nullptr;
        m_paginas.push_back(pagina);
        if (pagina)
            PANEL_NAVEGATOR->layout()->addWidget(pagina->Panel());
    }

    Crea_Herramientas();
    Crea_Informes();
}
