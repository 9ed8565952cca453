#include "app/pagina_usuarios.h"

#include "app/dialogo_buscar.h"
#include "app/disposicion.h"
#include "app/interlocutor_ventanas.h"
#include "app/tf_delete_conf.h"
#include "app/tf_edit_user.h"
#include "app/tf_main.h"
#include "app/tf_muestra_del.h"
#include "app/tf_nuevo_usr.h"
#include "app/tf_pregunta_elimina_tarj.h"
#include "app/tf_recv_users.h"
#include "app/tf_send_card.h"
#include "app/ventanas.h"
#include "app/ventanas_envio.h"
#include "app/ventanas_usuarios.h"
#include "app/lectores_tarjeta.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvusuario.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/accion.h"
#include "ui/operador.h"
#include "workflows/flujo_usuarios.h"

#include <QBoxLayout>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace disposicion;

Pagina_Usuarios::Pagina_Usuarios(Vista_Principal &vista, QObject *padre)
    : Pagina(vista, "PANEL_LISTA_USR", padre)
{
    Label1 = Titulo(Panel(), "Label1", QStringLiteral("Usuarios"));
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(Panel(), "Panel_Botones_USR", &fila);
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

    Lista1 = kv::ui::Nueva_Lista(Panel(), QStringLiteral("Lista1"),
                                 {QStringLiteral("Name"), QStringLiteral("Second name"), QStringLiteral("N Cards"),
                                  QStringLiteral("Cards"), QStringLiteral("Key")},
                                 true);
    kv::ui::Oculta_Columna(Lista1, 4);
    Lista1->setColumnWidth(0, 160);
    Lista1->setColumnWidth(1, 220);
    Lista1->setColumnWidth(2, 70);
    auto *caja = static_cast<QBoxLayout *>(Panel()->layout());
    caja->addWidget(Label1);
    caja->addWidget(barra);
    caja->addWidget(Lista1, 1);

    QWidget *ventana = Vista().Ventana();
    m_buscar = new Dialogo_Buscar(ventana);
    m_buscar->setObjectName(QStringLiteral("Find_user"));
    connect(m_buscar, &Dialogo_Buscar::Buscar, this, [this](const QString &t) {
        if (Find_userFind(t))
            Lista1->setFocus();
    });
    kv::ui::Al_Pulsar(B_New_USR_Usr, ventana, [this] { B_New_USR_MainClick(); });
    kv::ui::Al_Pulsar(B_edit_usr, ventana, [this] { B_edit_usrClick(); });
    kv::ui::Al_Pulsar(B_Delete, ventana, [this] { B_DeleteClick(); });
    kv::ui::Al_Pulsar(SpeedButton25, ventana, [this] { SpeedButton25Click(); });
    kv::ui::Al_Pulsar(B_Send_u, ventana, [] { Ventanas::Sincroniza_Y_Refresca(Ventanas::F_Send_Card); });
    kv::ui::Al_Pulsar(B_receive_u, ventana, [] { Ventanas::Sincroniza_Y_Refresca(Ventanas::f_recv_users); });
    connect(Lista1, &QTreeWidget::itemDoubleClicked, this,
            [this, ventana] { kv::ui::Ejecuta_Accion(ventana, [this] { B_edit_usrClick(); }); });
}

void Pagina_Usuarios::B_New_USR_MainClick()
{
    Al_Frente(Ventanas::F_Nuevo_Usr);
}

void Pagina_Usuarios::B_edit_usrClick()
{
    QTreeWidgetItem *fila = Lista1->currentItem();
    if (!fila || !fila->isSelected())
        return;
    TF_Edit_User *w = Ventanas::F_Edit_User;
    // The window shows one user at a time: reopened, it shows this one.
    w->close();
    if (w->Prepara_Usuario(fila->text(4).toInt()))
        Al_Frente(w);
}

void Pagina_Usuarios::B_DeleteClick()
{
    std::vector<int> ids;
    for (int i = 0; i < Lista1->topLevelItemCount(); ++i)
        if (Lista1->topLevelItem(i)->isSelected())
            ids.push_back(Lista1->topLevelItem(i)->text(4).toInt());
    if (ids.empty())
        return;
    TF_Delete_Conf *pregunta = Ventanas::F_Delete_Conf;
    pregunta->Label1->setText(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_8"))
                              + QString::number(ids.size()) + QStringLiteral(")?"));
    if (kv::ui::Operador::Modal(pregunta) != 1)
        return;
    struct Fin {
        ~Fin() { Ventanas::F_Main->Refrescar_usuariosII(); }
    } fin;
    Progreso_Ventana progreso(Ventanas::F_Muestra_Del);
    kv::wf::Elimina_Usuarios(ids, progreso, [] {
        TF_Pregunta_elimina_tarj *p = Ventanas::F_Pregunta_elimina_tarj;
        p->Respuesta = 0;
        return kv::ui::Operador::Modal(p) == 25;
    });
}

void Pagina_Usuarios::SpeedButton25Click()
{
    Al_Frente(m_buscar);
    m_buscar->Texto->setFocus();
}

bool Pagina_Usuarios::Find_userFind(const QString &texto)
{
    return Busca_En_Lista(Lista1, texto, 4);
}

void Pagina_Usuarios::Refrescar()
{
    ZARVColeccionUsuario *usuarios = Globales::Sistema ? Globales::Sistema->Usuarios() : nullptr;
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    if (usuarios && tarjetas) {
        usuarios->Carga();
        tarjetas->Refrescar();
    }
    Rellena();
}

void Pagina_Usuarios::Rellena()
{
    Lista1->clear();
    ZARVColeccionUsuario *usuarios = Globales::Sistema ? Globales::Sistema->Usuarios() : nullptr;
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    if (!usuarios || !tarjetas)
        return;

    // Each cardholder's cards in card-collection order, found in one pass:
    // asking every cardholder for its cards would walk all cards once per
    // cardholder. A card belongs to the cardholder whose number it holds.
    QHash<int, QList<const ZARVTarjeta *>> por_usuario;
    for (int i = 0; i < tarjetas->Cuenta(); ++i) {
        const ZARVTarjeta *t = tarjetas->Elemento(i).get();
        if (t->Usuario())
            por_usuario[t->Usuario()->Id()].append(t);
    }

    QList<QTreeWidgetItem *> filas;
    filas.reserve(usuarios->Cuenta());
    for (int i = 0; i < usuarios->Cuenta(); ++i) {
        const auto u = usuarios->Elemento(i);
        const QList<const ZARVTarjeta *> suyas = por_usuario.value(u->Id());
        QString texto;
        bool pendiente = false;
        for (const ZARVTarjeta *t : suyas) {
            const Lectores_Tarjeta l = Lectores_De(*t);
            pendiente = pendiente || l.pendiente;
            QString lectores;
            for (const QString &d : l.almacenada_en)
                lectores += QLatin1Char(',') + d;
            texto += QLatin1Char(' ') + t->Codigo_Tarjeta() + QLatin1Char('(') + lectores + QLatin1Char(')');
        }
        auto *fila = new QTreeWidgetItem(
            {u->Nombre(), u->Apellidos(), QString::number(suyas.size()), texto, QString::number(u->Id())});
        kv::ui::Pon_Icono(fila, 0, pendiente ? kv::ui::Icono_Pendiente : kv::ui::Icono_Elemento);
        filas << fila;
    }
    Llena_Lista(Lista1, filas);
}
