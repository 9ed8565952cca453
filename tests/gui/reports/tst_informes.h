#pragma once

#include <QObject>

// The Reports tab on a running program: every catalogue node fills the
// preview and the root empties it, a missing or broken template shows its
// notice instead of the report before, a switch of installation shows the
// new installation's rows, and the preview's buttons move, zoom, export and
// print.
class TestInformes : public QObject {
    Q_OBJECT
private slots:
    void cadaNodoLlenaLaVista();
    void plantillaAusenteORota();
    void otraInstalacion();
    void botonesDeLaVista();
};
