#include "app/tf_send_card.h"

#include "app/disposicion.h"
#include "app/interlocutor_ventanas.h"
#include "app/tf_muestra_del.h"
#include "app/ventanas_usuarios.h"

#include "lang/ui/traducir.h"
#include "ui/accion.h"
#include "workflows/sincronizacion.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The progress window's, extended with this window's Cancelar: pressed
// before the progress window has been shown (and has cleared its own mark),
// it must still stop the send.
class Progreso_Envio : public kv::wf::Progreso {
public:
    Progreso_Envio(TF_Muestra_recep *ventana, const bool &cancelado) : m_ventana(ventana), m_cancelado(cancelado) {}
    void Muestra() override { m_ventana.Muestra(); }
    void Rango(int pasos) override { m_ventana.Rango(pasos); }
    void Paso(const QString &texto) override { m_ventana.Paso(texto); }
    void Cierra() override { m_ventana.Cierra(); }
    bool Cancelado() const override { return m_cancelado || m_ventana.Cancelado(); }

private:
    Progreso_Ventana m_ventana;
    const bool &m_cancelado;
};

} // namespace

TF_Send_Card::TF_Send_Card(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_Send_Card"));
    setWindowTitle(QStringLiteral("Keyvane"));
    setModal(true);

    Label1 = disposicion::Etiqueta(this, "Label1",
                                   QStringLiteral("Do you want to update all the cards in the readers?"));
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(280);
    B_Aceptar = disposicion::Boton(this, "B_Aceptar", QStringLiteral("Aceptar"));
    B_Cancelar = disposicion::Boton(this, "B_Cancelar", QStringLiteral("Cancelar"));
    B_Cancelar->setDefault(true);

    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Aceptar);
    botones->addWidget(B_Cancelar);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addLayout(botones);

    kv::ui::Al_Pulsar(B_Aceptar, this, [this] { B_AceptarClick(); });
    connect(B_Cancelar, &QPushButton::clicked, this, &TF_Send_Card::reject);

    Lang::Traducir_Ventana(this);
}

void TF_Send_Card::reject()
{
    // The progress window cannot take a click while this modal window is up,
    // so this Cancelar is the operator's way to stop the send; Escape and the
    // window's closing land here too and must not leave the send running
    // under a window that is gone.
    if (m_enviando) {
        m_cancelado = true;
        if (TF_Muestra_Del *progreso = Ventanas::F_Muestra_Del)
            progreso->Cancelado = true;
        return;
    }
    QDialog::reject();
}

void TF_Send_Card::B_AceptarClick()
{
    if (m_enviando)
        return;
    B_Aceptar->setEnabled(false);
    m_enviando = true;
    m_cancelado = false;
    struct Final {
        TF_Send_Card *v;
        ~Final()
        {
            v->m_enviando = false;
            v->B_Aceptar->setEnabled(true);
            v->accept();
        }
    } final{this};
    Progreso_Envio progreso(Ventanas::F_Muestra_Del, m_cancelado);
    kv::wf::Envia_Todas(progreso);
}
