#pragma once

#include "app/ventana_usuario.h"

class QAction;

// A new cardholder (F_Nuevo_Usr): every reader ticked to begin with, and
// emptied for the next user after each save.
class TF_Nuevo_Usr : public Ventana_Usuario {
    Q_OBJECT
public:
    explicit TF_Nuevo_Usr(QWidget *parent = nullptr);

    // The card list's context menu: edit (nothing), do not assign, cancel (nothing).
    QAction *Edit3;
    QAction *Delete1;
    QAction *Cancelar1;

    // Empties the window (FormShow).
    void FormShow();

protected:
    bool Guarda(const kv::wf::Datos_Usuario &datos) override;
    void showEvent(QShowEvent *evento) override;
};
