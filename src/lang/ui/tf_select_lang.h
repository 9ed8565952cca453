#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// The language choice at the first start (F_Select_Lang). Its texts are fixed
// English: there is no language to take them from yet.
class TF_Select_Lang : public QDialog {
    Q_OBJECT
public:
    explicit TF_Select_Lang(QWidget *parent = nullptr);

    QLabel *Label1;
    QComboBox *C_Idioma;
    QPushButton *B_OK;

    // However the window is closed, the current language becomes the chosen
    // entry, or ENGLISH when there is none. It is stored in the settings file
    // later, with the other settings.
    void done(int resultado) override;

protected:
    void showEvent(QShowEvent *evento) override;
};
