#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QListWidget;
class QPushButton;

// A card some controller still waits for (F_Error_insert): where it is
// stored and where it should be, and Reintentar to add it again where it
// is pending.
class TF_Error_insert : public QDialog {
    Q_OBJECT
public:
    explicit TF_Error_insert(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label7;
    QLabel *Label4;
    QLabel *Label3; // the card code
    QLabel *Label5;
    QLabel *Label6;
    QListWidget *CH1; // "<number> <description>", checked where the card is stored
    QListWidget *CH2; // the same, checked where the card is assigned
    QPushButton *B_yes;
    QPushButton *B_No;

    // Shows this card, as the database has it now.
    void Para(const QString &codigo);
    void B_YesClick();

private:
    QString m_codigo;
};
