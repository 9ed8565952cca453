#include "app/retencion_ventana.h"

#include "ui/operador.h"
#include "workflows/coordinacion.h"
#include "workflows/lectura.h"

#include <exception>

Retencion_Ventana::Retencion_Ventana() = default;
Retencion_Ventana::~Retencion_Ventana() = default;

void Retencion_Ventana::Toma(QWidget *ventana, std::function<void(const QString &codigo)> leida)
{
    if (!m_retencion)
        m_retencion = std::make_unique<kv::wf::Retencion_Mantenimiento>();
    if (m_lectura || !leida)
        return;
    try {
        m_lectura = std::make_unique<kv::wf::Lectura_Tarjetas>(std::move(leida));
    } catch (const std::exception &e) {
        kv::ui::Operador::Error(ventana, QString::fromUtf8(e.what()));
    }
}

void Retencion_Ventana::Suelta()
{
    m_lectura.reset();
    m_retencion.reset();
}
