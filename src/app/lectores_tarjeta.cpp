#include "app/lectores_tarjeta.h"

#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"

#include <QTreeWidget>

Lectores_Tarjeta Lectores_De(const ZARVTarjeta &tarjeta)
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

void Llena_Lista(QTreeWidget *lista, const QList<QTreeWidgetItem *> &filas)
{
    lista->setUpdatesEnabled(false);
    lista->clear();
    lista->addTopLevelItems(filas);
    lista->setUpdatesEnabled(true);
}
