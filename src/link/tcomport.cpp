#include "link/tcomport.h"

TComPort::TComPort(QObject *owner)
    : TCustomComPort(owner)
{
}
