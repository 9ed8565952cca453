#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kv::ui {
class Dialogo_Fichero;
}

// The export/import window (F_Exp_imp): the installation's cards with their
// holders' names written to a workbook, or a workbook chosen for the import
// window.
class TF_Exp_imp : public QDialog {
    Q_OBJECT
public:
    explicit TF_Exp_imp(QWidget *parent = nullptr);

    QLabel *Label6;
    QPushButton *SpeedButton4;  // export
    QPushButton *SpeedButton15; // import
    QPushButton *B_cancel;
    kv::ui::Dialogo_Fichero *Save;
    kv::ui::Dialogo_Fichero *open;

    void SpeedButton4Click();
    void SpeedButton15Click();

    // The workbook last chosen for an import; the import window reads it.
    const QString &Fichero_Importacion() const { return m_fichero; }

private:
    QString m_fichero;
};
