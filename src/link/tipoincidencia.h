#pragma once

#include <QString>

// The six incidence kinds a controller event decodes to.
namespace tipo_incidencia {
inline constexpr int TARJETA_ACEPTADA = 1; // '1' with parameter 01
inline constexpr int TARJETA_RECHAZADA = 2; // '1' with any other parameter
inline constexpr int EVENTO_5 = 3;          // '5'
inline constexpr int EVENTO_7_SELECCIONADO = 4; // '7' with parameter 01 (see Decodificar)
inline constexpr int EVENTO_7 = 5;          // '7' with any other parameter
inline constexpr int EVENTO_E = 6;          // 'E'
} // namespace tipo_incidencia

// Index in the main window's image list for an incidence row; 0 for any value
// that is not a kind.
int Icono_Incidencia(int tipo);
// Language-file key of the kind's name; empty for any value that is not a kind.
QString Clave_Tipo_Incidencia(int tipo);
