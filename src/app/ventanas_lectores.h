#pragma once

// The readers' windows, created once at start-up with the others.
class TF_Contr_N;
class TF_edit_controller;
class TF_Clone_Controller;
class TF_Muestra_recep;

namespace Ventanas {

inline TF_Contr_N *F_Contr_N = nullptr;
inline TF_edit_controller *F_edit_controller = nullptr;
inline TF_Clone_Controller *F_Clone_Controller = nullptr;
inline TF_Muestra_recep *F_Muestra_recep = nullptr;

} // namespace Ventanas
