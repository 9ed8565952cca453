#pragma once

#include "app/retencion_ventana.h"

#include <QDateTime>
#include <QWidget>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimeEdit;

// The layout the new-card and edit-card windows share: a heading, the card
// code beside Label1, the expiry group and the two buttons. The subclass
// puts its own code control into Fila_Codigo.
class Ventana_Tarjeta : public QWidget {
    Q_OBJECT
public:
    Ventana_Tarjeta(const char *nombre, const QString &titulo, QWidget *codigo, QWidget *parent);

    QLabel *Label2; // heading
    QLabel *Label1; // beside the card code
    QGroupBox *xpGroupBox1; // expiry
    QCheckBox *CH_Usar_Caducidad;
    QLabel *Label4;
    QDateEdit *E_Fecha_cad;
    QTimeEdit *E_Hora_cad;
    QLabel *Label3;
    QPushButton *B_Aceptar;
    QPushButton *B_Cancel;

    void Muestra_Habilita_caducidad();
    // The expiry the pickers show.
    QDateTime Caducidad() const;
    void Pon_Caducidad(const QDateTime &fecha);

protected:
    // The code control the subclass handed over.
    QWidget *Control_Codigo() const { return m_codigo; }

private:
    QWidget *m_codigo;
};
