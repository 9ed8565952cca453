#include "app/tf_nuevo_usr.h"

#include "app/interlocutor_ventanas.h"

#include "lang/ui/traducir.h"

#include <QAction>
#include <QShowEvent>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTimeEdit>
#include <QTreeWidget>

TF_Nuevo_Usr::TF_Nuevo_Usr(QWidget *parent)
    : Ventana_Usuario("F_Nuevo_Usr", QStringLiteral("Nuevo usuario"), parent)
{
    Lista1->setContextMenuPolicy(Qt::ActionsContextMenu);
    Edit3 = new QAction(QStringLiteral("Editar"), Lista1);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Delete1 = new QAction(QStringLiteral("No asignar"), Lista1);
    Delete1->setObjectName(QStringLiteral("Delete1"));
    Cancelar1 = new QAction(QStringLiteral("Cancelar"), Lista1);
    Cancelar1->setObjectName(QStringLiteral("Cancelar1"));
    Lista1->addActions({Edit3, Delete1, Cancelar1});
    connect(Delete1, &QAction::triggered, this, [this] { B_EliminarClick(); });
    Lang::Traducir_Ventana(this);
}

void TF_Nuevo_Usr::FormShow()
{
    Prepara(true);
    const QDateTime ahora = QDateTime::currentDateTime();
    E_Fecha_cad->setDate(ahora.date());
    E_Hora_cad->setTime(ahora.time());
    Pon_Fotografia(QString());
    Edit1->clear();
    Edit2->clear();
    CH_Usar_Caducidad->setChecked(false);
    Muestra_Habilita_caducidad();
    Edit1->setFocus();
}

void TF_Nuevo_Usr::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormShow();
    Ventana_Usuario::showEvent(evento);
}

bool TF_Nuevo_Usr::Guarda(const kv::wf::Datos_Usuario &datos)
{
    Interlocutor_Ventanas operador(this);
    if (kv::wf::Guarda_Usuario_Nuevo(datos, operador) == 0)
        return false;
    // Emptied for the next user.
    FormShow();
    return true;
}
