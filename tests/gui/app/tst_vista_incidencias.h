#pragma once

#include <QObject>

// The incidence list as a view: stored incidences of a date range, the list
// saved and opened again with its icons, a file that is only partly rows,
// finding rows in any letter case and clearing; a range of several pages
// read as the list is scrolled.
class TestVistaIncidencias : public QObject {
    Q_OBJECT
private slots:
    void guardarYAbrir();
    void ficheroConLineasMalas();
    void filtroDeFechas();
    void buscar();
    void rangoDeVariasPaginas();
};
