#pragma once

#include <QObject>

// The retry of a pending card from the cards list.
class TestReintento : public QObject {
    Q_OBJECT
private slots:
    void reintenta();
    void filaNoPendiente_data();
    void filaNoPendiente();
};
