#include "app/tf_edit_user.h"

#include "app/interlocutor_ventanas.h"

#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimeEdit>

TF_Edit_User::TF_Edit_User(QWidget *parent)
    : Ventana_Usuario("F_Edit_User", QStringLiteral("Editar usuario"), parent)
{
    L_CLAVE = new QLabel(this);
    L_CLAVE->setObjectName(QStringLiteral("L_CLAVE"));
    L_CLAVE->hide();
    Lang::Traducir_Ventana(this);
}

bool TF_Edit_User::Prepara_Usuario(int id)
{
    ZARVColeccionUsuario *usuarios = Globales::Sistema ? Globales::Sistema->Usuarios() : nullptr;
    const auto u = usuarios ? usuarios->Busca(id) : nullptr;
    if (!u)
        return false;
    L_CLAVE->setText(QString::number(id));
    Edit1->setText(u->Nombre());
    Edit2->setText(u->Apellidos());
    // A photograph file gone since is no reason to keep the user from being edited.
    Pon_Fotografia(u->Fotografia());
    Prepara(false);
    Averigua_Tarjetas_Usuario();
    return true;
}

void TF_Edit_User::Averigua_Tarjetas_Usuario()
{
    CH_Usar_Caducidad->setChecked(false);
    ZARVColeccionUsuario *usuarios = Globales::Sistema ? Globales::Sistema->Usuarios() : nullptr;
    const auto u = usuarios ? usuarios->Busca(L_CLAVE->text().toInt()) : nullptr;
    if (u) {
        const TTarjetaLista suyas = usuarios->Tarjetas_Usuario(*u);
        for (const TTarjetaElemento &e : suyas) {
            Anade_Fila(e.Tarjeta->Codigo_Tarjeta());
            Averigua_que_controloadores(*e.Tarjeta);
        }
        if (!suyas.empty() && suyas.front().Tarjeta->Usar_Fecha_Cad()) {
            CH_Usar_Caducidad->setChecked(true);
            E_Fecha_cad->setDate(suyas.front().Tarjeta->Fecha_Caducidad().date());
            E_Hora_cad->setTime(suyas.front().Tarjeta->Fecha_Caducidad().time());
        }
    }
    Muestra_Habilita_caducidad();
}

void TF_Edit_User::Averigua_que_controloadores(const ZARVTarjeta &tarjeta)
{
    for (const TControladorTarjeta &a : tarjeta.Controladores()) {
        if (!a.Controlador)
            continue;
        for (int i = 0; i < CHLista1->count(); ++i)
            if (CHLista1->item(i)->data(Qt::UserRole).toInt() == a.Controlador->Cod())
                CHLista1->item(i)->setCheckState(Qt::Checked);
    }
}

bool TF_Edit_User::Guarda(const kv::wf::Datos_Usuario &datos)
{
    Interlocutor_Ventanas operador(this);
    kv::wf::Datos_Usuario d = datos;
    d.id = L_CLAVE->text().toInt();
    return kv::wf::Guarda_Usuario_Editado(d, operador);
}
