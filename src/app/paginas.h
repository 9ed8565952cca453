#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class Pagina;
class Vista_Principal;

// The navigator's nodes in display order (the order the language file's
// keys for them follow), each with the page it shows. The main window builds
// its tree and its pages from this table, and the USER level's restrictions
// walk it.
struct Nodo_Navegacion {
    QString texto;    // until the window is translated
    bool hijo;        // under the last node that is not a child
    bool solo_admin;  // a login of level USER does not get this node
    // Creates the node's page; none for a node that only groups others.
    std::function<Pagina *(Vista_Principal &, QObject *padre)> crea;
};

const std::vector<Nodo_Navegacion> &Tabla_Navegacion();
