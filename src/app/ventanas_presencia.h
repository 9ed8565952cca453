#pragma once

// The attendance area's windows, created once at start-up with the others.
class TF_Lector_ES;
class TF_Presencia_Amplia;
class TF_Presencia_Estancia;

namespace Ventanas {

inline TF_Lector_ES *F_Lector_ES = nullptr;
inline TF_Presencia_Amplia *F_Presencia_Amplia = nullptr;
inline TF_Presencia_Estancia *F_Presencia_Estancia = nullptr;

} // namespace Ventanas
