#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Changes a login's password (F_Cambia_Password): the old one, then the new
// one twice. Opened from the logins page and from the main window's notice
// while admin keeps its factory password.
class TF_Cambia_Password : public QDialog {
    Q_OBJECT
public:
    explicit TF_Cambia_Password(QWidget *parent = nullptr);

    // The login whose password changes; it cannot be edited here.
    void Para(const QString &login);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLineEdit *Edit1; // login
    QLineEdit *Edit2; // old password
    QLineEdit *Edit3; // new password
    QLineEdit *Edit4; // new password again
    QPushButton *B_Aceptar;
    QPushButton *B_Cancelar;

    // Changes it and closes, or tells what is wrong and stays.
    void B_AceptarClick();
};
