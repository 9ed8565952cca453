// The Reports tab: the catalogue tree and the preview on its page.
#include "app/tf_main.h"

#include "model/errorbd.h"
#include "reports/informe.h"
#include "reports/ui/vista_informe.h"
#include "ui/accion.h"

#include <QBoxLayout>
#include <QTreeWidget>

void TF_Main::Crea_Informes()
{
    frPreview1 = new kv::rep::ui::Vista_Informe(PANEL_REPORTS);
    frPreview1->setObjectName(QStringLiteral("frPreview1"));
    PANEL_REPORTS->layout()->addWidget(frPreview1);
    static_cast<QBoxLayout *>(PANEL_REPORTS->layout())->setStretchFactor(frPreview1, 1);
    connect(Arbol_REPORTS, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *nodo) {
        kv::ui::Ejecuta_Accion(this, [this, nodo] { Arbol_REPORTSChange(nodo); });
    });
}

void TF_Main::Arbol_REPORTSChange(QTreeWidgetItem *nodo)
{
    // Whatever happens next, the report shown before is not shown as if it
    // were this one's.
    frPreview1->Vacia();
    if (!nodo || !nodo->parent())
        return;
    const int indice = nodo->parent()->indexOfChild(nodo) + 1;
    try {
        frPreview1->Muestra(kv::rep::Informe::Ejecuta(indice));
    } catch (const kv::rep::Error_Informe &e) {
        frPreview1->Aviso(e.Texto());
        // A database failure is also the action's error, as everywhere else.
        if (e.Donde() == kv::rep::Error_Informe::Origen::Base_Datos)
            throw ErrorBD(e.Texto());
    }
}

void TF_Main::Vacia_Informes()
{
    const QSignalBlocker bloqueo(Arbol_REPORTS);
    Arbol_REPORTS->setCurrentItem(nullptr);
    Arbol_REPORTS->clearSelection();
    frPreview1->Vacia();
}
