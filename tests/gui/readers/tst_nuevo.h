#pragma once

#include <QObject>

// The new-controller window: its input messages (nothing stored), the
// controllers it adds, the window staying open for the next one, and the
// digits-only fields of both controller windows.
class TestNuevoLector : public QObject {
    Q_OBJECT
private slots:
    void rechazado_data();
    void rechazado();
    void anadido_data();
    void anadido();
    void soloDigitos_data();
    void soloDigitos();
};
