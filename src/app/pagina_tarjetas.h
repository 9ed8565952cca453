#pragma once

#include "app/pagina.h"

class Dialogo_Buscar;
class QLabel;
class QPushButton;
class QTreeWidget;

// The cards page: every card with its holder, the readers that hold it and
// its dates, marked pending while a reader still waits for it.
class Pagina_Tarjetas : public Pagina {
    Q_OBJECT
public:
    Pagina_Tarjetas(Vista_Principal &vista, QObject *padre);

    QLabel *Label9;
    QPushButton *B_New_Card;
    QPushButton *B_Edit_Card; // never shown
    QPushButton *B_Delete_Cards;
    QPushButton *SpeedButton21; // find
    QTreeWidget *Lista3;

    // Reloads the cards, then the list.
    void Refrescar() override;
    void Rellena() override;

    // The new-card window.
    void B_New_CardClick();
    // The expiry window for the selected card.
    void B_Edit_CardClick();
    // Deletes the selected cards from the readers and the database.
    void B_Delete_CardsClick();
    void SpeedButton21Click();
    // Over the seven columns, as the users page finds.
    bool Find_cardsFind(const QString &texto);
    Dialogo_Buscar *Find_cards() const { return m_buscar; }

private:
    Dialogo_Buscar *m_buscar = nullptr;
};
