#pragma once

#include "ui/ventana_respuesta.h"

class QLabel;
class QPushButton;

// Asked during a user deletion when a controller kept one of the user's cards
// (F_Pregunta_elimina_tarj): Aceptar answers 25 (delete the user and free his
// cards all the same), Cancelar leaves the answer as the caller set it.
class TF_Pregunta_elimina_tarj : public kv::ui::Ventana_Respuesta {
    Q_OBJECT
public:
    explicit TF_Pregunta_elimina_tarj(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *Label5;
    QPushButton *Button1; // cancel
    QPushButton *Button2; // accept
};
