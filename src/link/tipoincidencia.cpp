#include "link/tipoincidencia.h"

int Icono_Incidencia(int tipo)
{
    static constexpr int iconos[] = {0, 2, 1, 4, 9, 7, 8};
    return tipo >= 1 && tipo <= 6 ? iconos[tipo] : 0;
}

QString Clave_Tipo_Incidencia(int tipo)
{
    if (tipo < 1 || tipo > 6)
        return QString();
    return QStringLiteral("Variables_variables_F_Main_%1").arg(27 + tipo);
}
