#include "app/tf_recv_users.h"

#include "app/disposicion.h"
#include "app/interlocutor_ventanas.h"
#include "app/tf_muestra_recep.h"
#include "app/ventanas_lectores.h"

#include "lang/ui/traducir.h"
#include "ui/accion.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "workflows/sincronizacion.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

Tf_recv_users::Tf_recv_users(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("f_recv_users"));
    setWindowTitle(QStringLiteral("Keyvane"));
    setModal(true);

    Label1 = disposicion::Etiqueta(this, "Label1", QString::fromUtf8("¿Desea recibir los datos de los lectores?"));
    Label1->setWordWrap(true);
    L1_Contr = kv::ui::Nueva_Lista(this, QStringLiteral("L1_Contr"),
                                   {QStringLiteral("Lector"), QString::fromUtf8("Descripción"), QStringLiteral("COM"),
                                    QStringLiteral("Puede recibir")},
                                   true);
    L1_Contr->setColumnWidth(1, 180);
    L1_Contr->setColumnWidth(2, 50);
    SpeedButton8 = disposicion::Boton(this, "SpeedButton8", QStringLiteral("Ok"));
    SpeedButton10 = disposicion::Boton(this, "SpeedButton10", QStringLiteral("Cancel"));

    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(SpeedButton8);
    botones->addWidget(SpeedButton10);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addWidget(L1_Contr, 1);
    caja->addLayout(botones);
    resize(440, 300);

    kv::ui::Al_Pulsar(SpeedButton8, this, [this] { SpeedButton8Click(); });
    connect(SpeedButton10, &QPushButton::clicked, this, &QDialog::reject);

    Lang::Traducir_Ventana(this);
}

void Tf_recv_users::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    // Nothing can be received from what the last showing listed.
    L1_Contr->clear();
    SpeedButton8->setEnabled(false);
    // The test of every controller waits on the lines; the window is drawn
    // first, and that wait does not run inside the show.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            kv::ui::Ejecuta_Accion(this, [this] { FormShow(); });
    });
}

void Tf_recv_users::FormShow()
{
    L1_Contr->clear();
    SpeedButton8->setEnabled(false);
    bool alguno = false;
    for (const kv::wf::Lector_Recepcion &l : kv::wf::Prueba_Recepcion()) {
        auto *fila = new QTreeWidgetItem(
            {QString::number(l.cod), l.descripcion, QString::number(l.puerto), QString()});
        // Silent and too old to be read are told apart: the first may only
        // need its line, the second new firmware.
        kv::ui::Pon_Icono(fila, 0, l.responde ? kv::ui::Icono_Responde : kv::ui::Icono_Sin_Respuesta);
        kv::ui::Pon_Icono(fila, 3, l.Legible() ? kv::ui::Icono_Tarjeta_Aceptada : kv::ui::Icono_Tarjeta_Rechazada);
        L1_Contr->addTopLevelItem(fila);
        alguno = alguno || l.Legible();
    }
    SpeedButton8->setEnabled(alguno);
}

void Tf_recv_users::SpeedButton8Click()
{
    SpeedButton8->setEnabled(false);
    SpeedButton10->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Final {
        Tf_recv_users *v;
        ~Final()
        {
            QApplication::restoreOverrideCursor();
            v->SpeedButton8->setEnabled(true);
            v->SpeedButton10->setEnabled(true);
            v->accept();
        }
    } final{this};
    // Every controller that can be read is read, whatever rows are selected.
    Progreso_Ventana progreso(Ventanas::F_Muestra_recep);
    Interlocutor_Ventanas operador(this);
    kv::wf::Recibe_Todas(progreso, operador);
}
