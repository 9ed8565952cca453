#pragma once

// The windows of the incidence list, created once at start-up with the others.
class TF_User_Muestra;

namespace Ventanas {

inline TF_User_Muestra *F_User_Muestra = nullptr;

} // namespace Ventanas
