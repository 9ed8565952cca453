#include "app/pagina_tarjetas.h"

#include "app/disposicion.h"
#include "app/lectores_tarjeta.h"
#include "app/textos.h"

#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvusuario.h"
#include "ui/imagenes.h"
#include "ui/listas.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

using namespace disposicion;

Pagina_Tarjetas::Pagina_Tarjetas(Vista_Principal &vista, QObject *padre)
    : Pagina(vista, "PANEL_LISTA_CARDS", padre)
{
    Label9 = Titulo(Panel(), "Label9", QStringLiteral("Tarjetas"));
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(Panel(), "Panel_Botones_Cards", &fila);
    B_New_Card = Boton(barra, "B_New_Card", QStringLiteral("New"));
    B_Edit_Card = Boton(barra, "B_Edit_Card", QStringLiteral("Edit"));
    B_Delete_Cards = Boton(barra, "B_Delete_Cards", QStringLiteral("Delete"));
    SpeedButton21 = Boton(barra, "SpeedButton21", QStringLiteral("Find"));
    for (QPushButton *b : {B_New_Card, B_Edit_Card, B_Delete_Cards, SpeedButton21})
        fila->addWidget(b);
    fila->addStretch();
    // A card is edited with a double click on its row.
    B_Edit_Card->hide();

    Lista3 = kv::ui::Nueva_Lista(Panel(), QStringLiteral("Lista3"),
                                 {QStringLiteral("Card"), QStringLiteral("User Name"),
                                  QStringLiteral("User Second name"), QStringLiteral("Readers"),
                                  QStringLiteral("Caducidad"), QStringLiteral("Fecha caducidad"),
                                  QStringLiteral("Fecha Alta")},
                                 true);
    const int anchos[] = {120, 140, 180, 160, 70, 150, 150};
    for (int i = 0; i < 7; ++i)
        Lista3->setColumnWidth(i, anchos[i]);
    auto *caja = static_cast<QBoxLayout *>(Panel()->layout());
    caja->addWidget(Label9);
    caja->addWidget(barra);
    caja->addWidget(Lista3, 1);
}

void Pagina_Tarjetas::Refrescar()
{
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    if (tarjetas)
        tarjetas->Refrescar();
    Lista3->clear();
    if (!tarjetas)
        return;
    QList<QTreeWidgetItem *> filas;
    filas.reserve(tarjetas->Cuenta());
    for (int i = 0; i < tarjetas->Cuenta(); ++i) {
        const auto t = tarjetas->Elemento(i);
        const Lectores_Tarjeta l = Lectores_De(*t);
        const ZARVUsuario *u = t->Usuario().get();
        auto *fila = new QTreeWidgetItem({t->Codigo_Tarjeta().left(10), u ? u->Nombre() : QString(),
                                          u ? u->Apellidos() : QString(), l.almacenada_en.join(QLatin1Char(',')),
                                          QString(),
                                          t->Usar_Fecha_Cad() ? textos::Fecha_Hora(t->Fecha_Caducidad()) : QString(),
                                          textos::Fecha_Hora(t->Fecha_Alta())});
        kv::ui::Pon_Icono(fila, 0, l.pendiente ? kv::ui::Icono_Pendiente : kv::ui::Icono_Tarjeta);
        if (t->Usar_Fecha_Cad())
            kv::ui::Pon_Icono(fila, 4, kv::ui::Icono_Tarjeta_Aceptada);
        filas << fila;
    }
    Llena_Lista(Lista3, filas);
}
