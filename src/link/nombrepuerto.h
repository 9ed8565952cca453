#pragma once

#include <QString>

// The device behind a port name. "COM" + N is <ports dir>/COM<N> when that
// entry exists (a link to the real device, made by udev rules or by the
// controller simulator), else /dev/ttyS<N-1>. Any other name is taken as a
// device path as it stands.
QString Ruta_Puerto(const QString &nombre);
