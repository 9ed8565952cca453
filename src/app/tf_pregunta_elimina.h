#pragma once

#include "ui/ventana_respuesta.h"

class QLabel;
class QPushButton;

// Asked when a reader kept a card being deleted (F_Pregunta_Elimina):
// Aceptar answers 1 (delete it all the same), Cancelar 0.
class TF_Pregunta_Elimina : public kv::ui::Ventana_Respuesta {
    Q_OBJECT
public:
    explicit TF_Pregunta_Elimina(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QPushButton *Button1; // cancel
    QPushButton *Button2; // accept
};
