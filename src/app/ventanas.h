#pragma once

// The program's windows, each created once at start-up (programa.cpp keeps
// the order) and reachable from every other window for the rest of the run.
class TF_Login;
class TF_Main;
class TF_Delete_Conf;
class TF_Nuevo_login;

namespace Ventanas {

inline TF_Login *F_Login = nullptr;
inline TF_Main *F_Main = nullptr;
inline TF_Delete_Conf *F_Delete_Conf = nullptr;
inline TF_Nuevo_login *F_Nuevo_login = nullptr;

} // namespace Ventanas
