#pragma once

#include <QDialog>

class Animacion_Copia;
class Barra_Progreso;
class QLabel;

// The progress window of the long card loops (F_Muestra_recep): shown without
// waiting and on top while a loop loads or reads cards, with the item in
// hand in Label1 and the count in P1.
class TF_Muestra_recep : public QDialog {
    Q_OBJECT
public:
    explicit TF_Muestra_recep(QWidget *parent = nullptr);

    Animacion_Copia *Ani1;
    QLabel *Label1;
    Barra_Progreso *P1;
    // Set by a Cancel button, where the window has one (F_Muestra_Del).
    bool Cancelado = false;

protected:
    // The window of another name that builds on this one.
    TF_Muestra_recep(const char *nombre, QWidget *parent);
};
