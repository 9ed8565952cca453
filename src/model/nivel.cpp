#include "model/nivel.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvserver.h"

namespace Nivel {

bool Es_Administrador(const QString &rol)
{
    return rol == Administrador;
}

Sin_Permiso::Sin_Permiso()
    : std::runtime_error(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_38")).toStdString())
{
}

bool Sesion_Administrador()
{
    return Globales::Servidor && Globales::Servidor->Es_Administrador();
}

void Exige_Administrador()
{
    if (!Sesion_Administrador())
        throw Sin_Permiso();
}

} // namespace Nivel
