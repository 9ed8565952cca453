#pragma once

#include <QObject>

// The readers list and the tests of the readers: rows and icons of L1_Contr
// and L2_Contr against what the simulated controllers answer, the test of
// the selected readers, the double click, and a port that cannot be opened.
class TestListaLectores : public QObject {
    Q_OBJECT
private slots:
    void filasYResultados();
    void columnaDeResultado_data();
    void columnaDeResultado();
    void lectorSinRespuesta();
    void probarSeleccionados();
    void dobleClic_data();
    void dobleClic();
    void puertoQueNoAbre();
};
