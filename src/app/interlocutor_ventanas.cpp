#include "app/interlocutor_ventanas.h"

#include "app/controles_progreso.h"
#include "app/tf_delete_conf.h"
#include "app/tf_muestra_recep.h"
#include "app/ventanas.h"

#include "ui/operador.h"

#include <QLabel>

void Interlocutor_Ventanas::Mensaje(const QString &texto, const QString &titulo)
{
    kv::ui::Operador::Mensaje(m_padre, texto, titulo);
}

bool Interlocutor_Ventanas::Confirma(const QString &texto)
{
    TF_Delete_Conf *conf = Ventanas::F_Delete_Conf;
    if (!conf)
        return false;
    conf->Label1->setText(texto);
    return kv::ui::Operador::Modal(conf) == 1;
}

void Progreso_Ventana::Muestra()
{
    if (!m_ventana)
        return;
    m_ventana->Cancelado = false;
    m_ventana->show();
    m_ventana->P1->setValue(m_ventana->P1->minimum());
    m_ventana->Label1->clear();
}

void Progreso_Ventana::Rango(int pasos)
{
    if (!m_ventana)
        return;
    m_ventana->Ani1->SetActive(true);
    m_ventana->P1->setRange(0, pasos);
    m_ventana->P1->SetStep(1);
}

void Progreso_Ventana::Paso(const QString &texto)
{
    if (!m_ventana)
        return;
    m_ventana->Label1->setText(texto);
    m_ventana->P1->StepIt();
}

void Progreso_Ventana::Cierra()
{
    if (!m_ventana)
        return;
    m_ventana->Ani1->SetActive(false);
    m_ventana->close();
}

bool Progreso_Ventana::Cancelado() const
{
    return m_ventana && m_ventana->Cancelado;
}
