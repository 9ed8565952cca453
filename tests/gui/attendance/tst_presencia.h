#pragma once

#include <QObject>

// The attendance area: the tree of the period and the cardholders by
// surname, a cardholder's month and day; the readers designated through
// F_Lector_ES's context menu changing the sheet, with no line opened and the
// maintenance held meanwhile, and registering still listening afterwards; a stay corrected through F_Presencia_Estancia;
// the table enlarged, saved and opened again, and files that are not tables.
class TestPresencia : public QObject {
    Q_OBJECT
private slots:
    void arbolMesYDia();
    void designarLectores();
    void corregirYAmpliar();
    void guardarYAbrir();
};
