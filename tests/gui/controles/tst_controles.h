#pragma once

#include <QObject>

// Walks every visible, enabled control of the main window and of every page
// it leads to, logged in at each level, and fails on a control that changes
// nothing the operator could see. Locking and closing, which end the
// session, are used last and checked for what they do.
class TestControles : public QObject {
    Q_OBJECT
private slots:
    void recorrido_data();
    void recorrido();
};
