// The six pages of the navigator: installation, users, readers, cards,
// logins and parameters, each a heading, a button bar and its list.
#include "app/disposicion.h"
#include "app/tf_main.h"

#include "ui/listas.h"

#include <QBoxLayout>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

using namespace disposicion;

namespace {

void Anade(QWidget *pagina, QWidget *w, int estira = 0)
{
    static_cast<QBoxLayout *>(pagina->layout())->addWidget(w, estira);
}

} // namespace

void TF_Main::Crea_Pagina_Instalacion()
{
    PANEL_INSTALACION = Panel(nullptr, "PANEL_INSTALACION");
    Label4 = Titulo(PANEL_INSTALACION, "Label4", QStringLiteral("Lectores de la instalación"));
    Lista_INI = kv::ui::Nueva_Lista(PANEL_INSTALACION, QStringLiteral("Lista_INI"),
                                    {QStringLiteral("Number"), QStringLiteral("Description")}, false);
    Anade(PANEL_INSTALACION, Label4);
    Anade(PANEL_INSTALACION, Lista_INI, 1);
}

void TF_Main::Crea_Pagina_Usuarios()
{
    PANEL_LISTA_USR = Panel(nullptr, "PANEL_LISTA_USR");
    Label1 = Titulo(PANEL_LISTA_USR, "Label1", QStringLiteral("Usuarios"));
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(PANEL_LISTA_USR, "Panel_Botones_USR", &fila);
    B_New_USR_Usr = Boton(barra, "B_New_USR_Usr", QStringLiteral("New"));
    B_edit_usr = Boton(barra, "B_edit_usr", QStringLiteral("Edit"));
    B_Delete = Boton(barra, "B_Delete", QStringLiteral("Delete"));
    SpeedButton25 = Boton(barra, "SpeedButton25", QStringLiteral("Find"));
    B_Send_u = Boton(barra, "B_Send_u", QStringLiteral("Send"));
    B_receive_u = Boton(barra, "B_receive_u", QStringLiteral("Receive"));
    SpeedButton4 = Boton(barra, "SpeedButton4", QStringLiteral("Lock"));
    SpeedButton6 = Boton(barra, "SpeedButton6", QStringLiteral("Unlock"));
    for (QPushButton *b : {B_New_USR_Usr, B_edit_usr, B_Delete, SpeedButton25, B_Send_u, B_receive_u, SpeedButton4,
                           SpeedButton6})
        fila->addWidget(b);
    fila->addStretch();
    // Locking single users was never finished; the buttons stay out of sight.
    SpeedButton4->hide();
    SpeedButton6->hide();

    Lista1 = kv::ui::Nueva_Lista(PANEL_LISTA_USR, QStringLiteral("Lista1"),
                                 {QStringLiteral("Name"), QStringLiteral("Second name"), QStringLiteral("N Cards"),
                                  QStringLiteral("Cards"), QStringLiteral("Key")},
                                 true);
    kv::ui::Oculta_Columna(Lista1, 4);
    Lista1->setColumnWidth(0, 160);
    Lista1->setColumnWidth(1, 220);
    Lista1->setColumnWidth(2, 70);
    Anade(PANEL_LISTA_USR, Label1);
    Anade(PANEL_LISTA_USR, barra);
    Anade(PANEL_LISTA_USR, Lista1, 1);
}

void TF_Main::Crea_Pagina_Lectores()
{
    PANEL_LISTA_READERS = Panel(nullptr, "PANEL_LISTA_READERS");
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(PANEL_LISTA_READERS, "Panel_Botones_Readers", &fila);
    B_Nueva_Cx = Boton(barra, "B_Nueva_Cx", QStringLiteral("New"));
    B_Editar_cx = Boton(barra, "B_Editar_cx", QStringLiteral("Edit"));
    B_Delete_Cx = Boton(barra, "B_Delete_Cx", QStringLiteral("Delete"));
    B_Test_Cx = Boton(barra, "B_Test_Cx", QStringLiteral("Test"));
    B_Master_Card = Boton(barra, "B_Master_Card", QStringLiteral("Master"));
    B_Clone_cx = Boton(barra, "B_Clone_cx", QStringLiteral("Clone"));
    B_vacia_Cards = Boton(barra, "B_vacia_Cards", QStringLiteral("Cards"));
    for (QPushButton *b : {B_Nueva_Cx, B_Editar_cx, B_Delete_Cx, B_Test_Cx, B_Master_Card, B_Clone_cx, B_vacia_Cards})
        fila->addWidget(b);
    fila->addStretch();

    Label2 = Titulo(PANEL_LISTA_READERS, "Label2", QStringLiteral("Lectores"));
    L1_Contr = kv::ui::Nueva_Lista(PANEL_LISTA_READERS, QStringLiteral("L1_Contr"),
                                   {QStringLiteral("Lector"), QString::fromUtf8("Descripción"), QStringLiteral("COM"),
                                    QStringLiteral("Activo"), QStringLiteral("Direccion")},
                                   true);
    // The readers list keeps a fixed height; the test results take the rest.
    L1_Contr->setFixedHeight(200);
    L1_Contr->setColumnWidth(1, 220);
    Label3 = Titulo(PANEL_LISTA_READERS, "Label3", QStringLiteral("Test"));
    L2_Contr = kv::ui::Nueva_Lista(PANEL_LISTA_READERS, QStringLiteral("L2_Contr"),
                                   {QStringLiteral("Lector"), QString::fromUtf8("Descripción"), QStringLiteral("Estado"),
                                    QStringLiteral("T.activ.abrep"), QStringLiteral("T.puerta abierta"),
                                    QStringLiteral("Version"), QStringLiteral("Tarjetas"),
                                    QStringLiteral("Tarjetas BBDD")},
                                   true);
    L2_Contr->setColumnWidth(1, 220);
    L2_Contr->setColumnWidth(2, 160);
    Anade(PANEL_LISTA_READERS, barra);
    Anade(PANEL_LISTA_READERS, Label2);
    Anade(PANEL_LISTA_READERS, L1_Contr);
    Anade(PANEL_LISTA_READERS, Label3);
    Anade(PANEL_LISTA_READERS, L2_Contr, 1);
}

void TF_Main::Crea_Pagina_Tarjetas()
{
    PANEL_LISTA_CARDS = Panel(nullptr, "PANEL_LISTA_CARDS");
    Label9 = Titulo(PANEL_LISTA_CARDS, "Label9", QStringLiteral("Tarjetas"));
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(PANEL_LISTA_CARDS, "Panel_Botones_Cards", &fila);
    B_New_Card = Boton(barra, "B_New_Card", QStringLiteral("New"));
    B_Edit_Card = Boton(barra, "B_Edit_Card", QStringLiteral("Edit"));
    B_Delete_Cards = Boton(barra, "B_Delete_Cards", QStringLiteral("Delete"));
    SpeedButton21 = Boton(barra, "SpeedButton21", QStringLiteral("Find"));
    for (QPushButton *b : {B_New_Card, B_Edit_Card, B_Delete_Cards, SpeedButton21})
        fila->addWidget(b);
    fila->addStretch();
    // A card is edited with a double click on its row.
    B_Edit_Card->hide();

    Lista3 = kv::ui::Nueva_Lista(PANEL_LISTA_CARDS, QStringLiteral("Lista3"),
                                 {QStringLiteral("Card"), QStringLiteral("User Name"),
                                  QStringLiteral("User Second name"), QStringLiteral("Readers"),
                                  QStringLiteral("Caducidad"), QStringLiteral("Fecha caducidad"),
                                  QStringLiteral("Fecha Alta")},
                                 true);
    const int anchos[] = {120, 140, 180, 160, 70, 150, 150};
    for (int i = 0; i < 7; ++i)
        Lista3->setColumnWidth(i, anchos[i]);
    Anade(PANEL_LISTA_CARDS, Label9);
    Anade(PANEL_LISTA_CARDS, barra);
    Anade(PANEL_LISTA_CARDS, Lista3, 1);
}

void TF_Main::Crea_Pagina_Logins()
{
    PANEL_LISTA_LOGINS = Panel(nullptr, "PANEL_LISTA_LOGINS");
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(PANEL_LISTA_LOGINS, "Panel_Botones_Logins", &fila);
    B_Nuevo_Login = Boton(barra, "B_Nuevo_Login", QStringLiteral("New"));
    B_Delete_login = Boton(barra, "B_Delete_login", QStringLiteral("Delete"));
    fila->addWidget(B_Nuevo_Login);
    fila->addWidget(B_Delete_login);
    fila->addStretch();
    Lista4 = kv::ui::Nueva_Lista(PANEL_LISTA_LOGINS, QStringLiteral("Lista4"),
                                 {QStringLiteral("Login"), QStringLiteral("Level")}, false);
    Lista4->setColumnWidth(0, 220);
    Anade(PANEL_LISTA_LOGINS, barra);
    Anade(PANEL_LISTA_LOGINS, Lista4, 1);
}

void TF_Main::Crea_Pagina_Parametros()
{
    PANEL_PARAMETERS = Panel(nullptr, "PANEL_PARAMETERS");
    PANEL_PARAMETERS->layout()->setContentsMargins(12, 12, 12, 12);
    Label10 = Titulo(PANEL_PARAMETERS, "Label10", QString::fromUtf8("Parámetros"));
    Label8 = Titulo(PANEL_PARAMETERS, "Label8", QStringLiteral("Base de datos"));
    Label11 = Etiqueta(PANEL_PARAMETERS, "Label11", QString());
    Label12 = Etiqueta(PANEL_PARAMETERS, "Label12", QString());
    Label13 = Etiqueta(PANEL_PARAMETERS, "Label13", QString());
    SpeedButton28 = Boton(PANEL_PARAMETERS, "SpeedButton28", QString::fromUtf8("Gestión de la Base de Datos"));
    Label14 = Titulo(PANEL_PARAMETERS, "Label14", QString::fromUtf8("Aplicación"));
    Label15 = Etiqueta(PANEL_PARAMETERS, "Label15", QString());
    Label16 = Etiqueta(PANEL_PARAMETERS, "Label16", QString());
    SpeedButton29 = Boton(PANEL_PARAMETERS, "SpeedButton29", QString::fromUtf8("Parámetros de la aplicación"));
    auto *caja = static_cast<QBoxLayout *>(PANEL_PARAMETERS->layout());
    caja->addWidget(Label10);
    caja->addSpacing(12);
    for (QWidget *w : {static_cast<QWidget *>(Label8), static_cast<QWidget *>(Label11),
                       static_cast<QWidget *>(Label12), static_cast<QWidget *>(Label13)})
        caja->addWidget(w);
    caja->addWidget(SpeedButton28, 0, Qt::AlignLeft);
    caja->addSpacing(16);
    for (QWidget *w : {static_cast<QWidget *>(Label14), static_cast<QWidget *>(Label15),
                       static_cast<QWidget *>(Label16)})
        caja->addWidget(w);
    caja->addWidget(SpeedButton29, 0, Qt::AlignLeft);
    caja->addStretch();
}
