#pragma once

#include <QObject>

// The MJPEG parser on its own, and the view against a camera on loopback.
class TestVistaMjpeg : public QObject {
    Q_OBJECT
private slots:
    void analizador_troceado_data();
    void analizador_troceado();
    void analizador_limitado();
    void limite_de_data();
    void limite_de();
    void muestra_entre_play_y_stop();
    void reconecta_tras_corte();
    void entrada_mala_data();
    void entrada_mala();
    void oculta_no_transmite();
};
