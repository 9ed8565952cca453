#include "model/zarventidad.h"

QString ZARVEntidad::Texto() const
{
    return QStringLiteral("salida de la clase BASE");
}
