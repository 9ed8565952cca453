#pragma once

#include <QObject>

// The cards page: registering free cards, deleting cards the readers hold,
// the expiry window and find.
class TestPaginaTarjetas : public QObject {
    Q_OBJECT
private slots:
    void registra();
    void lectorDeLectura();
    void borraConUnLectorMudo();
    void caducidad();
    void buscar();
};
