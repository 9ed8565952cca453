#include "app/tf_new_card.h"

#include "lang/ui/traducir.h"
#include "model/variables.h"
#include "ui/accion.h"
#include "ui/operador.h"
#include "workflows/flujo_tarjetas.h"
#include "workflows/flujo_usuarios.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>

#include <exception>

namespace {

QLineEdit *Campo_Tarjeta()
{
    auto *e = new QLineEdit;
    e->setObjectName(QStringLiteral("E_Tarjeta"));
    // Digits only, ten at most: a letter would reach a controller as a zero.
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), e));
    return e;
}

} // namespace

TF_New_Card::TF_New_Card(QWidget *parent)
    : Ventana_Tarjeta("F_New_Card", QStringLiteral("Nueva tarjeta"), Campo_Tarjeta(), parent)
{
    E_Tarjeta = static_cast<QLineEdit *>(Control_Codigo());
    xpGroupBox1->hide();
    kv::ui::Al_Pulsar(B_Aceptar, this, [this] { B_AceptarClick(); });
    connect(E_Tarjeta, &QLineEdit::returnPressed, this, [this] { kv::ui::Ejecuta_Accion(this, [this] { B_AceptarClick(); }); });
    Lang::Traducir_Ventana(this);
}

void TF_New_Card::FormShow()
{
    E_Tarjeta->clear();
    E_Tarjeta->setFocus();
    Pon_Caducidad(QDateTime::currentDateTime());
    CH_Usar_Caducidad->setChecked(false);
    Muestra_Habilita_caducidad();
}

void TF_New_Card::showEvent(QShowEvent *evento)
{
    if (!evento->spontaneous())
        FormShow();
    Ventana_Tarjeta::showEvent(evento);
    // Only a reading reader that is in use (Lector_Activo) is lent to the window.
    m_retencion.Toma(this, [this](const QString &c) { Recibida_Lectura(c); });
}

void TF_New_Card::hideEvent(QHideEvent *evento)
{
    m_retencion.Suelta();
    Ventana_Tarjeta::hideEvent(evento);
}

void TF_New_Card::Recibida_Lectura(const QString &tarjeta)
{
    if (tarjeta.size() == 10 && kv::wf::Codigo_Tarjeta(tarjeta))
        E_Tarjeta->setText(tarjeta);
}

void TF_New_Card::B_AceptarClick()
{
    const QString texto = E_Tarjeta->text();
    kv::wf::Registro r = kv::wf::Registro::Vacio;
    try {
        r = kv::wf::Registra_Tarjeta(texto, CH_Usar_Caducidad->isChecked(), Caducidad());
    } catch (const std::exception &e) {
        // Not stored: the operator is told, and the code stays for another try.
        kv::ui::Operador::Mensaje(this, Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_49")) + QLatin1Char(' ')
                                            + QString::fromUtf8(e.what()));
        return;
    }
    switch (r) {
    case kv::wf::Registro::Hecho:
        E_Tarjeta->clear();
        E_Tarjeta->setFocus();
        break;
    case kv::wf::Registro::Ya_Existe:
        // The padded code stays; nothing was stored.
        E_Tarjeta->setText(*kv::wf::Codigo_Tarjeta(texto));
        break;
    case kv::wf::Registro::No_Codigo:
        kv::ui::Operador::Mensaje(this, Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_44")) + QLatin1Char(' ')
                                            + texto);
        break;
    case kv::wf::Registro::Vacio:
        break;
    }
}
