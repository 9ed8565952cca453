#pragma once

#include <QObject>

// The receive window: which controllers can be read, and what a receive
// leaves in the database.
class TestRecepcion : public QObject {
    Q_OBJECT
private slots:
    void recibe();
};
