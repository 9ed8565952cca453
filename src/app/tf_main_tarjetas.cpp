// The users and cards pages: both lists show every card with the readers
// that hold it, and mark with the pending icon what still has to be written
// into a reader.
#include "app/textos.h"
#include "app/tf_main.h"

#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvcontrolador.h"
#include "model/zarvusuario.h"
#include "ui/imagenes.h"

#include <QHash>
#include <QTreeWidget>

namespace {

ZARVColeccionTarjeta *Tarjetas()
{
    return Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
}

// What a card's assignments say: the readers that hold it, and whether any
// reader is still waiting for it.
struct Lectores_Tarjeta {
    QStringList almacenada_en;
    bool pendiente = false;
};

Lectores_Tarjeta Lectores(const ZARVTarjeta &tarjeta)
{
    Lectores_Tarjeta r;
    for (const TControladorTarjeta &a : tarjeta.Controladores()) {
        if (!a.Almacenada)
            r.pendiente = true;
        else if (a.Controlador)
            r.almacenada_en << a.Controlador->Descripcion();
    }
    return r;
}

// Reassigns the list's rows in one go: thousands of single insertions would
// each update the view.
void Llena(QTreeWidget *lista, const QList<QTreeWidgetItem *> &filas)
{
    lista->setUpdatesEnabled(false);
    lista->clear();
    lista->addTopLevelItems(filas);
    lista->setUpdatesEnabled(true);
}

} // namespace

void TF_Main::Refrescar_Tarjetas_Modelo()
{
    if (ZARVColeccionTarjeta *t = Tarjetas())
        t->Refrescar();
}

void TF_Main::Refrescar_usuariosII()
{
    Lista1->clear();
    ZARVColeccionUsuario *usuarios = Globales::Sistema ? Globales::Sistema->Usuarios() : nullptr;
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
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
            const Lectores_Tarjeta l = Lectores(*t);
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
    Llena(Lista1, filas);
}

void TF_Main::Refrescar_tarjetas()
{
    ZARVColeccionTarjeta *tarjetas = Tarjetas();
    if (tarjetas)
        tarjetas->Refrescar();
    Lista3->clear();
    if (!tarjetas)
        return;
    QList<QTreeWidgetItem *> filas;
    filas.reserve(tarjetas->Cuenta());
    for (int i = 0; i < tarjetas->Cuenta(); ++i) {
        const auto t = tarjetas->Elemento(i);
        const Lectores_Tarjeta l = Lectores(*t);
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
    Llena(Lista3, filas);
}
