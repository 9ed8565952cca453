#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// A find dialog (Find_user): it stays open while nothing matches, and each
// press of its button finds again from the last match.
class Dialogo_Buscar : public QDialog {
    Q_OBJECT
public:
    explicit Dialogo_Buscar(QWidget *parent);

    QLineEdit *Texto;
    QPushButton *B_Buscar;

signals:
    void Buscar(const QString &texto);
};
