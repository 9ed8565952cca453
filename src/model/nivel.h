#pragma once

#include <QString>

#include <stdexcept>

// The operators' two levels. Only a level of exactly "ADMIN" may do the
// administrative actions (controllers new, edit, delete, master, clone and
// erase; logins; installations; the application parameters; cameras); any
// other text (USER, empty, misspelt, no login at all) is a USER. Every such
// action asks Exige_Administrador where it runs, whatever led there.
namespace Nivel {

inline const QString Administrador = QStringLiteral("ADMIN");
inline const QString Usuario = QStringLiteral("USER");

bool Es_Administrador(const QString &rol);

// What a USER gets from an administrative action; its text is the operator's message.
class Sin_Permiso : public std::runtime_error {
public:
    Sin_Permiso();
};

// True when the logged-in operator (or the console, keyvane-cli) is an administrator.
bool Sesion_Administrador();
// Raises Sin_Permiso unless Sesion_Administrador.
void Exige_Administrador();

} // namespace Nivel
