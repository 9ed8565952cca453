#pragma once

#include <QDateTime>

// The program's "now" for decisions that depend on it (a card's expiry), so
// that they can be checked at a chosen instant instead of whenever a test
// happens to run.
namespace Reloj {

// The fixed instant while one is set, the system's date and time otherwise.
QDateTime Ahora();
void Fija(const QDateTime &instante);
// Back to the system's date and time.
void Libera();

} // namespace Reloj
