#include "app/tf_muestra_recep.h"

#include "app/controles_progreso.h"

#include "lang/ui/traducir.h"

#include <QLabel>
#include <QVBoxLayout>

TF_Muestra_recep::TF_Muestra_recep(QWidget *parent)
    : TF_Muestra_recep("F_Muestra_recep", parent)
{
    Lang::Traducir_Ventana(this);
}

TF_Muestra_recep::TF_Muestra_recep(const char *nombre, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QLatin1String(nombre));
    setWindowTitle(QStringLiteral("Cancelar"));
    // The loops it follows run on this thread and keep the event loop going;
    // the operator may look, not act, through it.
    setModal(false);

    Ani1 = new Animacion_Copia(this);
    Ani1->setObjectName(QStringLiteral("Ani1"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(272);
    P1 = new Barra_Progreso(this);
    P1->setObjectName(QStringLiteral("P1"));

    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Ani1);
    caja->addWidget(Label1);
    caja->addWidget(P1);
}
