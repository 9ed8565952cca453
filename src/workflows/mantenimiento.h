#pragma once

#include <QString>

#include <functional>

// The periodic maintenance of the main window's timer.
namespace kv::wf {

enum class Resultado_Tick {
    Hecho,
    Sin_Instalacion, // nothing to maintain
    Saltado,         // another workflow holds the controllers: this tick is skipped
};

// One tick: when the settings ask for it, every controller is tested at its
// own address and sin_respuesta gets the description of each one that does
// not answer. Takes the turn, so it never runs inside another workflow's
// exchange; the timer is held off meanwhile, so the next tick comes a whole
// interval after this one ended.
Resultado_Tick Tick_Mantenimiento(const std::function<void(const QString &descripcion)> &sin_respuesta);

} // namespace kv::wf
