#pragma once

#include <QObject>

// Traducir_Ventana on small windows built the way the program's windows are:
// every kind of target, a missing key, an empty text, and a child window that
// keeps its own controls.
class TestTraducirVentana : public QObject {
    Q_OBJECT
private slots:
    void appliesEachKindOfTarget_data();
    void appliesEachKindOfTarget();
    void reportsTargetsTheWindowLacks();
    void missingAndEmptyTexts();
    void editButtonSharesTheAttendanceButtonText();
    void comboTextOnAListThatHoldsIt();
    void untranslatedWindowIsLeftAlone();
};
