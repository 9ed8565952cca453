#pragma once

#include "ui/ventana_respuesta.h"

class QLabel;
class QLineEdit;
class QPushButton;

// A day's stay corrected by hand (F_Presencia_Estancia): the caller puts the
// cardholder, the day and the stay shown into L_Usuario, L_Fecha and Edit1,
// and on the answer 25 takes Edit1's text as the day's stay. Enter in Edit1
// is Aceptar.
class TF_Presencia_Estancia : public kv::ui::Ventana_Respuesta {
    Q_OBJECT
public:
    static constexpr int Aceptada = 25;

    explicit TF_Presencia_Estancia(QWidget *parent = nullptr);

    QLabel *L_Usuario;
    QLabel *L_Fecha;
    QLabel *L_Estancia;
    QLineEdit *Edit1;
    QPushButton *B_Aceptar;
    QPushButton *B_Cancel;
};
