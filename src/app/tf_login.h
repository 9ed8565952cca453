#pragma once

#include "workflows/freno_login.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;

// The login window (F_Login): the program's first window, shown before the
// main window and again whenever the operator locks the program. Closing it
// ends the program.
class TF_Login : public QWidget {
    Q_OBJECT
public:
    explicit TF_Login(QWidget *parent = nullptr);

    QTabWidget *PageControl;
    QWidget *xpTabSheet1;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *Edit1; // login
    QLineEdit *Edit2; // password
    QPushButton *B_Aceptar;
    // After too many wrong passwords: how long the window still waits.
    QLabel *L_Espera;

    // Checks the login (first time) or unlocks the program (after a lock).
    void B_AceptarClick();
    // Restrictions of the USER level, applied once at the first login.
    void Determina_Interfaz();

    // The login state of this run. The password is kept only as its hash.
    bool logged = false;
    QString login;
    QString password;

    // Seconds the window still refuses a try; 0 when it takes one.
    int Espera() const { return m_espera; }

protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    void FormCreate();
    void Primer_Login();
    void Desbloquea();
    // A wrong password: the wait it earns, shown and counted down.
    void Fallo();
    void Cuenta_Atras();

    kv::wf::Freno_Login m_freno;
    QTimer *m_reloj;
    int m_espera = 0;
};
