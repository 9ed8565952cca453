#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

// Copies the card list of one controller onto others (F_Clone_Controller):
// every ticked controller that answers is emptied and loaded with the
// source's cards, and its assignments in the database follow.
class TF_Clone_Controller : public QDialog {
    Q_OBJECT
public:
    explicit TF_Clone_Controller(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QComboBox *CB1; // the source, by description
    QGroupBox *xpGroupBox1;
    QListWidget *CH1; // the targets: "<number> <description>", ticked
    QPushButton *B_Clonar;
    QPushButton *B_cancel;

    void FormShow();
    void CB1Click();
    void B_ClonarClick();

protected:
    void showEvent(QShowEvent *evento) override;

private:
    // CH1 holds every controller whose description differs from excluida.
    void Llena_Destinos(const QString &excluida);
};
