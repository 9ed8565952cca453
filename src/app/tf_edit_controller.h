#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Edits a controller (F_edit_controller): its description in the database
// and, when it answers, its door times in the controller. Shown without
// waiting; the readers page fills Edit1 to Edit3 before showing it, and its
// closing gives the lines and the maintenance timer back.
class TF_edit_controller : public QDialog {
    Q_OBJECT
public:
    explicit TF_edit_controller(QWidget *parent = nullptr);

    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label7;
    QLineEdit *Edit1; // number (read-only)
    QLineEdit *Edit2; // description
    QLineEdit *Edit3; // port (read-only)
    QLineEdit *Edit4; // door-lock time
    QLineEdit *Edit5; // door-open time
    QPushButton *BitBtn1; // edit
    QPushButton *BitBtn2; // cancel

    // Whether closing restarts the maintenance timer: it runs again only if
    // it ran when the window was opened.
    bool Reanudar_Mantenimiento = false;

    // Reads the door times from the controller; runs whenever the window is
    // shown, and again when it is refilled while on show.
    void FormShow();
    void BitBtn1Click();
    void FormClose();

protected:
    void showEvent(QShowEvent *evento) override;
};
