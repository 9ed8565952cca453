#pragma once

#include "workflows/presencia.h"

#include <QDialog>

class QAction;
class QLabel;
class QPushButton;
class QTreeWidget;

// Which readers count for attendance (F_Lector_ES): every reader of the open
// installation with its designation, I for entrance and O for exit, changed
// from the list's context menu and stored at once. It opens no line; the
// attendance area shows it modally and holds the maintenance timer off
// meanwhile.
class TF_Lector_ES : public QDialog {
    Q_OBJECT
public:
    explicit TF_Lector_ES(QWidget *parent = nullptr);

    QLabel *Label1;
    QTreeWidget *Lista; // reader number, description, I / O / empty
    QAction *Entrada1;
    QAction *Sa1;
    QAction *Nousarparapresencia1;
    QAction *Cancelar1; // closes the menu, nothing else
    QPushButton *BitBtn2; // accept: closes the window

    // The list rebuilt from the installation's readers, the selected reader
    // kept selected.
    void refresca();
    // The selected reader takes the designation; nothing without a selection.
    void Designa(kv::wf::Designacion designacion);

protected:
    void showEvent(QShowEvent *evento) override;
};
