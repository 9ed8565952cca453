#include "app/pagina_tarjetas.h"

#include "app/dialogo_buscar.h"
#include "app/disposicion.h"
#include "app/interlocutor_ventanas.h"
#include "app/tf_delete_conf.h"
#include "app/tf_editar_card.h"
#include "app/tf_error_insert.h"
#include "app/tf_main.h"
#include "app/tf_muestra_del.h"
#include "app/tf_new_card.h"
#include "app/tf_pregunta_elimina.h"
#include "app/ventanas.h"
#include "app/ventanas_envio.h"
#include "app/ventanas_tarjetas.h"
#include "app/ventanas_usuarios.h"
#include "app/lectores_tarjeta.h"
#include "app/textos.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvusuario.h"
#include "ui/imagenes.h"
#include "ui/accion.h"
#include "ui/listas.h"
#include "ui/operador.h"
#include "workflows/flujo_tarjetas.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace disposicion;

namespace {

// Only a card some controller still waits for has anything to retry.
void Reintenta(QTreeWidgetItem *fila)
{
    TF_Error_insert *ventana = Ventanas::F_Error_insert;
    if (!ventana || !fila || !fila->isSelected() || kv::ui::Icono_De(fila, 0) != kv::ui::Icono_Pendiente)
        return;
    ventana->Para(fila->text(0));
    kv::ui::Operador::Modal(ventana);
    Ventanas::F_Main->Refrescar_usuariosII();
    Ventanas::F_Main->Refrescar_tarjetas();
}

} // namespace

Pagina_Tarjetas::Pagina_Tarjetas(Vista_Principal &vista, QObject *padre)
    : Pagina(vista, "PANEL_LISTA_CARDS", padre)
{
    Label9 = Titulo(Panel(), "Label9", QStringLiteral("Tarjetas"));
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(Panel(), "Panel_Botones_Cards", &fila);
    B_New_Card = Boton(barra, "B_New_Card", QStringLiteral("New"));
    B_Edit_Card = Boton(barra, "B_Edit_Card", QStringLiteral("Edit"));
    B_Delete_Cards = Boton(barra, "B_Delete_Cards", QStringLiteral("Delete"));
    SpeedButton21 = Boton(barra, "SpeedButton21", QStringLiteral("Find"));
    for (QPushButton *b : {B_New_Card, B_Edit_Card, B_Delete_Cards, SpeedButton21})
        fila->addWidget(b);
    fila->addStretch();
    // Never shown: a double click on a row is the retry of a pending card.
    B_Edit_Card->hide();

    Lista3 = kv::ui::Nueva_Lista(Panel(), QStringLiteral("Lista3"),
                                 {QStringLiteral("Card"), QStringLiteral("User Name"),
                                  QStringLiteral("User Second name"), QStringLiteral("Readers"),
                                  QStringLiteral("Caducidad"), QStringLiteral("Fecha caducidad"),
                                  QStringLiteral("Fecha Alta")},
                                 true);
    const int anchos[] = {120, 140, 180, 160, 70, 150, 150};
    for (int i = 0; i < 7; ++i)
        Lista3->setColumnWidth(i, anchos[i]);
    auto *caja = static_cast<QBoxLayout *>(Panel()->layout());
    caja->addWidget(Label9);
    caja->addWidget(barra);
    caja->addWidget(Lista3, 1);

    QWidget *ventana = Vista().Ventana();
    m_buscar = new Dialogo_Buscar(ventana);
    m_buscar->setObjectName(QStringLiteral("Find_cards"));
    connect(m_buscar, &Dialogo_Buscar::Buscar, this, [this](const QString &t) {
        if (Find_cardsFind(t))
            Lista3->setFocus();
    });
    kv::ui::Al_Pulsar(B_New_Card, ventana, [this] { B_New_CardClick(); });
    kv::ui::Al_Pulsar(B_Edit_Card, ventana, [this] { B_Edit_CardClick(); });
    kv::ui::Al_Pulsar(B_Delete_Cards, ventana, [this] { B_Delete_CardsClick(); });
    kv::ui::Al_Pulsar(SpeedButton21, ventana, [this] { SpeedButton21Click(); });
    connect(Lista3, &QTreeWidget::itemDoubleClicked, this,
            [ventana](QTreeWidgetItem *fila) { kv::ui::Ejecuta_Accion(ventana, [fila] { Reintenta(fila); }); });
}

void Pagina_Tarjetas::B_New_CardClick()
{
    Al_Frente(Ventanas::F_New_Card);
}

void Pagina_Tarjetas::B_Edit_CardClick()
{
    QTreeWidgetItem *fila = Lista3->currentItem();
    if (!fila || !fila->isSelected())
        return;
    if (Ventanas::F_Editar_Card->Prepara_Tarjeta(fila->text(0)))
        Al_Frente(Ventanas::F_Editar_Card);
}

void Pagina_Tarjetas::B_Delete_CardsClick()
{
    QStringList codigos, textos;
    for (int i = 0; i < Lista3->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *f = Lista3->topLevelItem(i);
        if (!f->isSelected())
            continue;
        codigos << f->text(0);
        textos << f->text(0) + QLatin1Char(' ') + f->text(1) + QLatin1Char(' ') + f->text(2);
    }
    if (codigos.isEmpty())
        return;
    TF_Delete_Conf *pregunta = Ventanas::F_Delete_Conf;
    pregunta->Label1->setText(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_9")) + QLatin1Char(' ')
                              + QString::number(codigos.size()) + QLatin1Char(' ')
                              + Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_10")));
    if (kv::ui::Operador::Modal(pregunta) != 1)
        return;
    struct Fin {
        ~Fin()
        {
            Ventanas::F_Main->Refrescar_usuariosII();
            Ventanas::F_Main->Refrescar_tarjetas();
        }
    } fin;
    Progreso_Ventana progreso(Ventanas::F_Muestra_Del);
    Interlocutor_Ventanas operador(Vista().Ventana());
    kv::wf::Elimina_Tarjetas(codigos, textos, progreso, operador, [] {
        TF_Pregunta_Elimina *p = Ventanas::F_Pregunta_Elimina;
        p->Respuesta = 0;
        return kv::ui::Operador::Modal(p) == 1;
    });
}

void Pagina_Tarjetas::SpeedButton21Click()
{
    Al_Frente(m_buscar);
    m_buscar->Texto->setFocus();
}

bool Pagina_Tarjetas::Find_cardsFind(const QString &texto)
{
    return Busca_En_Lista(Lista3, texto, 7);
}

void Pagina_Tarjetas::Refrescar()
{
    if (ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr)
        tarjetas->Refrescar();
    Rellena();
}

void Pagina_Tarjetas::Rellena()
{
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    Lista3->clear();
    if (!tarjetas)
        return;
    QList<QTreeWidgetItem *> filas;
    filas.reserve(tarjetas->Cuenta());
    for (int i = 0; i < tarjetas->Cuenta(); ++i) {
        const auto t = tarjetas->Elemento(i);
        const Lectores_Tarjeta l = Lectores_De(*t);
        const ZARVUsuario *u = t->Usuario().get();
        auto *fila = new QTreeWidgetItem({t->Codigo_Tarjeta().left(10), u ? u->Nombre() : QString(),
                                          u ? u->Apellidos() : QString(), l.almacenada_en.join(QLatin1Char(',')),
                                          QString(),
                                          t->Usar_Fecha_Cad() ? textos::Fecha_Hora(t->Fecha_Caducidad()) : QString(),
                                          textos::Fecha_Hora(t->Fecha_Alta())});
        kv::ui::Pon_Icono(fila, 0, l.pendiente ? kv::ui::Icono_Pendiente : kv::ui::Icono_Tarjeta);
        if (t->Usar_Fecha_Cad())
            kv::ui::Pon_Icono(fila, 4, kv::ui::Icono_Tarjeta_Aceptada);
        filas << fila;
    }
    Llena_Lista(Lista3, filas);
}
