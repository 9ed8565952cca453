#pragma once

#include <QObject>

// The edit window: door times read from a live test, their limits, the
// times sent and the description stored, a controller that does not answer,
// and the lines and the maintenance timer given back when it closes.
class TestEditarLector : public QObject {
    Q_OBJECT
private slots:
    void tiemposLeidos_data();
    void tiemposLeidos();
    void limites_data();
    void limites();
    void sinRespuesta();
    void otroLectorConLaVentanaAbierta();
};
