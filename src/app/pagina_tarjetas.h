#pragma once

#include "app/pagina.h"

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
};
