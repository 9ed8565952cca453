#include "model/zarvusuario.h"

#include "model/zarvcoleccionusuario.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvsistema.h"

QString ZARVUsuario::Texto() const
{
    return QString::number(m_id);
}

QString ZARVUsuario::Nombre_Completo() const
{
    return m_apellidos + QStringLiteral(", ") + m_nombre;
}

ZARVColeccionUsuario *ZARVUsuario::Coleccion() const
{
    return m_coleccion.data();
}

void ZARVUsuario::Set_Coleccion(ZARVColeccionUsuario *coleccion)
{
    m_coleccion = coleccion;
}

TTarjetaLista ZARVUsuario::Tarjetas_Usuario() const
{
    TTarjetaLista lista;
    ZARVColeccionUsuario *coleccion = Coleccion();
    ZARVColeccionTarjeta *tarjetas = coleccion && coleccion->Sistema() ? coleccion->Sistema()->Tarjetas() : nullptr;
    if (!tarjetas)
        return lista;
    for (tarjetas->Primero(); !tarjetas->Fin(); tarjetas->Siguiente()) {
        const std::shared_ptr<ZARVTarjeta> t = tarjetas->Elemento(-1);
        // By number: the card may hold a cardholder object of an earlier load.
        if (t->Usuario() && t->Usuario()->Id() == m_id)
            lista.push_back(TTarjetaElemento{t, false});
    }
    return lista;
}
