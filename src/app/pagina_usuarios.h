#pragma once

#include "app/pagina.h"

class QLabel;
class QPushButton;
class QTreeWidget;

// The users page: every cardholder with the number of cards and the readers
// that hold each card, marked pending while a reader still waits for one.
class Pagina_Usuarios : public Pagina {
    Q_OBJECT
public:
    Pagina_Usuarios(Vista_Principal &vista, QObject *padre);

    QLabel *Label1;
    QPushButton *B_New_USR_Usr;
    QPushButton *B_edit_usr;
    QPushButton *B_Delete;
    QPushButton *SpeedButton25; // find
    QPushButton *B_Send_u;
    QPushButton *B_receive_u;
    QPushButton *SpeedButton4; // lock (never shown)
    QPushButton *SpeedButton6; // unlock (never shown)
    QTreeWidget *Lista1;

    // Reloads the cardholders and the cards, then the list.
    void Refrescar() override;
};
