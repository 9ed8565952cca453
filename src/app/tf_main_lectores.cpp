// The readers list and the test of every reader, as the main window needs
// them at start-up and after a login. The readers page replaces both through
// Gancho_Refrescar_Controladores and Gancho_Test_Todos.
#include "app/tf_main.h"

#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "ui/imagenes.h"

#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

ZARVColeccionControlador *Controladores()
{
    return Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
}

const QString Sin_Dato = QStringLiteral("???");

} // namespace

void TF_Main::Refrescar_Controladores()
{
    if (Gancho_Refrescar_Controladores)
        Gancho_Refrescar_Controladores();
    else
        Refrescar_Controladores_Por_Defecto();
}

void TF_Main::B_Test_TODOSClick()
{
    if (Gancho_Test_Todos)
        Gancho_Test_Todos();
    else
        Test_Todos_Por_Defecto();
}

void TF_Main::Refrescar_Controladores_Por_Defecto()
{
    L1_Contr->clear();
    L2_Contr->clear();
    ZARVColeccionControlador *controladores = Controladores();
    if (!controladores)
        return;
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const auto c = controladores->Elemento(i);
        // The line is opened once to set the command layer up, then left closed.
        c->Abrir_Comunicacion();
        if (ZARVComunicador *com = c->Comunicador())
            com->SetConectado(false);
        auto *fila = new QTreeWidgetItem({QString::number(c->Cod()), c->Descripcion(),
                                          QString::number(c->Puerto_Serie()), QStringLiteral(" "),
                                          QString::number(c->Direccion())});
        kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Elemento);
        L1_Contr->addTopLevelItem(fila);
    }
}

void TF_Main::Test_Todos_Por_Defecto()
{
    B_Test_TODOS->setEnabled(false);
    B_Test_Cx->setEnabled(false);
    const auto fin = [this] {
        B_Test_TODOS->setEnabled(true);
        B_Test_Cx->setEnabled(true);
        Inicia_Escucha();
    };
    try {
        {
            const QSignalBlocker bloqueo(PageControl1);
            PageControl1->setCurrentWidget(TabSheet1);
        }
        PageControl1Change();
        Selecciona_Nodo(3);
        L2_Contr->clear();
        for (int i = 0; i < L1_Contr->topLevelItemCount(); ++i)
            Test_Controlador(L1_Contr->topLevelItem(i)->text(0).toInt(), i);
    } catch (...) {
        fin();
        throw;
    }
    fin();
}

void TF_Main::Test_Controlador(int codigo, int fila)
{
    ZARVColeccionControlador *controladores = Controladores();
    const auto c = controladores ? controladores->Busca(codigo) : nullptr;
    if (!c)
        return;
    if (!c->Comunicador())
        c->Abrir_Comunicacion();
    ZARVComunicador *com = c->Comunicador();
    com->SetConectado(false);
    TTest_Informacion info;
    com->Test_Lector(c->Direccion_Bus(), info);

    QTreeWidgetItem *l1 = L1_Contr->topLevelItem(fila);
    const bool responde = info.Correcto == 1;
    QStringList columnas{QString::number(codigo)};
    int icono = kv::ui::Icono_Alarma;
    if (responde) {
        // 21 reads 2.1; a one-digit version reads "5.".
        const QString version = QString::number(info.Version);
        const QString tarjetas_bd = Tarjetas_En_BD(codigo);
        columnas << (l1 ? l1->text(1) : c->Descripcion()) << info.Estado
                 << Variables::Hex_a_Decimal(info.Tiempo_Cerradura)
                 << Variables::Hex_a_Decimal(info.Tiempo_Puerta_Abierta)
                 << version.left(1) + QLatin1Char('.') + version.mid(1, 1) << info.Num_Tarjetas << tarjetas_bd;
        icono = info.Num_Tarjetas == tarjetas_bd ? kv::ui::Icono_Responde : kv::ui::Icono_Diferencia;
    } else {
        for (int i = 0; i < 7; ++i)
            columnas << Sin_Dato;
    }
    auto *resultado = new QTreeWidgetItem(columnas);
    kv::ui::Pon_Icono(resultado, 0, icono);
    L2_Contr->addTopLevelItem(resultado);
    if (l1)
        kv::ui::Pon_Icono(l1, 3, responde ? kv::ui::Icono_Responde : kv::ui::Icono_Sin_Respuesta);
}
