#pragma once

#include "workflows/libro_tarjetas.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// The import window (F_imp_XLS): the chosen workbook's rows previewed, the
// readers that get the cards and the import mode ticked, then the import as
// one change with its progress in F_Muestra_recep.
class TF_imp_XLS : public QDialog {
    Q_OBJECT
public:
    explicit TF_imp_XLS(QWidget *parent = nullptr);

    QLabel *Label6;
    QTreeWidget *Lista1;
    QGroupBox *xpGroupBox1;
    QListWidget *CH2;
    QGroupBox *xpGroupBox2;
    QRadioButton *R4; // add the cards that do not exist
    QRadioButton *R3; // insert after deleting the old cards
    QPushButton *B_add;
    QPushButton *B_cancel;

    // Fills CH2 and reads the chosen workbook into Lista1.
    void FormShow();
    void B_addClick();

    // The preview holds this many rows at most; the import takes them all.
    static constexpr int Filas_Vista = 10000;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    kv::wf::Libro_Importacion m_libro;
    // False when the workbook could not be read: Add then only closes, and
    // the replace mode deletes nothing.
    bool m_leido = false;
};
