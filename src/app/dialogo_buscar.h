#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTreeWidget;

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

// Selects every row of lista whose first columnas columns hold texto in any
// letter case, and makes the next of them after the current row current, so
// that finding again walks the matches. False when nothing matches.
bool Busca_En_Lista(QTreeWidget *lista, const QString &texto, int columnas);
