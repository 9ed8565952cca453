#pragma once

#include <QObject>

// The new-user window: typed and presented codes, the readers ticked, the
// save with one reader silent, and the reading reader lent to the window.
class TestNuevoUsuario : public QObject {
    Q_OBJECT
private slots:
    void codigos_data();
    void codigos();
    void guardaConUnLectorMudo();
    void lectorDeLectura();
    void fotografia();
};
