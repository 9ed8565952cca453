#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kv::ui {
class Dialogo_Fichero;
} // namespace kv::ui

// Installation management (F_Gestion_BD), opened from the parameters page:
// switch to another installation, create one, delete one, back the open one
// up into a file and restore a backup over it. C2 shows the main window's
// installation list (its selector) with the open installation selected; the
// workflows themselves are kv::wf's, shared with keyvane-cli.
class TF_Gestion_BD : public QDialog {
    Q_OBJECT
public:
    explicit TF_Gestion_BD(QWidget *parent = nullptr);

    QLabel *Label1; // heading
    QGroupBox *xpGroupBox2; // installation
    QLabel *Label2;
    QComboBox *C2; // the installations, the open one selected
    QPushButton *B_Eliminar;
    QLabel *Label3;
    QLineEdit *E_Nueva; // a new installation's name
    QPushButton *B_Nueva;
    QGroupBox *xpGroupBox1; // export/import
    QPushButton *B_export;
    QPushButton *B_import;
    QPushButton *B_Salir;
    kv::ui::Dialogo_Fichero *SaveDialog1;
    kv::ui::Dialogo_Fichero *OpenDialog1;

    void C2Change();
    void B_NuevaClick();
    void B_EliminarClick();
    void B_exportClick();
    void B_importClick();
    // Remembers the installation shown (LAST_INSTALLATION) and closes; the
    // close box closes without remembering.
    void B_SalirClick();
    // Closes the open installation (its lines released, its connections closed).
    static void Close_instalacion();

protected:
    void showEvent(QShowEvent *evento) override;

private:
    // C2 as the main window's list stands now.
    void Muestra_Lista();
    // Delete only while another installation would remain.
    void Habilita_Botones();
    // The code of the entry C2 shows; empty when none.
    QString Codigo() const;
    // Loads the list again and opens codigo, as the main window's start-up does.
    static void Abre(const QString &codigo);

    bool m_enlazada = false;
};
