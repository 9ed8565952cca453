#pragma once

#include "ui/ventana_respuesta.h"

class QLabel;
class QPushButton;

// The confirmation window several workflows share (F_Delete_Conf): the caller
// puts the question into Label1 and acts only on the answer 1.
class TF_Delete_Conf : public kv::ui::Ventana_Respuesta {
    Q_OBJECT
public:
    explicit TF_Delete_Conf(QWidget *parent = nullptr);

    QLabel *Label1;
    QPushButton *B_Yes;
    QPushButton *B_Cancelar;
};
