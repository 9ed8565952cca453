#pragma once

// The users' windows, created once at start-up with the others.
class TF_Nuevo_Usr;
class TF_Edit_User;
class TF_Muestra_Del;
class TF_Pregunta_elimina_tarj;

namespace Ventanas {

inline TF_Nuevo_Usr *F_Nuevo_Usr = nullptr;
inline TF_Edit_User *F_Edit_User = nullptr;
inline TF_Muestra_Del *F_Muestra_Del = nullptr;
inline TF_Pregunta_elimina_tarj *F_Pregunta_elimina_tarj = nullptr;

} // namespace Ventanas
