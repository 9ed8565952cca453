#pragma once

// Waits ms milliseconds while the event loop keeps running: timers, the
// lines' received data and painting go on, the operator's input waits. The
// controllers need their pauses before commands; the window must not freeze
// for them.
void Pausa_Activa(int ms);
