#include "model/zarvtarjeta.h"

#include "model/zarvcontrolador.h"
#include "model/zarvusuario.h"

void ZARVTarjeta::Anade_Controlador(const std::shared_ptr<ZARVControlador> &controlador, bool almacenada)
{
    m_controladores.push_back(TControladorTarjeta{controlador, almacenada});
}

QString Completa_Codigo(const QString &texto)
{
    if (texto.size() >= 10)
        return texto;
    return QString(10 - texto.size(), QLatin1Char('0')) + texto;
}
