#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;

// Reads the card lists of the controllers back into the database
// (f_recv_users): on show, every controller is tested and listed with
// whether it can be read; Ok reads every one that can.
class Tf_recv_users : public QDialog {
    Q_OBJECT
public:
    explicit Tf_recv_users(QWidget *parent = nullptr);

    QLabel *Label1;
    QTreeWidget *L1_Contr; // Lector, Descripción, COM, Puede recibir
    QPushButton *SpeedButton8;  // Ok
    QPushButton *SpeedButton10; // Cancel

    void FormShow();
    void SpeedButton8Click();

protected:
    void showEvent(QShowEvent *evento) override;
};
