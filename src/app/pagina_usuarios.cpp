#include "app/pagina_usuarios.h"

#include "app/disposicion.h"
#include "app/lectores_tarjeta.h"

#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvusuario.h"
#include "ui/imagenes.h"
#include "ui/listas.h"

#include <QBoxLayout>
#include <QFrame>
#include <QHash>
#include <QLabel>
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
}

void Pagina_Usuarios::Refrescar()
{
    Lista1->clear();
    ZARVColeccionUsuario *usuarios = Globales::Sistema ? Globales::Sistema->Usuarios() : nullptr;
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    if (!usuarios || !tarjetas)
        return;
    usuarios->Carga();
    tarjetas->Refrescar();

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
