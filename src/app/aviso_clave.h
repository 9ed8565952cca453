#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

// The main window's notice while the factory login keeps its factory
// password (anyone who read the manual can log in as administrator), with
// the button that changes it. It stays until the password is changed.
class Aviso_Clave : public QFrame {
    Q_OBJECT
public:
    explicit Aviso_Clave(QWidget *padre);

    QLabel *L_Aviso_Clave;
    QPushButton *B_Cambia_Clave;

    // Shows or hides the notice as the main database stands now.
    void Comprueba();
    // The change-password window for the factory login.
    void B_Cambia_ClaveClick();
};
