#pragma once

#include <QObject>

// Deleting users from the users page, and finding them.
class TestBorrarUsuarios : public QObject {
    Q_OBJECT
private slots:
    void preguntaUnaVez();
    void buscar();
};
