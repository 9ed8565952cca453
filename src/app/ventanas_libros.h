#pragma once

// The export/import window and the import window, created once at start-up
// with the others.
class TF_Exp_imp;
class TF_imp_XLS;

namespace Ventanas {

inline TF_Exp_imp *F_Exp_imp = nullptr;
inline TF_imp_XLS *F_imp_XLS = nullptr;

// The tool bar's "E/I": registering and the maintenance timer paused while
// the export/import window is up, then the lists rebuilt from the database
// and every reader tested, whatever happened in the window.
void Exporta_Importa();

} // namespace Ventanas
