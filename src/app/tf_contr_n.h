#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// A new controller (F_Contr_N). It stays open after each controller added,
// for the next one; Cancel closes it.
class TF_Contr_N : public QDialog {
    Q_OBJECT
public:
    explicit TF_Contr_N(QWidget *parent = nullptr);

    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label7;
    QLabel *Label6;
    QLineEdit *Edit1; // number
    QLineEdit *Edit2; // description
    QLineEdit *Edit3; // port
    QLineEdit *Edit4; // bus address
    QPushButton *B_add;
    QPushButton *B_cancel;

    void FormShow();
    void B_addClick();

protected:
    void showEvent(QShowEvent *evento) override;
};
