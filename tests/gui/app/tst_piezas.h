#pragma once

#include <QObject>

// The small pieces other windows build on: the seam for the operator's
// answers, file-dialog filters, the image list, and how titles and dates are
// worded.
class TestPiezas : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void respuestasEnCola();
    void accionSobreVentana();
    void filtros_data();
    void filtros();
    void iconos();
    void sufijo_data();
    void sufijo();
    void entradas_data();
    void entradas();
};
