#include "app/pagina_instalacion.h"

#include "app/disposicion.h"

#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "ui/imagenes.h"
#include "ui/listas.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTreeWidget>

Pagina_Instalacion::Pagina_Instalacion(Vista_Principal &vista, QObject *padre)
    : Pagina(vista, "PANEL_INSTALACION", padre)
{
    Label4 = disposicion::Titulo(Panel(), "Label4", QStringLiteral("Lectores de la instalación"));
    Lista_INI = kv::ui::Nueva_Lista(Panel(), QStringLiteral("Lista_INI"),
                                    {QStringLiteral("Number"), QStringLiteral("Description")}, false);
    auto *caja = static_cast<QBoxLayout *>(Panel()->layout());
    caja->addWidget(Label4);
    caja->addWidget(Lista_INI, 1);
}

void Pagina_Instalacion::Refrescar()
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
