#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// A new application login (F_Nuevo_login). It stays open after each login
// stored, for the next one.
class TF_Nuevo_login : public QDialog {
    Q_OBJECT
public:
    explicit TF_Nuevo_login(QWidget *parent = nullptr);

    QLabel *Label4; // heading
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label5;
    QLineEdit *Edit1; // login
    QLineEdit *Edit2; // password
    QLineEdit *Edit3; // password again
    QComboBox *C_Nivel;
    QPushButton *B_Aceptar;
    QPushButton *B_Cancelar;

    void B_AceptarClick();

protected:
    void showEvent(QShowEvent *evento) override;
};
