#pragma once

#include <QObject>

// From nothing to the login window: a fresh program directory, the repair of
// a missing main database, the remembered installation, a start-up step that
// fails, and the installation suffix of the titles.
class TestArranque : public QObject {
    Q_OBJECT
private slots:
    void directorioNuevo();
    void reparacionDeFabrica();
    void instalacionRecordada_data();
    void instalacionRecordada();
    void pasoFallido_data();
    void pasoFallido();
    void instalacionPerdida();
    void unSoloSufijo();
    void ventanasTraducidas_data();
    void ventanasTraducidas();
    void cierreGuardaAjustesYTermina();
    void cerrarLoginTermina();
};
