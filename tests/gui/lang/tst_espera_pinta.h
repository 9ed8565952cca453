#pragma once

#include <QObject>

// While Ejecuta_y_Espera waits for a tool, the windows keep being painted.
class TestEsperaPinta : public QObject {
    Q_OBJECT
private slots:
    void windowsRepaintWhileWaiting();
};
