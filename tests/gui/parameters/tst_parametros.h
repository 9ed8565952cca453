#pragma once

#include <QObject>

// The application parameters window as the administrator uses it from the
// parameters page: what it shows, what Aceptar writes and asks, and that
// Cancel or the close box change nothing, language and reading reader
// included.
class TestParametros : public QObject {
    Q_OBJECT
private slots:
    void aceptarSinCambios();
    void cambiarLiberacion();
    void idiomaCancelado();
    void lectorDeLectura();
};
