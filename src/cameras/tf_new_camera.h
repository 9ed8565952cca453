#pragma once

#include "platform/icmp.h"
#include "ui/ventana_respuesta.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kv::ui {
class Imagen_Pulsable;
}

// The add dialog (F_New_Camera). Its answer is 1 when accepted, which it can
// only be once the address in Edit3 has answered an echo and a number is given.
class TF_New_Camera : public kv::ui::Ventana_Respuesta {
    Q_OBJECT
public:
    explicit TF_New_Camera(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label4; // link-styled: "check the camera"
    QLineEdit *Edit1; // number, "1" to "4"
    QLineEdit *Edit2; // description
    QLineEdit *Edit3; // IPv4 address
    kv::ui::Imagen_Pulsable *Image2; // probe
    QPushButton *Button2; // accept
    QPushButton *Button1; // cancel
    kv::Eco_Icmp *IdIcmpClient1;

    void FormShow();
    void Edit3Click();
    void Image2Click();
    void IdIcmpClient1Reply(kv::Eco_Icmp::Resultado resultado, const QString &host);
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void Sonda();
};
