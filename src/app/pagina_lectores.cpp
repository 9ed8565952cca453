#include "app/pagina_lectores.h"

#include "app/lectores_comun.h"
#include "app/tf_clone_controller.h"
#include "app/tf_contr_n.h"
#include "app/tf_delete_conf.h"
#include "app/tf_edit_controller.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "app/ventanas_lectores.h"

#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "ui/accion.h"
#include "ui/imagenes.h"
#include "ui/operador.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include <utility>
#include <vector>

namespace {

const QString Sin_Dato = QStringLiteral("???");

ZARVColeccionControlador *Controladores()
{
    return Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
}

// The firmware version as the controller's label prints it: 21 is 2.1, and a
// one-digit version 5 is "5.".
QString Version(int version)
{
    const QString cifras = QString::number(version);
    return cifras.left(1) + QLatin1Char('.') + cifras.mid(1, 1);
}

// The question of the confirmation window: the message, a blank, the
// controller's description and a question mark. True on "yes".
bool Confirma(const QString &clave, const QString &descripcion)
{
    TF_Delete_Conf *conf = Ventanas::F_Delete_Conf;
    if (!conf)
        return false;
    conf->Label1->setText(Variables::Mensaje(clave) + QLatin1Char(' ') + descripcion + QLatin1Char('?'));
    return kv::ui::Operador::Modal(conf) == 1;
}

} // namespace

Pagina_Lectores::Pagina_Lectores(TF_Main *principal) : QObject(principal), F(principal)
{
    setObjectName(QStringLiteral("Pagina_Lectores"));
    F->Gancho_Refrescar_Controladores = [this] { Refrescar_Controladores(); };
    F->Gancho_Test_Todos = [this] { B_Test_TODOSClick(); };

    using kv::ui::Al_Pulsar;
    Al_Pulsar(F->B_Nueva_Cx, F, [this] { B_Nueva_CxClick(); });
    Al_Pulsar(F->B_Editar_cx, F, [this] { B_Editar_cxClick(); });
    Al_Pulsar(F->B_Delete_Cx, F, [this] { B_Delete_CxClick(); });
    Al_Pulsar(F->B_Test_Cx, F, [this] { B_Test_CxClick(); });
    Al_Pulsar(F->B_Master_Card, F, [this] { B_Master_CardClick(); });
    Al_Pulsar(F->B_vacia_Cards, F, [this] { B_vacia_CardsClick(); });
    Al_Pulsar(F->B_Clone_cx, F, [this] { B_Clone_cxClick(); });
    F->L1_Contr->viewport()->installEventFilter(this);
}

bool Pagina_Lectores::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == F->L1_Contr->viewport() && evento->type() == QEvent::MouseButtonDblClick) {
        const auto *raton = static_cast<QMouseEvent *>(evento);
        if (!F->L1_Contr->itemAt(raton->position().toPoint()))
            kv::ui::Ejecuta_Accion(F, [this] { B_Test_TODOSClick(); });
    }
    return QObject::eventFilter(objeto, evento);
}

QTreeWidgetItem *Pagina_Lectores::Seleccionada() const
{
    for (int i = 0; i < F->L1_Contr->topLevelItemCount(); ++i)
        if (F->L1_Contr->topLevelItem(i)->isSelected())
            return F->L1_Contr->topLevelItem(i);
    return nullptr;
}

void Pagina_Lectores::Muestra_Pagina()
{
    {
        // The tab's change handler runs once, below, not also from the signal.
        const QSignalBlocker bloqueo(F->PageControl1);
        F->PageControl1->setCurrentWidget(F->TabSheet1);
    }
    F->PageControl1Change();
    F->Selecciona_Nodo(3);
}

void Pagina_Lectores::Refrescar_Controladores()
{
    F->L1_Contr->clear();
    F->L2_Contr->clear();
    ZARVColeccionControlador *controladores = Controladores();
    if (!controladores)
        return;
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        // Opening sets the command layer up (port and address); the line is
        // left closed, each command opens it. A port that cannot be opened
        // keeps its row: the operator must still be able to edit or delete
        // the controller, and its test reports the port.
        c->Abrir_Comunicacion();
        if (ZARVComunicador *com = c->Comunicador())
            com->SetConectado(false);
        auto *fila = new QTreeWidgetItem({QString::number(c->Cod()), c->Descripcion(),
                                          QString::number(c->Puerto_Serie()), QStringLiteral(" "),
                                          QString::number(c->Direccion())});
        kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Elemento);
        F->L1_Contr->addTopLevelItem(fila);
    }
}

void Pagina_Lectores::Control_Botones_Cx(bool activo)
{
    for (QPushButton *b : {F->B_Nueva_Cx, F->B_Editar_cx, F->B_Delete_Cx, F->B_Master_Card, F->B_Clone_cx,
                           F->B_vacia_Cards})
        b->setEnabled(activo);
}

bool Pagina_Lectores::Test_Controlador(int codigo, int fila)
{
    const auto c = lectores::Controlador(codigo);
    if (!c)
        return false;
    TTest_Informacion info;
    lectores::Comunicador(*c).Test_Lector(c->Direccion_Bus(), info);

    QTreeWidgetItem *l1 = F->L1_Contr->topLevelItem(fila);
    const bool responde = info.Correcto == 1;
    QStringList columnas{QString::number(codigo)};
    int icono = kv::ui::Icono_Alarma;
    if (responde) {
        ZARVColeccionTarjeta *tarjetas = Globales::Sistema->Tarjetas();
        const QString en_bd = QString::number(tarjetas ? tarjetas->Cuenta_Tarjetas_Controlador(codigo) : 0);
        columnas << (l1 ? l1->text(1) : c->Descripcion()) << info.Estado
                 << lectores::Segundos(info.Tiempo_Cerradura)
                 << lectores::Segundos(info.Tiempo_Puerta_Abierta) << Version(info.Version)
                 << info.Num_Tarjetas << en_bd;
        icono = info.Num_Tarjetas == en_bd ? kv::ui::Icono_Responde : kv::ui::Icono_Diferencia;
    } else {
        for (int i = 0; i < 7; ++i)
            columnas << Sin_Dato;
    }
    auto *resultado = new QTreeWidgetItem(columnas);
    kv::ui::Pon_Icono(resultado, 0, icono);
    F->L2_Contr->addTopLevelItem(resultado);
    if (l1)
        kv::ui::Pon_Icono(l1, 3, responde ? kv::ui::Icono_Responde : kv::ui::Icono_Sin_Respuesta);
    return responde;
}

void Pagina_Lectores::B_Test_CxClick()
{
    F->B_Test_Cx->setEnabled(false);
    F->B_Test_TODOS->setEnabled(false);
    const bool mantenimiento = lectores::Para_Mantenimiento();
    lectores::Con_Limpieza(
        [this] {
            lectores::Para_Escucha();
            // The rows chosen when the button was pressed: the tests keep the
            // event loop running, and the selection may change meanwhile.
            std::vector<std::pair<int, int>> elegidas;
            for (int i = 0; i < F->L1_Contr->topLevelItemCount(); ++i)
                if (F->L1_Contr->topLevelItem(i)->isSelected())
                    elegidas.emplace_back(F->L1_Contr->topLevelItem(i)->text(0).toInt(), i);
            F->L2_Contr->clear();
            for (const auto &[codigo, fila] : elegidas)
                Test_Controlador(codigo, fila);
        },
        [this, mantenimiento] {
            F->B_Test_Cx->setEnabled(true);
            F->B_Test_TODOS->setEnabled(true);
            lectores::Reanuda_Mantenimiento(mantenimiento);
            lectores::Inicia_Escucha();
        });
}

void Pagina_Lectores::B_Test_TODOSClick()
{
    F->B_Test_TODOS->setEnabled(false);
    F->B_Test_Cx->setEnabled(false);
    const bool mantenimiento = lectores::Para_Mantenimiento();
    lectores::Con_Limpieza(
        [this] {
            Muestra_Pagina();
            F->L2_Contr->clear();
            for (int i = 0; i < F->L1_Contr->topLevelItemCount(); ++i)
                Test_Controlador(F->L1_Contr->topLevelItem(i)->text(0).toInt(), i);
        },
        [this, mantenimiento] {
            F->B_Test_TODOS->setEnabled(true);
            F->B_Test_Cx->setEnabled(true);
            lectores::Reanuda_Mantenimiento(mantenimiento);
            lectores::Inicia_Escucha();
        });
}

void Pagina_Lectores::B_Nueva_CxClick()
{
    const bool mantenimiento = lectores::Para_Mantenimiento();
    lectores::Con_Limpieza(
        [] {
            lectores::Para_Escucha();
            if (Ventanas::F_Contr_N)
                kv::ui::Operador::Modal(Ventanas::F_Contr_N);
        },
        [mantenimiento] {
            lectores::Reanuda_Mantenimiento(mantenimiento);
            lectores::Inicia_Escucha();
        });
}

void Pagina_Lectores::B_Editar_cxClick()
{
    QTreeWidgetItem *fila = Seleccionada();
    TF_edit_controller *ventana = Ventanas::F_edit_controller;
    if (!fila || !ventana)
        return;
    const bool abierta = ventana->isVisible();
    // The window's test needs the controller's port, which a listening line
    // of another controller on it would hold.
    lectores::Para_Escucha();
    const bool mantenimiento = lectores::Para_Mantenimiento();
    // Opened again while on show: the timer is already held by the first
    // opening, which keeps what to give back.
    if (!abierta)
        ventana->Reanudar_Mantenimiento = mantenimiento;
    ventana->Edit1->setText(fila->text(0));
    ventana->Edit2->setText(fila->text(1));
    ventana->Edit3->setText(fila->text(2));
    if (abierta) {
        // The times on show must be this controller's, or "Editar" would send
        // another controller's times to it.
        ventana->FormShow();
        ventana->raise();
    } else {
        ventana->show();
    }
    F->L2_Contr->clear();
    lectores::Pausa(1000);
}

void Pagina_Lectores::B_Delete_CxClick()
{
    const bool mantenimiento = lectores::Para_Mantenimiento();
    lectores::Con_Limpieza(
        [this] {
            lectores::Para_Escucha();
            QTreeWidgetItem *fila = Seleccionada();
            const auto c = fila ? lectores::Controlador(fila->text(0).toInt()) : nullptr;
            if (!c || !Confirma(QStringLiteral("Variables_variables_F_Main_11"), c->Descripcion()))
                return;
            ZARVColeccionControlador *controladores = Controladores();
            controladores->Quita_Tarjetas(*c);
            controladores->Elimina(*c);
            Refrescar_Controladores();
        },
        [mantenimiento] {
            lectores::Reanuda_Mantenimiento(mantenimiento);
            lectores::Inicia_Escucha();
        });
}

void Pagina_Lectores::B_Master_CardClick()
{
    F->B_Master_Card->setEnabled(false);
    const bool mantenimiento = lectores::Para_Mantenimiento();
    lectores::Con_Limpieza(
        [this] {
            lectores::Para_Escucha();
            QTreeWidgetItem *fila = Seleccionada();
            const auto c = fila ? lectores::Controlador(fila->text(0).toInt()) : nullptr;
            if (!c)
                return;
            const bool cambiada = lectores::Comunicador(*c).Cambiar_Master(c->Direccion_Bus());
            kv::ui::Operador::Mensaje(F, Variables::Mensaje(cambiada ? QStringLiteral("Variables_variables_F_Main_2")
                                                                     : QStringLiteral("Variables_variables_F_Main_3")));
        },
        [this, mantenimiento] {
            // Registering switched on meanwhile keeps the button locked.
            F->B_Master_Card->setEnabled(!Variables::Registrando);
            lectores::Reanuda_Mantenimiento(mantenimiento);
            lectores::Inicia_Escucha();
        });
}

void Pagina_Lectores::B_vacia_CardsClick()
{
    const bool mantenimiento = lectores::Para_Mantenimiento();
    F->B_vacia_Cards->setEnabled(false);
    lectores::Con_Limpieza(
        [this] {
            lectores::Para_Escucha();
            QTreeWidgetItem *fila = Seleccionada();
            const auto c = fila ? lectores::Controlador(fila->text(0).toInt()) : nullptr;
            if (!c || !Confirma(QStringLiteral("Variables_variables_F_Main_12"), c->Descripcion()))
                return;
            if (!lectores::Comunicador(*c).Vaciar_Tarjetas(c->Direccion_Bus()))
                return;
            // The assignments stay: a later send loads the cards again.
            Controladores()->Marca_Tarjetas(*c, false);
            B_Test_TODOSClick();
        },
        [this, mantenimiento] {
            F->B_vacia_Cards->setEnabled(!Variables::Registrando);
            lectores::Reanuda_Mantenimiento(mantenimiento);
            lectores::Inicia_Escucha();
        });
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
