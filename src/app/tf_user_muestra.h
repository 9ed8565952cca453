#pragma once

#include <QWidget>

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class ZARVTarjeta;

// The cardholder of an incidence row (F_User_Muestra), shown beside the main
// window without holding it: names, photograph, cards and the readers those
// cards open. It only shows; nothing in it changes the installation.
class TF_User_Muestra : public QWidget {
    Q_OBJECT
public:
    explicit TF_User_Muestra(QWidget *parent = nullptr);

    QLabel *L_Nombre;
    QLabel *L_Apellidos;
    QFrame *P_Foto;
    QLabel *I_Foto;
    QGroupBox *xpGroupBox4; // cards
    QListWidget *Lista_Tarjetas;
    QGroupBox *xpGroupBox1; // access readers
    // One item per reader of the installation, ticked when one of the
    // cardholder's cards opens it; the operator cannot tick them.
    QListWidget *CHLista1;

    // Empties the window, then fills it with the open installation's
    // cardholder of that number. False, with the window left empty, when
    // there is none (no installation open, or a number no cardholder has).
    // A photograph that is missing or no picture leaves the window without
    // one and is no failure. Whatever else fails leaves the window empty and
    // is raised.
    bool Muestra_Usuario(int id);
    // Names, lists and photograph cleared.
    void Vacia();
    // Ticks the items of the readers the card is assigned to, by reader number.
    void Averigua_que_controloadores(const ZARVTarjeta &tarjeta);

private:
    bool Rellena(int id);
    void Pon_Foto(const QString &nombre);
};
