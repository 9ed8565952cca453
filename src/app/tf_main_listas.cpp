// The lists of the installation and logins pages, rebuilt from the model.
#include "app/tf_main.h"

#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "ui/imagenes.h"

#include <QTreeWidget>

void TF_Main::Refresca_Lista_INI()
{
    Lista_INI->clear();
    const ZARVColeccionControlador *controladores =
        Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
    if (!controladores)
        return;
    QList<QTreeWidgetItem *> filas;
    // By position, not with the collection's cursor: the walk must not move
    // a cursor that someone else may be using.
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        auto *fila = new QTreeWidgetItem({QString::number(c->Cod()), c->Descripcion()});
        kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Elemento);
        filas << fila;
    }
    Lista_INI->addTopLevelItems(filas);
}

void TF_Main::Refresca_Logins()
{
    Lista4->clear();
    if (!Globales::Servidor)
        return;
    QList<QTreeWidgetItem *> filas;
    for (const QString &t : Globales::Servidor->Lista_Logins()) {
        const qsizetype asterisco = t.indexOf(QLatin1Char('*'));
        const QString login = asterisco < 0 ? t : t.left(asterisco);
        const QString nivel = asterisco < 0 ? QString() : t.mid(asterisco + 1);
        auto *fila = new QTreeWidgetItem({login, nivel});
        kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Login);
        filas << fila;
    }
    Lista4->addTopLevelItems(filas);
}
