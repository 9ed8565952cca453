#pragma once

#include <QObject>

// Live incidence rows: events from keyvane-sim reach the top of the
// incidence list with their kind, reader, cardholder and icon; a line that
// goes away while registering, and its return, are shown too.
class TestEventos : public QObject {
    Q_OBJECT
private slots:
    void filasEnVivo();
    void tipoDesconocido();
    void pruebaDeLectores();
    void lineaPerdida();
};
