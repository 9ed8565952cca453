#pragma once

#include <QString>

#include <functional>

// The periodic maintenance of the main window's timer.
namespace kv::wf {

enum class Resultado_Tick {
    Hecho,
    // Done, and expired cards were taken out of the readers (and freed where
    // none kept them): the page on show is out of date.
    Caducadas,
    Sin_Instalacion, // nothing to maintain
    Saltado,         // another workflow holds the controllers: this tick is skipped
};

// One tick: when the settings ask for it, every controller is tested at its
// own address and sin_respuesta gets the description of each one that does
// not answer; then every card whose expiry is in use and already past (by
// Reloj::Ahora) is taken out of the readers that hold it, and freed once
// none does. A card a silent reader still holds keeps its user and is tried
// again at a later tick. Takes the turn, so it never runs inside another
// workflow's exchange; the timer is held off meanwhile, so the next tick
// comes a whole interval after this one ended.
Resultado_Tick Tick_Mantenimiento(const std::function<void(const QString &descripcion)> &sin_respuesta);

} // namespace kv::wf
