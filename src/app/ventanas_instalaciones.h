#pragma once

// The installation management window, created once at start-up with the
// others, before the main window; the application parameters window after it.
class TF_Gestion_BD;
class TF_Parametros_app;

namespace Ventanas {

inline TF_Gestion_BD *F_Gestion_BD = nullptr;
inline TF_Parametros_app *F_Parametros_app = nullptr;

} // namespace Ventanas
