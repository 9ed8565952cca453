#pragma once

#include "platform/icmp.h"

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TF_New_Camera;
class Vista_Mjpeg;

// The camera window (F_Camera_Control): the configured cameras of the
// settings file, one at a time (Panel3) or all together (Panel4). A view is
// shown only after its camera answered an echo; the echoes run while the
// window goes on working, one client per view so that four cameras are
// probed side by side.
class TF_Camera_Control : public QWidget {
    Q_OBJECT
public:
    explicit TF_Camera_Control(QWidget *parent = nullptr);
    ~TF_Camera_Control() override;

    QWidget *Panel1;
    QPushButton *SpeedButton1; // new
    QPushButton *SpeedButton2; // delete
    QPushButton *SpeedButton4; // all four
    QPushButton *SpeedButton3; // close
    QWidget *Panel2;
    QTreeWidget *Arbol1;
    QWidget *Panel3;
    QWidget *Panel4;
    // ORVIK[1] to ORVIK[8]; [0] unused, so the numbers read as the names.
    std::array<Vista_Mjpeg *, 9> ORVIK{};
    std::array<QLabel *, 9> L_CAM{}; // 5 to 8
    std::array<kv::Eco_Icmp *, 9> IdIcmpClient1{};

    // The address part of a video address: between the second and third "/".
    static QString Host_De_URL(const QString &direccion);

    void FormCreate(); // loads the camera list
    void FormShow();
    void FormClose();
    void Arbol1Change();
    // Add and remove are an administrator's: they raise Nivel::Sin_Permiso
    // for anyone else, whatever reached them.
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void IdIcmpClient1Reply(int vista, kv::Eco_Icmp::Resultado resultado);

    bool Configurada(int vista) const { return m_configurada[vista]; }
    // The single view on show (0: none).
    int Vista_Actual() const { return m_actual; }

protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;

private:
    void Sonda(int vista);
    TF_New_Camera *Dialogo();

    std::array<bool, 9> m_configurada{};
    int m_actual = 0;
    TF_New_Camera *m_dialogo = nullptr;
};
