#pragma once

#include "app/ventana_tarjeta.h"

class QLineEdit;

// Registers free cards (F_New_Card), typed or presented at the reading
// reader; it stays open for the next card. The expiry group is not shown:
// new cards are registered without an expiry.
class TF_New_Card : public Ventana_Tarjeta {
    Q_OBJECT
public:
    explicit TF_New_Card(QWidget *parent = nullptr);

    QLineEdit *E_Tarjeta;

    void FormShow();
    // A card presented at the reading reader: its whole code, when it is one.
    void Recibida_Lectura(const QString &tarjeta);
    void B_AceptarClick();

protected:
    void showEvent(QShowEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;

private:
    Retencion_Ventana m_retencion;
};
