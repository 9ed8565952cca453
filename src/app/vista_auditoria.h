#pragma once

#include "model/auditoria.h"

#include <QGroupBox>

#include <optional>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The operators' log on the logins page: who changed what, newest first,
// filtered by a date range, a login and an object, a screen at a time
// (More reads the next), and the whole filtered log saved to a workbook.
class Vista_Auditoria : public QGroupBox {
    Q_OBJECT
public:
    explicit Vista_Auditoria(QWidget *padre);

    QDateEdit *Desde;
    QDateEdit *Hasta;
    QComboBox *Login;  // editable; empty for every login
    QLineEdit *Objeto; // a card, a cardholder or controller number, or text
    QPushButton *B_Buscar;
    QPushButton *B_Mas;
    QPushButton *B_Exportar;
    QTreeWidget *Lista;

    // The logins offered read again, then Busca.
    void Refrescar();
    // The newest screen for the filter as it stands.
    void Busca();
    void B_MasClick();
    void B_ExportarClick();

private:
    Auditoria::Filtro Filtro() const;
    void Anade(const std::vector<Auditoria::Entrada> &entradas);

    std::optional<Auditoria::Entrada> m_ultima; // the oldest shown, where More goes on
};
