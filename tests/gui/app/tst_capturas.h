#pragma once

#include <QObject>

// Pictures of the login window and of every page of the main window, saved
// into $KEYVANE_SCREENSHOT_DIR for the README and for a look at the layout.
class TestCapturas : public QObject {
    Q_OBJECT
private slots:
    void paginas();
};
