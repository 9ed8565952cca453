#pragma once

#include "app/pagina.h"

class QLabel;
class QPushButton;

// The parameters page: the entries to installation management and to the
// application parameters window. Only for the ADMIN level.
class Pagina_Parametros : public Pagina {
    Q_OBJECT
public:
    Pagina_Parametros(Vista_Principal &vista, QObject *padre);

    QLabel *Label10;
    QLabel *Label8;
    QLabel *Label11;
    QLabel *Label12;
    QLabel *Label13;
    QPushButton *SpeedButton28; // installation management
    QLabel *Label14;
    QLabel *Label15;
    QLabel *Label16;
    QPushButton *SpeedButton29; // application parameters

    // Nothing to rebuild: the page only leads to its windows.
    void Refrescar() override {}

    // Edits the application parameters in their window and applies them on
    // Aceptar; when that changed the settings, offers to close the program.
    void SpeedButton29Click();
};
