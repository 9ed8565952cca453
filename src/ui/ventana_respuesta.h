#pragma once

#include <QDialog>

namespace kv::ui {

// A small question window that reports the operator's choice as a number:
// the caller shows it through Operador::Modal and acts on the number only
// (1 or 25 for "yes", depending on the window).
class Ventana_Respuesta : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    int Respuesta = 0;
};

} // namespace kv::ui
