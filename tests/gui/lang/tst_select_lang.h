#pragma once

#include <QObject>

// The language selection window of the first start.
class TestSelectLang : public QObject {
    Q_OBJECT
private slots:
    void listsTheLanguagesInFileOrder();
    void typedLettersChangeNothingAndEnterCloses();
    void closingTakesTheChosenEntry_data();
    void closingTakesTheChosenEntry();
    void fixedUntranslatedTexts();
};
