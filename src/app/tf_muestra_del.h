#pragma once

#include "app/tf_muestra_recep.h"

class QPushButton;

// The progress window of a deletion (F_Muestra_Del): the receiving window's
// animation, item and count, and a Cancel that stops before the next item.
class TF_Muestra_Del : public TF_Muestra_recep {
    Q_OBJECT
public:
    explicit TF_Muestra_Del(QWidget *parent = nullptr);

    QPushButton *xpBitBtn1; // cancel
};
