#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Asks before the send of every card to every controller (F_Send_Card) and
// runs it, with its progress in F_Muestra_Del.
class TF_Send_Card : public QDialog {
    Q_OBJECT
public:
    explicit TF_Send_Card(QWidget *parent = nullptr);

    QLabel *Label1;
    QPushButton *B_Aceptar;
    QPushButton *B_Cancelar;

    void B_AceptarClick();
    // True while the send runs (the operator may still press Cancelar).
    bool Enviando() const { return m_enviando; }

public slots:
    // During a send, stops it before the next card; the window closes once
    // the send has stopped.
    void reject() override;

private:
    bool m_enviando = false;
    bool m_cancelado = false;
};
