#pragma once

#include <QObject>

// The navigator's lists against the rows of the databases: cardholders with
// their cards and readers, cards with their dates, readers and logins, the
// pending icon, the hidden key columns and the selection modes; and the pages
// the tree, the tabs and the tool bar bring up.
class TestListas : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void usuarios();
    void tarjetas();
    void lectoresYLogins();
    void seleccion_data();
    void seleccion();
    void paginas_data();
    void paginas();
    void herramientas();
    void alActivarse();
};
