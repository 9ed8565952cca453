#pragma once

#include <QObject>

// A click on an incidence row shows its cardholder beside the main window:
// names, cards, the readers those cards open and the photograph; a row that
// names nobody takes the window away, and a photograph that cannot be read
// does not keep the cardholder from being shown.
class TestUsuarioIncidencia : public QObject {
    Q_OBJECT
private slots:
    void clicEnFilas();
};
