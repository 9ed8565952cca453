// The start-up the main window runs while it is created, the opening of an
// installation, and the report labels written for the current language.
#include "app/textos.h"
#include "app/tf_main.h"
#include "app/tf_user_muestra.h"
#include "app/ventanas_incidencias.h"

#include "lang/lang.h"
#include "lang/ui/traducir.h"
#include "model/errorbd.h"
#include "model/globales.h"
#include "model/settings_errors.h"
#include "model/variables.h"
#include "model/zarvsistema.h"
#include "platform/paths.h"
#include "ui/accion.h"
#include "workflows/coordinacion.h"
#include "workflows/gestion_instalaciones.h"
#include "workflows/instalacion.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>

void TF_Main::FormCreate()
{
    Lang::Traducir_Ventana(this);
    Arbol1->expandAll();
    Arbol_REPORTS->expandAll();
    PageControl1->setCurrentWidget(TabSheet1);

    PANEL_NAVEGATOR->show();
    Muestra_Paginas(Instalacion());
    PANEL_TOOLS->hide();
    PANEL_REPORTS->hide();
    PANEL_ATTENDANCE->hide();
    Calendar1->setSelectedDate(QDate::currentDate());

    // A failing step ends the sequence with its error shown; the login window
    // still appears (and reports that it cannot check logins, if it cannot).
    kv::ui::Ejecuta_Accion(this, [this] {
        Restaura_BD_Inicial();
        Link_BBDD();
        Refresca_Lista_INI();
        Lang::Cargar_Mensajes();
        Escribe_LANGREP();
        Meses = Variables::Nombres_Mes;
        Tipos_Incidencia = Variables::Tipos_Incidencia;

        // The filter starts on today, whole: a range of one instant would
        // show nothing when applied as it stands.
        const QDateTime ahora = QDateTime::currentDateTime();
        Fecha_INI->setDate(ahora.date());
        Hora_INI->setTime(QTime(0, 0));
        Fecha_FIN->setDate(ahora.date());
        Hora_FIN->setTime(QTime(23, 59, 59));
        Calendar1->setSelectedDate(ahora.date());

        kv::wf::Coordinacion::Ajusta_Mantenimiento();
        B_Test_TODOSClick();
    });
}

void TF_Main::Restaura_BD_Inicial()
{
    // The installation files found are kept and listed again; those the
    // factory main database does not know are named as recovered, in the
    // language chosen (the message table is loaded later in the start-up).
    kv::wf::Repara_BD_Inicial(Lang::Texto_Idioma(QStringLiteral("Variables_variables_F_Gestion_BD_13")));
}

void TF_Main::Link_BBDD()
{
    // The database is reached through the system's Firebird (embedded, or the
    // server named in the settings); the program ships no server of its own,
    // so it neither starts nor stops a guardian process.
    kv::wf::Conecta_Servidor(qApp);
    m_selector.Vacia();
    // Opening the installation reads its collections and fills the pages.
    Carga_Instalaciones(Lee_Ultima_Instalacion());
    // The report labels are read by the report code on the main-database
    // connection when a report runs.
}

QString TF_Main::Lee_Ultima_Instalacion()
{
    return kv::wf::Instalacion_Recordada();
}

void TF_Main::Carga_Instalaciones(const QString &codigo)
{
    const QStringList lista = Globales::Servidor->Lista_Instalaciones();
    // The last installation cannot be deleted.
    m_selector.Habilita_Eliminar(lista.size() != 1);
    int elegida = 0;
    for (int i = 0; i < lista.size(); ++i) {
        m_selector.Anade(lista[i]);
        if (!codigo.isEmpty() && textos::Codigo_Entrada(lista[i]) == codigo)
            elegida = i;
    }
    // A main database without installations leaves nothing to open: the
    // windows then show empty lists until one is created.
    if (lista.isEmpty())
        return;
    m_selector.Selecciona(elegida);
    QTreeWidgetItem *raiz = Arbol1->topLevelItem(0);
    raiz->setText(0, textos::Con_Sufijo(raiz->text(0), textos::Nombre_Entrada(lista[elegida])));
    Abre_Instalacion(textos::Codigo_Entrada(lista[elegida]));
}

void TF_Main::Abre_Instalacion(const QString &codigo)
{
    Variables::Instalacion_Actual = codigo;
    // The details shown belong to the installation being closed.
    if (Ventanas::F_User_Muestra)
        Ventanas::F_User_Muestra->hide();
    setWindowTitle(textos::Con_Sufijo(windowTitle(), textos::Nombre_Entrada(m_selector.Texto())));
    kv::wf::Abre_Instalacion(codigo, qApp);
    // The collections were read just now: the pages are filled from them.
    m_marca_cambios = Globales::Sistema->Marca_Cambios();
    for (Pagina *p : {static_cast<Pagina *>(Usuarios()), static_cast<Pagina *>(Tarjetas()),
                      static_cast<Pagina *>(Lectores())})
        if (p)
            p->Rellena();
    // Every installation opened, not only the first, shows its events live.
    Escucha_Incidencias();
    // The attendance tree named the closed installation's cardholders.
    Vacia_Presencia();
    // A report shown was the closed installation's.
    Vacia_Informes();
    kv::wf::Coordinacion::Ajusta_Mantenimiento();
}

void TF_Main::Escribe_LANGREP()
{
    QSqlDatabase &db = Globales::Servidor->Conexion();
    QStringList campos = Variables::Campos_Informe;
    while (campos.size() < 13)
        campos << Variables::Texto_Ausente;
    // Both statements or neither: a failed insert must not leave the reports
    // without labels.
    db.transaction();
    QSqlQuery q(db);
    bool bien = q.exec(QStringLiteral("Delete from LANGREP"));
    if (bien) {
        bien = q.prepare(QStringLiteral("Insert Into LANGREP(Idioma,campo_1,campo_2,campo_3,campo_4,campo_5,\n"
                                        "campo_6,campo_7,campo_8,campo_9,campo_10,campo_11,campo_12,campo_13)\n"
                                        " Values(:IDIOMA,:CAMPO_1,:CAMPO_2,:CAMPO_3,:CAMPO_4,:CAMPO_5,:CAMPO_6,\n"
                                        ":CAMPO_7,:CAMPO_8,:CAMPO_9,:CAMPO_10,:CAMPO_11,:CAMPO_12,:CAMPO_13)"));
    }
    if (bien) {
        q.bindValue(QStringLiteral(":IDIOMA"), Variables::Idioma);
        for (int i = 0; i < 13; ++i)
            q.bindValue(QStringLiteral(":CAMPO_%1").arg(i + 1), campos[i]);
        bien = q.exec();
    }
    if (!bien) {
        const QSqlError error = q.lastError();
        q.finish();
        db.rollback();
        throw ErrorBD(QStringLiteral("LANGREP"), error);
    }
    q.finish();
    db.commit();
}
