// The incidence list as a view: the stored incidences of a date range, the
// list saved to a text file and opened again, found in and cleared. None of
// it touches the database beyond reading the log.
#include "app/dialogo_buscar.h"
#include "app/tf_main.h"

#include "link/tipoincidencia.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvincidencia.h"
#include "ui/cursor_espera.h"
#include "ui/dialogo_fichero.h"
#include "ui/imagenes.h"
#include "ui/operador.h"
#include "workflows/fichero_incidencias.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

QTreeWidgetItem *Nueva_Fila(const kv::wf::Fila_Incidencia &f, int icono)
{
    auto *fila = new QTreeWidgetItem({f.Evento, f.Fecha, f.Origen, f.Descripcion, f.Usuario});
    kv::ui::Pon_Icono(fila, 0, icono);
    return fila;
}

} // namespace

void TF_Main::SpeedButton1Click()
{
    if (!Globales::Sistema)
        return;
    // A failed load raises before the list is touched.
    m_consulta.Filtra(QDateTime(Fecha_INI->date(), Hora_INI->time()), QDateTime(Fecha_FIN->date(), Hora_FIN->time()));
    Lista_Incidencias->clear();
    Mas_Filas_Incidencias();
    Lista_Incidencias->scrollToTop();
}

void TF_Main::Mas_Filas_Incidencias()
{
    QList<QTreeWidgetItem *> filas;
    for (const auto &i : m_consulta.Siguientes(FILAS_POR_PAGINA))
        filas << Nueva_Fila(kv::wf::Fila_De(*i, Tipos_Incidencia), Icono_Incidencia(i->Evento()));
    Lista_Incidencias->addTopLevelItems(filas);
}

QList<kv::wf::Fila_Incidencia> TF_Main::Filas_Lista_Incidencias() const
{
    QList<kv::wf::Fila_Incidencia> filas;
    const int quedan = m_consulta.Quedan();
    filas.reserve(Lista_Incidencias->topLevelItemCount() + quedan);
    for (int i = 0; i < Lista_Incidencias->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *f = Lista_Incidencias->topLevelItem(i);
        filas.append({f->text(0), f->text(1), f->text(2), f->text(3), f->text(4)});
    }
    if (quedan > 0) {
        const kv::ui::Cursor_Espera espera;
        for (const auto &i : m_consulta.Resto())
            filas.append(kv::wf::Fila_De(*i, Tipos_Incidencia));
    }
    return filas;
}

void TF_Main::B_SalvarClick()
{
    const QString nombre = kv::ui::Operador::Fichero(this, *Save_INC);
    if (nombre.isEmpty())
        return;
    kv::wf::Guarda_Fichero_Incidencias(kv::wf::Con_Extension_Txt(nombre), Filas_Lista_Incidencias());
}

void TF_Main::B_RecuperarClick()
{
    const QString nombre = kv::ui::Operador::Fichero(this, *Open_INC);
    if (nombre.isEmpty())
        return;
    // Read whole before the list is cleared: a file that cannot be read
    // leaves the list as it was.
    const kv::wf::Lectura_Incidencias leido = kv::wf::Lee_Fichero_Incidencias(nombre);
    QList<QTreeWidgetItem *> filas;
    filas.reserve(leido.filas.size());
    for (const kv::wf::Fila_Incidencia &f : leido.filas)
        filas << Nueva_Fila(f, Icono_De_Evento(f.Evento));
    m_consulta.Olvida();
    Lista_Incidencias->clear();
    Lista_Incidencias->addTopLevelItems(filas);

    // One message for all that was left out, not one per line.
    QStringList avisos;
    if (leido.saltadas > 0)
        avisos << Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_51")) + QLatin1Char(' ')
                      + QString::number(leido.saltadas);
    if (leido.cortada)
        avisos << Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_52"));
    if (!avisos.isEmpty())
        kv::ui::Operador::Mensaje(this, avisos.join(QLatin1Char('\n')));
}

void TF_Main::SpeedButton9Click()
{
    m_consulta.Olvida();
    Lista_Incidencias->clear();
}

void TF_Main::B_Buscar_IncClick()
{
    Find_INC->show();
    Find_INC->raise();
    Find_INC->activateWindow();
    Find_INC->Texto->setFocus();
}

bool TF_Main::Find_INCFind(const QString &texto)
{
    // The whole date range is searched, not only the rows scrolled to.
    if (m_consulta.Quedan() > 0) {
        const kv::ui::Cursor_Espera espera;
        while (m_consulta.Quedan() > 0)
            Mas_Filas_Incidencias();
    }
    // The hidden U column is not searched.
    if (!Busca_En_Lista(Lista_Incidencias, texto, 4))
        return false;
    Find_INC->close();
    Lista_Incidencias->setFocus();
    return true;
}

int TF_Main::Icono_De_Evento(const QString &evento) const
{
    if (evento.isEmpty())
        return kv::ui::Icono_Evento;
    for (int tipo = 1; tipo <= 6; ++tipo)
        if (evento == Tipos_Incidencia.value(tipo - 1))
            return Icono_Incidencia(tipo);
    for (const char *clave : {"Variables_variables_F_Main_35", "Variables_variables_F_Main_36",
                              "Variables_variables_F_Main_37"})
        if (evento == Variables::Mensaje(QLatin1String(clave)))
            return kv::ui::Icono_Alarma;
    return kv::ui::Icono_Evento;
}
