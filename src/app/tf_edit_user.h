#pragma once

#include "app/ventana_usuario.h"

class ZARVTarjeta;

// An existing cardholder (F_Edit_User), prepared by the users page for the
// selected row; it stays open with its contents after each save.
class TF_Edit_User : public Ventana_Usuario {
    Q_OBJECT
public:
    explicit TF_Edit_User(QWidget *parent = nullptr);

    QLabel *L_CLAVE; // the edited user's number (never shown)

    // Fills the window from the user with that number (the page's edit
    // button); false when there is no such user.
    bool Prepara_Usuario(int id);
    void Averigua_Tarjetas_Usuario();
    // Ticks every reader that holds an assignment of the card.
    void Averigua_que_controloadores(const ZARVTarjeta &tarjeta);

protected:
    bool Guarda(const kv::wf::Datos_Usuario &datos) override;
};
