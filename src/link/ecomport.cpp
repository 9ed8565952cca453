#include "link/ecomport.h"

EComPort::EComPort(const QString &mensaje, int codigo)
    : std::runtime_error(mensaje.toStdString())
    , m_codigo(codigo)
{
}
