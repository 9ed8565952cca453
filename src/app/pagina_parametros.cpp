#include "app/pagina_parametros.h"

#include "app/disposicion.h"
#include "app/tf_gestion_bd.h"
#include "app/tf_parametros_app.h"
#include "app/ventanas_instalaciones.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvsistema.h"
#include "ui/accion.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"
#include "workflows/parametros.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace disposicion;

Pagina_Parametros::Pagina_Parametros(Vista_Principal &vista, QObject *padre)
    : Pagina(vista, "PANEL_PARAMETERS", padre)
{
    QWidget *p = Panel();
    p->layout()->setContentsMargins(12, 12, 12, 12);
    Label10 = Titulo(p, "Label10", QString::fromUtf8("Parámetros"));
    Label8 = Titulo(p, "Label8", QStringLiteral("Base de datos"));
    Label11 = Etiqueta(p, "Label11", QString());
    Label12 = Etiqueta(p, "Label12", QString());
    Label13 = Etiqueta(p, "Label13", QString());
    SpeedButton28 = Boton(p, "SpeedButton28", QString::fromUtf8("Gestión de la Base de Datos"));
    Label14 = Titulo(p, "Label14", QString::fromUtf8("Aplicación"));
    Label15 = Etiqueta(p, "Label15", QString());
    Label16 = Etiqueta(p, "Label16", QString());
    SpeedButton29 = Boton(p, "SpeedButton29", QString::fromUtf8("Parámetros de la aplicación"));
    auto *caja = static_cast<QBoxLayout *>(p->layout());
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

    kv::ui::Al_Pulsar(SpeedButton28, p, [] {
        if (Ventanas::F_Gestion_BD)
            kv::ui::Operador::Modal(Ventanas::F_Gestion_BD);
    });
    kv::ui::Al_Pulsar(SpeedButton29, p, [this] { SpeedButton29Click(); });
}

void Pagina_Parametros::SpeedButton29Click()
{
    TF_Parametros_app *ventana = Ventanas::F_Parametros_app;
    if (!ventana)
        return;
    // No maintenance tick and no listening while the parameters change: the
    // lines open again afterwards with the reading reader chosen.
    const kv::wf::Retencion_Mantenimiento retencion;
    kv::wf::Suspension_Escucha suspension;

    QList<QPair<int, QString>> lectores;
    ZARVColeccionControlador *controladores = Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
    for (int i = 0; controladores && i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        lectores.append({c->Cod(), c->Descripcion()});
    }
    ventana->Prepara(kv::wf::Parametros_Actuales(), lectores);
    const bool cierra = kv::ui::Operador::Modal(ventana) == TF_Parametros_app::Aceptado
                        && kv::wf::Aplica_Parametros(ventana->Elegidos())
                        && kv::ui::Operador::Pregunta(Vista().Ventana(),
                                                      Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_4")));
    suspension.Reanuda();
    if (cierra)
        Vista().Ventana()->close();
}
