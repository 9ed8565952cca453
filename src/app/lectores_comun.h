#pragma once

#include <QString>

#include <functional>
#include <memory>

class QLineEdit;
class ZARVComunicador;
class ZARVControlador;

// What the readers' workflows share. A command opens its controller's port
// exclusively and several controllers may share one port, so incidence
// listening (which keeps the ports open) is off while commands run, and the
// maintenance timer, which sends commands of its own, must not fire in between.
namespace lectores {

// Switches incidence reception off on every controller and closes their lines.
void Para_Escucha();
// Switches it on again. A port that cannot be opened raises its error after
// the other lines listen.
void Inicia_Escucha();

// Holds the main window's maintenance timer off; true when it was running.
// A tick in progress has stopped the timer itself and restarts it when done,
// so what was running is what Reanuda_Mantenimiento puts back.
bool Para_Mantenimiento();
void Reanuda_Mantenimiento(bool estaba_activo);

// Runs trabajo, then limpieza, whether trabajo ended normally or with an
// error. trabajo's error travels on; when limpieza fails as well its error is
// dropped, because the first one is what ended the workflow. A failing
// limpieza after a trabajo that went well raises its own error.
void Con_Limpieza(const std::function<void()> &trabajo, const std::function<void()> &limpieza);

// Keeps the event loop running for ms milliseconds without taking user input,
// as the waits inside a controller exchange do.
void Pausa(int ms);

// The controller with that number in the open installation, or none.
std::shared_ptr<ZARVControlador> Controlador(int codigo);
// The controller's command layer, created on first use, with its port closed
// so that the next command opens it afresh.
ZARVComunicador &Comunicador(ZARVControlador &controlador);

// A door time of a controller's test reply, in seconds. The controllers keep
// their times as packed decimal (12 s is the byte 0x12), so the reply's hex
// text already reads as the seconds; taking it for a hexadecimal number would
// show 18 s, and the edit window would then send 18 s back. A text that
// cannot be packed decimal (a hex digit above 9) is read as hexadecimal.
QString Segundos(const QString &hex);

// An edit that takes digits only, at most longitud of them: a non-digit never
// reaches the field, typed or pasted.
void Solo_Digitos(QLineEdit *edit, int longitud);

} // namespace lectores
