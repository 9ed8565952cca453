#pragma once

#include "app/pagina.h"

class Dialogo_Buscar;
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
    void Rellena() override;

    // The new-user window (also the tool bar's "User").
    void B_New_USR_MainClick();
    // The edit-user window for the selected row.
    void B_edit_usrClick();
    // Deletes the selected users after the operator confirms.
    void B_DeleteClick();
    void SpeedButton25Click();
    // Selects every row whose name, surnames, card count or cards hold
    // texto in any letter case, and moves to the next of them after the
    // current row, so that repeating the find walks the matches.
    bool Find_userFind(const QString &texto);
    Dialogo_Buscar *Find_user() const { return m_buscar; }

private:
    Dialogo_Buscar *m_buscar = nullptr;
};
