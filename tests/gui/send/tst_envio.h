#pragma once

#include <QObject>

// The send window: every controller emptied and loaded again, a silent one
// left pending, and Cancelar during the send.
class TestEnvio : public QObject {
    Q_OBJECT
private slots:
    void conUnLectorMudo();
    void cancelar_data();
    void cancelar();
};
