#pragma once

#include <QObject>

// The edit-user window: filled from the selected user, a dropped card taken
// out of the readers, a missing photograph no obstacle.
class TestEditarUsuario : public QObject {
    Q_OBJECT
private slots:
    void rellena();
    void quitaUnaTarjeta();
    void fotografiaPerdida();
};
