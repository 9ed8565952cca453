#pragma once

#include <QAbstractButton>

#include <functional>

class QWidget;

namespace kv::ui {

// Runs one operator action. A database or port failure travels up as an
// exception; it ends the action here and its text is shown, the way every
// button of the program reports a failure. Nothing escapes into Qt's event
// loop, which cannot carry exceptions.
void Ejecuta_Accion(QWidget *padre, const std::function<void()> &accion);

// The button's click runs accion through Ejecuta_Accion.
void Al_Pulsar(QAbstractButton *boton, QWidget *padre, std::function<void()> accion);

} // namespace kv::ui
