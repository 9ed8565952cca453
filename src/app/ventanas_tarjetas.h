#pragma once

// The cards' windows, created once at start-up with the others.
class TF_New_Card;
class TF_Editar_Card;
class TF_Pregunta_Elimina;

namespace Ventanas {

inline TF_New_Card *F_New_Card = nullptr;
inline TF_Editar_Card *F_Editar_Card = nullptr;
inline TF_Pregunta_Elimina *F_Pregunta_Elimina = nullptr;

} // namespace Ventanas
