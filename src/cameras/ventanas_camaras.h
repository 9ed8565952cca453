#pragma once

class TF_Camera_Control;
class TF_New_Camera;

// The camera windows, created once at start-up like every other window.
namespace Ventanas_Camaras {

inline TF_Camera_Control *F_Camera_Control = nullptr;
inline TF_New_Camera *F_New_Camera = nullptr;

// How long a camera has to answer its echo. Probes never hold the window,
// so this only decides how soon a silent camera is hidden.
inline int Espera_Eco_ms = 2000;

} // namespace Ventanas_Camaras
