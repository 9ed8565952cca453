#pragma once

// The installation management window, created once at start-up with the
// others, before the main window.
class TF_Gestion_BD;

namespace Ventanas {

inline TF_Gestion_BD *F_Gestion_BD = nullptr;

} // namespace Ventanas
