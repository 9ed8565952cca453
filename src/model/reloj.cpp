#include "model/reloj.h"

namespace Reloj {
namespace {

// Invalid while the system's clock is used.
QDateTime fijado;

} // namespace

QDateTime Ahora()
{
    return fijado.isValid() ? fijado : QDateTime::currentDateTime();
}

void Fija(const QDateTime &instante)
{
    fijado = instante;
}

void Libera()
{
    fijado = QDateTime();
}

} // namespace Reloj
