#pragma once

#include <QObject>

// The readers' windows as the program creates them: every key of their
// language tables finds its control and no text is left at the marker.
class TestVentanasLectores : public QObject {
    Q_OBJECT
private slots:
    void traducidas_data();
    void traducidas();
};
