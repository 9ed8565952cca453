#include "app/tf_editar_card.h"

#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvtarjeta.h"
#include "ui/accion.h"
#include "workflows/flujo_tarjetas.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

TF_Editar_Card::TF_Editar_Card(QWidget *parent)
    : Ventana_Tarjeta("F_Editar_Card", QStringLiteral("Editar tarjeta"), new QLabel, parent)
{
    L_CODE_CARD = static_cast<QLabel *>(Control_Codigo());
    L_CODE_CARD->setObjectName(QStringLiteral("L_CODE_CARD"));
    kv::ui::Al_Pulsar(B_Aceptar, this, [this] { B_AceptarClick(); });
    Lang::Traducir_Ventana(this);
}

bool TF_Editar_Card::Prepara_Tarjeta(const QString &codigo)
{
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    const auto t = tarjetas ? tarjetas->Busca(codigo) : nullptr;
    if (!t)
        return false;
    L_CODE_CARD->setText(t->Codigo_Tarjeta());
    CH_Usar_Caducidad->setChecked(t->Usar_Fecha_Cad());
    Pon_Caducidad(t->Fecha_Caducidad().isValid() ? t->Fecha_Caducidad() : QDateTime::currentDateTime());
    Muestra_Habilita_caducidad();
    return true;
}

void TF_Editar_Card::B_AceptarClick()
{
    kv::wf::Guarda_Caducidad(L_CODE_CARD->text(), CH_Usar_Caducidad->isChecked(), Caducidad());
    close();
}

void TF_Editar_Card::showEvent(QShowEvent *evento)
{
    Ventana_Tarjeta::showEvent(evento);
    // The timer is held while the window is open; the reading reader is not taken.
    m_retencion.Toma(this, {});
}

void TF_Editar_Card::hideEvent(QHideEvent *evento)
{
    m_retencion.Suelta();
    Ventana_Tarjeta::hideEvent(evento);
}
