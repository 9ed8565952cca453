// The attendance area of the tools tab: a cardholder's entries, exits and
// stays over the month or the day chosen in the calendar, the readers'
// entrance and exit designation, and the table saved, opened, enlarged and
// corrected by hand. It reads the incidence log; it sends nothing to the
// controllers.
#include "app/disposicion.h"
#include "app/tf_lector_es.h"
#include "app/tf_main.h"
#include "app/tf_presencia_amplia.h"
#include "app/tf_presencia_estancia.h"
#include "app/ventanas_presencia.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccionusuario.h"
#include "ui/cursor_espera.h"
#include "ui/dialogo_fichero.h"
#include "ui/imagenes.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"
#include "workflows/fichero_incidencias.h"
#include "workflows/presencia.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {

// A cardholder's node carries the cardholder's number; the period's root none.
constexpr int Rol_Usuario = Qt::UserRole;

QTreeWidgetItem *Nueva_Fila(const kv::wf::Fila_Presencia &f)
{
    auto *fila = new QTreeWidgetItem({f.Dia, f.Entradas, f.Salidas, f.Estancia});
    kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Puerta_Abierta);
    return fila;
}

} // namespace

void TF_Main::Image3Click()
{
    Recalcula_Arbol();
}

void TF_Main::Recalcula_Arbol()
{
    PANEL_INCIDENCIAS->hide();
    PANEL_ATTENDANCE->show();
    L_WHICH_TOOL->setText(Label6->text());

    const QDate fecha = Calendar1->selectedDate();
    m_periodo = {R2->isChecked() ? kv::wf::Periodo_Presencia::Dia : kv::wf::Periodo_Presencia::Mes, fecha};
    {
        // Emptied at once, not node by node through the change handler.
        const QSignalBlocker bloqueo(Arbol_Presencia);
        Arbol_Presencia->clear();
    }
    L_usuario_presencia->clear();

    const QString periodo = m_periodo.vista == kv::wf::Periodo_Presencia::Mes
                                ? Meses.value(fecha.month() - 1) + QLatin1Char(' ') + QString::number(fecha.year())
                                : QLocale::system().toString(fecha, QLocale::ShortFormat);
    auto *raiz = new QTreeWidgetItem({periodo});
    kv::ui::Pon_Icono(raiz, 0, kv::ui::Icono_Puerta_Abierta);
    if (ZARVColeccionUsuario *usuarios = Globales::Sistema ? Globales::Sistema->Usuarios() : nullptr) {
        const kv::ui::Cursor_Espera espera;
        // The collection stays in this order: the users page lists by
        // surname too until another installation is opened.
        usuarios->Set_Orden(QStringLiteral("apellidos"));
        usuarios->Carga();
        QList<QTreeWidgetItem *> nodos;
        nodos.reserve(usuarios->Cuenta());
        for (int i = 0; i < usuarios->Cuenta(); ++i) {
            const auto u = usuarios->Elemento(i);
            auto *nodo = new QTreeWidgetItem({u->Apellidos() + QStringLiteral(", ") + u->Nombre()});
            nodo->setData(0, Rol_Usuario, u->Id());
            kv::ui::Pon_Icono(nodo, 0, kv::ui::Icono_Tarjeta);
            nodos << nodo;
        }
        raiz->addChildren(nodos);
    }
    const QSignalBlocker bloqueo(Arbol_Presencia);
    Arbol_Presencia->addTopLevelItem(raiz);
    raiz->setExpanded(true);
}

void TF_Main::Arbol_PresenciaChange(QTreeWidgetItem *nodo)
{
    if (!nodo) {
        L_usuario_presencia->clear();
        return;
    }
    const QVariant usuario = nodo->data(0, Rol_Usuario);
    if (!usuario.isValid())
        return;
    Lista_Presencia->clear();
    L_usuario_presencia->setText(nodo->text(0));
    Obtener_Valores_Entrada_Salida(usuario.toInt());
}

void TF_Main::Obtener_Valores_Entrada_Salida(int usuario)
{
    const kv::ui::Cursor_Espera espera;
    // Read whole before the table changes: a failed load leaves it as it was.
    const QList<kv::wf::Fila_Presencia> filas = m_presencia.Filas(usuario, m_periodo);
    QList<QTreeWidgetItem *> nuevas;
    nuevas.reserve(filas.size());
    for (const kv::wf::Fila_Presencia &f : filas)
        nuevas << Nueva_Fila(f);
    Lista_Presencia->clear();
    Lista_Presencia->addTopLevelItems(nuevas);
}

void TF_Main::SpeedButton2Click()
{
    // The maintenance tick reads and reloads the controllers the window
    // lists and stores; it waits until the window is closed.
    const kv::wf::Retencion_Mantenimiento retencion;
    kv::ui::Operador::Modal(Ventanas::F_Lector_ES);
}

void TF_Main::SpeedButton7Click()
{
    const QString nombre = kv::ui::Operador::Fichero(this, *Save_INC);
    if (nombre.isEmpty())
        return;
    QList<kv::wf::Fila_Presencia> filas;
    filas.reserve(Lista_Presencia->topLevelItemCount());
    for (int i = 0; i < Lista_Presencia->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *f = Lista_Presencia->topLevelItem(i);
        filas.append({f->text(0), f->text(1), f->text(2), f->text(3)});
    }
    kv::wf::Guarda_Fichero_Presencia(kv::wf::Con_Extension_Txt(nombre), filas);
}

void TF_Main::SpeedButton3Click()
{
    const QString nombre = kv::ui::Operador::Fichero(this, *Open_INC);
    if (nombre.isEmpty())
        return;
    // Read whole before the table is cleared: a file that cannot be read
    // leaves the table as it was.
    const kv::wf::Lectura_Presencia leido = kv::wf::Lee_Fichero_Presencia(nombre);
    QList<QTreeWidgetItem *> filas;
    filas.reserve(leido.filas.size());
    for (const kv::wf::Fila_Presencia &f : leido.filas)
        filas << Nueva_Fila(f);
    Lista_Presencia->clear();
    Lista_Presencia->addTopLevelItems(filas);

    // One message for all that was left out, not one per line.
    QStringList avisos;
    if (leido.saltadas > 0)
        avisos << Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_53")) + QLatin1Char(' ')
                      + QString::number(leido.saltadas);
    if (leido.cortada)
        avisos << Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_52"));
    if (!avisos.isEmpty())
        kv::ui::Operador::Mensaje(this, avisos.join(QLatin1Char('\n')));
}

void TF_Main::SpeedButton8Click()
{
    TF_Presencia_Amplia *amplia = Ventanas::F_Presencia_Amplia;
    if (!amplia)
        return;
    QList<QTreeWidgetItem *> filas;
    filas.reserve(Lista_Presencia->topLevelItemCount());
    for (int i = 0; i < Lista_Presencia->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *f = Lista_Presencia->topLevelItem(i);
        auto *copia = new QTreeWidgetItem({f->text(0), f->text(1), f->text(2), f->text(3)});
        kv::ui::Pon_Icono(copia, 0, kv::ui::Icono_De(f, 0));
        filas << copia;
    }
    amplia->Lista_Presencia->clear();
    amplia->Lista_Presencia->addTopLevelItems(filas);
    disposicion::Al_Frente(amplia);
}

void TF_Main::Lista_PresenciaDblClick()
{
    QTreeWidgetItem *fila = Lista_Presencia->currentItem();
    const QList<QTreeWidgetItem *> nodos = Arbol_Presencia->selectedItems();
    TF_Presencia_Estancia *ventana = Ventanas::F_Presencia_Estancia;
    if (!fila || !fila->isSelected() || nodos.isEmpty() || !ventana)
        return;
    ventana->L_Usuario->setText(nodos.first()->text(0));
    ventana->L_Fecha->setText(fila->text(0));
    ventana->Edit1->setText(fila->text(3));
    if (kv::ui::Operador::Modal(ventana) == TF_Presencia_Estancia::Aceptada)
        fila->setText(3, ventana->Edit1->text());
}

void TF_Main::Vacia_Presencia()
{
    {
        const QSignalBlocker bloqueo(Arbol_Presencia);
        Arbol_Presencia->clear();
    }
    Lista_Presencia->clear();
    L_usuario_presencia->clear();
}
