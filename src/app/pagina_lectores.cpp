#include "app/pagina_lectores.h"

#include "app/disposicion.h"
#include "app/interlocutor_ventanas.h"
#include "app/lectores_comun.h"
#include "app/tf_clone_controller.h"
#include "app/tf_contr_n.h"
#include "app/tf_edit_controller.h"
#include "app/ventanas_lectores.h"

#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "ui/accion.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

#include <utility>
#include <vector>

namespace {

const QString Sin_Dato = QStringLiteral("???");

ZARVColeccionControlador *Controladores()
{
    return Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
}

bool Escuchando()
{
    ZARVColeccionIncidencia *incidencias = kv::wf::Coordinacion::Incidencias();
    return incidencias && incidencias->Escuchando();
}

} // namespace

Pagina_Lectores::Pagina_Lectores(Vista_Principal &vista, QObject *padre)
    : Pagina(vista, "PANEL_LISTA_READERS", padre)
{
    using namespace disposicion;
    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(Panel(), "Panel_Botones_Readers", &fila);
    B_Nueva_Cx = Boton(barra, "B_Nueva_Cx", QStringLiteral("New"));
    B_Editar_cx = Boton(barra, "B_Editar_cx", QStringLiteral("Edit"));
    B_Delete_Cx = Boton(barra, "B_Delete_Cx", QStringLiteral("Delete"));
    B_Test_Cx = Boton(barra, "B_Test_Cx", QStringLiteral("Test"));
    B_Master_Card = Boton(barra, "B_Master_Card", QStringLiteral("Master"));
    B_Clone_cx = Boton(barra, "B_Clone_cx", QStringLiteral("Clone"));
    B_vacia_Cards = Boton(barra, "B_vacia_Cards", QStringLiteral("Cards"));
    for (QPushButton *b : {B_Nueva_Cx, B_Editar_cx, B_Delete_Cx, B_Test_Cx, B_Master_Card, B_Clone_cx, B_vacia_Cards})
        fila->addWidget(b);
    fila->addStretch();

    Label2 = Titulo(Panel(), "Label2", QStringLiteral("Lectores"));
    L1_Contr = kv::ui::Nueva_Lista(Panel(), QStringLiteral("L1_Contr"),
                                   {QStringLiteral("Lector"), QString::fromUtf8("Descripción"), QStringLiteral("COM"),
                                    QStringLiteral("Activo"), QStringLiteral("Direccion")},
                                   true);
    // The readers list keeps a fixed height; the test results take the rest.
    L1_Contr->setFixedHeight(200);
    L1_Contr->setColumnWidth(1, 220);
    Label3 = Titulo(Panel(), "Label3", QStringLiteral("Test"));
    L2_Contr = kv::ui::Nueva_Lista(Panel(), QStringLiteral("L2_Contr"),
                                   {QStringLiteral("Lector"), QString::fromUtf8("Descripción"), QStringLiteral("Estado"),
                                    QStringLiteral("T.activ.abrep"), QStringLiteral("T.puerta abierta"),
                                    QStringLiteral("Version"), QStringLiteral("Tarjetas"),
                                    QStringLiteral("Tarjetas BBDD")},
                                   true);
    L2_Contr->setColumnWidth(1, 220);
    L2_Contr->setColumnWidth(2, 160);
    auto *caja = static_cast<QBoxLayout *>(Panel()->layout());
    caja->addWidget(barra);
    caja->addWidget(Label2);
    caja->addWidget(L1_Contr);
    caja->addWidget(Label3);
    caja->addWidget(L2_Contr, 1);

    QWidget *ventana = Vista().Ventana();
    using kv::ui::Al_Pulsar;
    Al_Pulsar(B_Nueva_Cx, ventana, [this] { B_Nueva_CxClick(); });
    Al_Pulsar(B_Editar_cx, ventana, [this] { B_Editar_cxClick(); });
    Al_Pulsar(B_Delete_Cx, ventana, [this] { B_Delete_CxClick(); });
    Al_Pulsar(B_Test_Cx, ventana, [this] { B_Test_CxClick(); });
    Al_Pulsar(B_Master_Card, ventana, [this] { B_Master_CardClick(); });
    Al_Pulsar(B_vacia_Cards, ventana, [this] { B_vacia_CardsClick(); });
    Al_Pulsar(B_Clone_cx, ventana, [this] { B_Clone_cxClick(); });
    L1_Contr->viewport()->installEventFilter(this);
}

bool Pagina_Lectores::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == L1_Contr->viewport() && evento->type() == QEvent::MouseButtonDblClick)
        kv::ui::Ejecuta_Accion(Vista().Ventana(), [this] { B_Test_TODOSClick(); });
    return QObject::eventFilter(objeto, evento);
}

void Pagina_Lectores::Restringe_Usuario()
{
    for (QPushButton *b : {B_Nueva_Cx, B_Editar_cx, B_Delete_Cx, B_Master_Card, B_Clone_cx, B_vacia_Cards})
        b->hide();
    if (auto *fila = qobject_cast<QBoxLayout *>(B_Test_Cx->parentWidget()->layout())) {
        fila->removeWidget(B_Test_Cx);
        fila->insertWidget(0, B_Test_Cx);
    }
}

QTreeWidgetItem *Pagina_Lectores::Seleccionada() const
{
    for (int i = 0; i < L1_Contr->topLevelItemCount(); ++i)
        if (L1_Contr->topLevelItem(i)->isSelected())
            return L1_Contr->topLevelItem(i);
    return nullptr;
}

int Pagina_Lectores::Codigo_Seleccionado() const
{
    const QTreeWidgetItem *fila = Seleccionada();
    return fila ? fila->text(0).toInt() : -1;
}

void Pagina_Lectores::Refrescar_Controladores()
{
    L1_Contr->clear();
    L2_Contr->clear();
    ZARVColeccionControlador *controladores = Controladores();
    if (!controladores)
        return;
    // While the lines listen they are open already, and opening a
    // controller's line here would close the listening one under it.
    const bool escuchando = Escuchando();
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        // Opening sets the command layer up (port and address); the line is
        // left closed, each command opens it. A port that cannot be opened
        // keeps its row: the operator must still be able to edit or delete
        // the controller, and its test reports the port.
        if (!escuchando) {
            c->Abrir_Comunicacion();
            if (ZARVComunicador *com = c->Comunicador())
                com->SetConectado(false);
        }
        auto *fila = new QTreeWidgetItem({QString::number(c->Cod()), c->Descripcion(),
                                          QString::number(c->Puerto_Serie()), QStringLiteral(" "),
                                          QString::number(c->Direccion())});
        kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Elemento);
        L1_Contr->addTopLevelItem(fila);
    }
}

void Pagina_Lectores::Marca_Puerto(int puerto, int icono)
{
    for (int i = 0; i < L1_Contr->topLevelItemCount(); ++i)
        if (L1_Contr->topLevelItem(i)->text(2).toInt() == puerto)
            kv::ui::Pon_Icono(L1_Contr->topLevelItem(i), 3, icono);
}

void Pagina_Lectores::Control_Botones_Cx(bool activo)
{
    for (QPushButton *b : {B_Nueva_Cx, B_Editar_cx, B_Delete_Cx, B_Master_Card, B_Clone_cx,
                           B_vacia_Cards})
        b->setEnabled(activo);
}

void Pagina_Lectores::Muestra_Test(int fila, const kv::wf::Resultado_Test &r)
{
    QTreeWidgetItem *l1 = L1_Contr->topLevelItem(fila);
    QStringList columnas{QString::number(r.codigo)};
    int icono = kv::ui::Icono_Alarma;
    if (r.responde) {
        const auto c = kv::wf::Controlador(r.codigo);
        columnas << (l1 ? l1->text(1) : c ? c->Descripcion() : QString()) << r.estado << r.cerradura << r.abierta
                 << r.version << r.tarjetas << r.tarjetas_bd;
        icono = r.Coinciden() ? kv::ui::Icono_Responde : kv::ui::Icono_Diferencia;
    } else {
        for (int i = 0; i < 7; ++i)
            columnas << Sin_Dato;
    }
    auto *resultado = new QTreeWidgetItem(columnas);
    kv::ui::Pon_Icono(resultado, 0, icono);
    L2_Contr->addTopLevelItem(resultado);
    if (l1)
        kv::ui::Pon_Icono(l1, 3, r.responde ? kv::ui::Icono_Responde : kv::ui::Icono_Sin_Respuesta);
}

void Pagina_Lectores::Prueba(const std::vector<std::pair<int, int>> &filas)
{
    std::vector<int> codigos;
    for (const auto &[codigo, fila] : filas)
        codigos.push_back(codigo);
    kv::wf::Test_Controladores(codigos, [this, &filas](int posicion, const kv::wf::Resultado_Test &r) {
        Muestra_Test(filas[static_cast<std::size_t>(posicion)].second, r);
    });
}

void Pagina_Lectores::Con_Botones_Test(const std::function<void()> &trabajo)
{
    B_Test_Cx->setEnabled(false);
    Vista().Habilita_Test_Todos(false);
    const auto devuelve = [this] {
        B_Test_Cx->setEnabled(true);
        Vista().Habilita_Test_Todos(true);
    };
    try {
        trabajo();
    } catch (...) {
        devuelve();
        throw;
    }
    devuelve();
}

void Pagina_Lectores::B_Test_CxClick()
{
    // Another workflow holding the readers refuses this one before the
    // buttons change.
    kv::wf::Coordinacion::Exige_Libres();
    Con_Botones_Test([this] {
        // The rows chosen when the button was pressed: the tests keep the
        // event loop running, and the selection may change meanwhile.
        std::vector<std::pair<int, int>> elegidas;
        for (int i = 0; i < L1_Contr->topLevelItemCount(); ++i)
            if (L1_Contr->topLevelItem(i)->isSelected())
                elegidas.emplace_back(L1_Contr->topLevelItem(i)->text(0).toInt(), i);
        L2_Contr->clear();
        Prueba(elegidas);
    });
}

void Pagina_Lectores::B_Test_TODOSClick()
{
    kv::wf::Coordinacion::Exige_Libres();
    Con_Botones_Test([this] {
        Vista().Muestra(*this);
        L2_Contr->clear();
        std::vector<std::pair<int, int>> todas;
        for (int i = 0; i < L1_Contr->topLevelItemCount(); ++i)
            todas.emplace_back(L1_Contr->topLevelItem(i)->text(0).toInt(), i);
        Prueba(todas);
    });
}

void Pagina_Lectores::B_Nueva_CxClick()
{
    if (!Ventanas::F_Contr_N)
        return;
    // The window stays open for one controller after another; every insert
    // reloads the controllers and closes their lines, so the readers are
    // held for as long as it is open.
    kv::wf::Trabajo_Controladores trabajo;
    kv::ui::Operador::Modal(Ventanas::F_Contr_N);
    trabajo.Termina();
}

void Pagina_Lectores::B_Editar_cxClick()
{
    QTreeWidgetItem *fila = Seleccionada();
    TF_edit_controller *ventana = Ventanas::F_edit_controller;
    if (!fila || !ventana)
        return;
    // The window holds the readers while it is open (its test and its times
    // need the controller's port); opened again while on show, it keeps the
    // hold it has.
    if (!ventana->isVisible())
        ventana->Toma_Lectores();
    ventana->Edit1->setText(fila->text(0));
    ventana->Edit2->setText(fila->text(1));
    ventana->Edit3->setText(fila->text(2));
    if (ventana->isVisible()) {
        // The times on show must be this controller's, or "Editar" would send
        // another controller's times to it.
        ventana->FormShow();
        ventana->raise();
    } else {
        ventana->show();
    }
    L2_Contr->clear();
    lectores::Pausa(1000);
}

void Pagina_Lectores::B_Delete_CxClick()
{
    Interlocutor_Ventanas operador(Vista().Ventana());
    if (kv::wf::Elimina_Controlador(Codigo_Seleccionado(), operador))
        Refrescar_Controladores();
}

void Pagina_Lectores::Con_Boton_Bloqueado(QPushButton *boton, const std::function<void()> &trabajo)
{
    kv::wf::Coordinacion::Exige_Libres();
    boton->setEnabled(false);
    // However it ends; registering switched on meanwhile keeps it locked.
    struct Devuelve {
        QPushButton *b;
        ~Devuelve() { b->setEnabled(!Variables::Registrando); }
    } devuelve{boton};
    trabajo();
}

void Pagina_Lectores::B_Master_CardClick()
{
    Interlocutor_Ventanas operador(Vista().Ventana());
    const int codigo = Codigo_Seleccionado();
    Con_Boton_Bloqueado(B_Master_Card, [&] { kv::wf::Cambia_Master(codigo, operador); });
}

void Pagina_Lectores::B_vacia_CardsClick()
{
    Interlocutor_Ventanas operador(Vista().Ventana());
    bool vaciada = false;
    Con_Boton_Bloqueado(B_vacia_Cards,
                        [&] { vaciada = kv::wf::Vacia_Tarjetas(Codigo_Seleccionado(), operador); });
    // Once the erase has given the readers back.
    if (vaciada)
        B_Test_TODOSClick();
}

void Pagina_Lectores::B_Clone_cxClick()
{
    TF_Clone_Controller *ventana = Ventanas::F_Clone_Controller;
    if (!ventana)
        return;
    ventana->CB1->clear();
    kv::ui::Operador::Modal(ventana);
    B_Test_TODOSClick();
}
