#pragma once

#include "workflows/parametros.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// The application parameters window (F_Parametros_app): language, release of
// expired cards, periodic reader test, the reader that reads card codes, and
// the stored choice for deleting incidences (its group hidden). The controls
// only show a choice: nothing is put in effect until the operator accepts,
// so Cancel or the close box leaves every setting as it was.
class TF_Parametros_app : public QDialog {
    Q_OBJECT
public:
    // The answer of Aceptar; Cancelar and the close box answer 0.
    static constexpr int Aceptado = 25;

    explicit TF_Parametros_app(QWidget *parent = nullptr);

    QLabel *Label1;
    QGroupBox *xpGroupBox1;
    QLabel *L_Idioma;
    QComboBox *C_Idioma;
    QGroupBox *xpGroupBox2; // hidden
    QRadioButton *R1, *R2, *R3, *R4;
    QGroupBox *xpGroupBox3;
    QRadioButton *R5, *R6;
    QGroupBox *xpGroupBox4;
    QRadioButton *R7, *R8;
    QGroupBox *xpGroupBox5;
    QCheckBox *CH_Lectura_Lector;
    QComboBox *C_Lectores_Lectura;
    QPushButton *B_Aceptar;
    QPushButton *B_Cancelar;

    // Shows actual in the controls, with one entry "<number> <description>"
    // per reader in lectores (number, description pairs in list order).
    void Prepara(const kv::wf::Parametros_App &actual, const QList<QPair<int, QString>> &lectores);
    // The values the controls show.
    kv::wf::Parametros_App Elegidos() const;

private:
    void C_IdiomaChange();

    kv::wf::Parametros_App m_actual;
};
