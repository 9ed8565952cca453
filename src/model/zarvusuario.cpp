#include "model/zarvusuario.h"

#include "model/zarvcoleccionusuario.h"

QString ZARVUsuario::Texto() const
{
    return QString::number(m_id);
}

QString ZARVUsuario::Nombre_Completo() const
{
    return m_apellidos + QStringLiteral(", ") + m_nombre;
}

void ZARVUsuario::Set_Coleccion(ZARVColeccionUsuario *coleccion)
{
    m_coleccion = coleccion;
}
