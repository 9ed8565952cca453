#pragma once

#include <QDialog>

#include <memory>

namespace kv::wf {
class Trabajo_Controladores;
}

class QLabel;
class QLineEdit;
class QPushButton;

// Edits a controller (F_edit_controller): its description in the database
// and, when it answers, its door times in the controller. Shown without
// waiting; the readers page takes the readers for it (Toma_Lectores) and
// fills Edit1 to Edit3 before showing it, and its closing gives them back.
class TF_edit_controller : public QDialog {
    Q_OBJECT
public:
    explicit TF_edit_controller(QWidget *parent = nullptr);
    ~TF_edit_controller() override;

    QLabel *Label4;
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label7;
    QLineEdit *Edit1; // number (read-only)
    QLineEdit *Edit2; // description
    QLineEdit *Edit3; // port (read-only)
    QLineEdit *Edit4; // door-lock time
    QLineEdit *Edit5; // door-open time
    QPushButton *BitBtn1; // edit
    QPushButton *BitBtn2; // cancel

    // Holds the readers from now until the window closes: no other workflow
    // or maintenance tick talks to them meanwhile, and nothing listens.
    // Raises kv::wf::Ocupado when another workflow holds them.
    void Toma_Lectores();

    // Reads the door times from the controller; runs whenever the window is
    // shown, and again when it is refilled while on show.
    void FormShow();
    void BitBtn1Click();
    void FormClose();

protected:
    void showEvent(QShowEvent *evento) override;

private:
    std::unique_ptr<kv::wf::Trabajo_Controladores> m_lectores;
    // The controller answered when the window opened: its times may be sent.
    bool m_tiempos_leidos = false;
};
