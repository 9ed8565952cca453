#pragma once

#include "app/ventana_tarjeta.h"

// A card's expiry (F_Editar_Card), opened by the cards page for the selected card.
class TF_Editar_Card : public Ventana_Tarjeta {
    Q_OBJECT
public:
    explicit TF_Editar_Card(QWidget *parent = nullptr);

    QLabel *L_CODE_CARD;

    // Fills the window from the card; false when there is no such card.
    bool Prepara_Tarjeta(const QString &codigo);
    // Stores the expiry and closes.
    void B_AceptarClick();

protected:
    void showEvent(QShowEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;

private:
    Retencion_Ventana m_retencion;
};
