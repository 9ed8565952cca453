#pragma once

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace kv::wf {
class Lectura_Tarjetas;
class Retencion_Mantenimiento;
} // namespace kv::wf

// What a window where cards are entered holds from showing to hiding: the
// maintenance timer off, and the reading reader's cards for the window.
// Hiding (or closing) gives both back.
class Retencion_Ventana {
public:
    Retencion_Ventana();
    ~Retencion_Ventana();

    // Takes both unless held already; without leida only the timer. A reading reader whose port cannot be
    // opened is reported to the operator; the window works without it.
    void Toma(QWidget *ventana, std::function<void(const QString &codigo)> leida);
    void Suelta();

private:
    std::unique_ptr<kv::wf::Retencion_Mantenimiento> m_retencion;
    std::unique_ptr<kv::wf::Lectura_Tarjetas> m_lectura;
};
