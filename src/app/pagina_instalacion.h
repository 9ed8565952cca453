#pragma once

#include "app/pagina.h"

class QLabel;
class QTreeWidget;

// The installation page (the navigator's root node): the readers of the
// open installation by number and description.
class Pagina_Instalacion : public Pagina {
    Q_OBJECT
public:
    Pagina_Instalacion(Vista_Principal &vista, QObject *padre);

    QLabel *Label4;
    QTreeWidget *Lista_INI;

    void Refrescar() override;
};
