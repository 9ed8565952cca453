#pragma once

class QLineEdit;

// What the readers' windows share beyond the workflows they call.
namespace lectores {

// Keeps the event loop running for ms milliseconds without taking user input,
// as the waits inside a controller exchange do.
void Pausa(int ms);

// An edit that takes digits only, at most longitud of them: a non-digit never
// reaches the field, typed or pasted.
void Solo_Digitos(QLineEdit *edit, int longitud);

} // namespace lectores
