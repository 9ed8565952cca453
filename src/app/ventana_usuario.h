#pragma once

#include "app/retencion_ventana.h"
#include "workflows/flujo_usuarios.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimeEdit;
class QTreeWidget;
class QLineEdit;

namespace kv::ui {
class Dialogo_Fichero;
}

// The layout and the behaviour the new-user and edit-user windows share: the
// names, the photograph, the card list with the free-card drop-down, the
// readers a user may open and the expiry of his cards. While the window is
// open it holds the maintenance timer off and has the reading reader's cards
// arrive in C_Tarjetas; closing it gives both back.
class Ventana_Usuario : public QWidget {
    Q_OBJECT
public:
    Ventana_Usuario(const char *nombre, const QString &titulo, QWidget *parent);
    ~Ventana_Usuario() override;

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4;
    QLabel *Label5;
    QLineEdit *Edit1; // first name
    QLineEdit *Edit2; // surnames
    QLabel *I_Foto;
    QPushButton *B_Foto;
    QPushButton *B_Quit_Foto;
    kv::ui::Dialogo_Fichero *OP1;
    QGroupBox *xpGroupBox1; // cards
    QComboBox *C_Tarjetas;
    QCheckBox *CH1; // free cards only
    QPushButton *B_Mas;
    QPushButton *B_Eliminar;
    QTreeWidget *Lista1;
    QGroupBox *xpGroupBox2; // readers
    QListWidget *CHLista1;
    QGroupBox *xpGroupBox3; // expiry
    QCheckBox *CH_Usar_Caducidad;
    QDateEdit *E_Fecha_cad;
    QTimeEdit *E_Hora_cad;
    QPushButton *B_Aceptar;
    QPushButton *B_Cancelar;

    // The photograph's file name in Pictures/, empty for none.
    const QString &Fotografia() const { return m_foto; }
    // Shows the photograph Pictures/nombre; a file that is missing or not a
    // picture leaves the window without one.
    void Pon_Fotografia(const QString &nombre);

    void Rellena_Tarjetas();
    bool esta_en_lista() const;
    void B_MasClick();
    void B_EliminarClick();
    void B_FotoClick();
    void B_Quit_FotoClick();
    void Muestra_Habilita_caducidad();
    // A card presented at the reading reader: its whole code, when it is one.
    void Recibida_Lectura(const QString &tarjeta);
    void B_AceptarClick();

    // What the window holds, as the workflows take it.
    kv::wf::Datos_Usuario Datos() const;
    // The controller numbers ticked in CHLista1, in list order.
    std::vector<int> Lectores_Marcados() const;

protected:
    // Fills the window as it opens (FormShow), checking every reader or none.
    void Prepara(bool marcar_lectores);
    // Adds a row for the card with that ten-digit code.
    void Anade_Fila(const QString &codigo);
    // Saves what the window holds; false when nothing was stored.
    virtual bool Guarda(const kv::wf::Datos_Usuario &datos) = 0;

    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;

private:
    void Habilita(bool si);

    QString m_foto;
    Retencion_Ventana m_retencion;
};
