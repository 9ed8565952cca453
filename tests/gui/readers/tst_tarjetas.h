#pragma once

#include <QObject>

// The workflows that change what a controller holds: master card, erasing
// its cards, cloning one controller's cards onto others, and deleting a
// controller, each checked in the simulator's memory and in the database.
class TestTarjetasLector : public QObject {
    Q_OBJECT
private slots:
    void tarjetaMaestra_data();
    void tarjetaMaestra();
    void vaciar_data();
    void vaciar();
    void clonar_data();
    void clonar();
    void clonarOfreceOtrasDescripciones();
    void borrar_data();
    void borrar();
};
