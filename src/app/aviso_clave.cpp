#include "app/aviso_clave.h"

#include "app/disposicion.h"
#include "app/tf_cambia_password.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvserver.h"
#include "ui/accion.h"
#include "ui/operador.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <exception>

Aviso_Clave::Aviso_Clave(QWidget *padre)
    : QFrame(padre)
{
    setObjectName(QStringLiteral("Panel_Aviso_Clave"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, QColor(0xff, 0xe0, 0x8a));
    paleta.setColor(QPalette::WindowText, Qt::black);
    setPalette(paleta);

    L_Aviso_Clave = disposicion::Etiqueta(this, "L_Aviso_Clave", QString());
    L_Aviso_Clave->setWordWrap(true);
    B_Cambia_Clave = disposicion::Boton(this, "B_Cambia_Clave", QStringLiteral("Change password"));
    auto *fila = new QHBoxLayout(this);
    fila->setContentsMargins(8, 4, 8, 4);
    fila->addWidget(L_Aviso_Clave, 1);
    fila->addWidget(B_Cambia_Clave);
    hide();

    kv::ui::Al_Pulsar(B_Cambia_Clave, padre, [this] { B_Cambia_ClaveClick(); });
}

void Aviso_Clave::Comprueba()
{
    bool de_fabrica = false;
    try {
        de_fabrica = Globales::Servidor && Globales::Servidor->Clave_De_Fabrica();
    } catch (const std::exception &) {
        // Without a main database there is no login to warn about.
    }
    L_Aviso_Clave->setText(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_40")));
    setVisible(de_fabrica);
}

void Aviso_Clave::B_Cambia_ClaveClick()
{
    TF_Cambia_Password ventana(window());
    ventana.Para(ZARVServer::Login_De_Fabrica);
    kv::ui::Operador::Modal(&ventana);
    Comprueba();
}
