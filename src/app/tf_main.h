#pragma once

#include "app/pagina.h"
#include "app/pagina_instalacion.h"
#include "app/pagina_lectores.h"
#include "app/pagina_logins.h"
#include "app/pagina_parametros.h"
#include "app/pagina_tarjetas.h"
#include "app/pagina_usuarios.h"
#include "ui/principal.h"
#include "ui/selector_instalaciones.h"

#include "link/teventoinformacion.h"
#include "workflows/consulta_incidencias.h"
#include "workflows/fichero_incidencias.h"
#include "workflows/presencia.h"

#include <QDateTime>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QCalendarWidget;
class QDateEdit;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;
class QTimeEdit;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kv::ui {
class Dialogo_Fichero;
class Imagen_Pulsable;
} // namespace kv::ui
namespace kv::rep::ui {
class Vista_Informe;
} // namespace kv::rep::ui

// The main window (F_Main): tool bar, header, the navigation, tools and
// reports tabs on the left and the page of the selected node, tool or report
// on the right. The constructor builds the layout; FormCreate, run once the
// pages' own code is attached (programa.cpp), is the program's start-up: it
// connects the main database, opens the installation and tests the readers.
//
// The components keep the names the language file's keys use; every list
// keeps its icon numbers in kv::ui::Rol_Icono.
class Aviso_Clave;
class Dialogo_Buscar;

class TF_Main : public QWidget, public kv::ui::Principal, public Vista_Principal {
    Q_OBJECT
public:
    explicit TF_Main(QWidget *parent = nullptr);
    ~TF_Main() override;

    // ---- tool bar and header -------------------------------------------------
    QFrame *Panel1;
    QToolButton *B_Login;
    QToolButton *B_New_USR_Main;
    QToolButton *SpeedButton11; // incidences
    QToolButton *B_Test_TODOS;
    QToolButton *B_Send;
    QToolButton *B_Receive;
    QToolButton *B_Export_import;
    QToolButton *SpeedButton13; // close
    QFrame *Panel4;
    QLabel *L_Cuerpo; // the selected node's text
    // While admin keeps its factory password.
    Aviso_Clave *Panel_Aviso_Clave;

    // ---- left side -----------------------------------------------------------
    QTabWidget *PageControl1;
    QWidget *TabSheet1; // navigation
    QWidget *TabSheet2; // tools
    QWidget *TabSheet3; // reports
    QTreeWidget *Arbol1;
    QTreeWidget *Arbol_REPORTS;
    kv::ui::Imagen_Pulsable *Image2; // incidences
    kv::ui::Imagen_Pulsable *Image3; // attendance
    kv::ui::Imagen_Pulsable *Image6; // cameras (never shown)
    QLabel *Label5;
    QLabel *Label6;
    QLabel *Label7;

    // ---- content area --------------------------------------------------------
    QWidget *PANEL_CUERPO_CENTRAL;
    QWidget *PANEL_NAVEGATOR;
    QWidget *PANEL_TOOLS;
    QWidget *PANEL_REPORTS;

    // tools area: incidences
    QLabel *L_WHICH_TOOL;
    QWidget *PANEL_INCIDENCIAS;
    kv::ui::Imagen_Pulsable *I_PLAY_OFF;
    kv::ui::Imagen_Pulsable *I_PLAY_ON;
    QToolButton *SpeedButton5; // print
    QToolButton *B_Salvar;
    QToolButton *B_Recuperar;
    QToolButton *B_Buscar_Inc;
    QToolButton *SpeedButton9; // clear
    QWidget *PANEL_CABECERA_INCIDENCIAS;
    QLabel *Label17;
    QDateEdit *Fecha_INI;
    QTimeEdit *Hora_INI;
    QLabel *Label18;
    QDateEdit *Fecha_FIN;
    QTimeEdit *Hora_FIN;
    QToolButton *SpeedButton1; // apply the dates
    QTreeWidget *Lista_Incidencias;
    kv::ui::Dialogo_Fichero *Save_INC;
    kv::ui::Dialogo_Fichero *Open_INC;
    QTextEdit *Re_Incidencia; // only for printing
    Dialogo_Buscar *Find_INC;

    // tools area: attendance
    QWidget *PANEL_ATTENDANCE;
    QCalendarWidget *Calendar1;
    QRadioButton *R1; // month
    QRadioButton *R2; // day
    QPushButton *SpeedButton2; // entrance and exit readers
    QTreeWidget *Arbol_Presencia;
    QLabel *Label19;
    QLabel *L_usuario_presencia;
    QTreeWidget *Lista_Presencia;
    QToolButton *SpeedButton3; // load
    QToolButton *SpeedButton7; // save
    QToolButton *SpeedButton8; // enlarge

    // reports area: the preview of the report selected in Arbol_REPORTS
    kv::rep::ui::Vista_Informe *frPreview1;

    // The periodic maintenance, every 30 s when enabled; its tick is connected
    // by the maintenance code.
    QTimer *Eliminar_Tarj_cad_Y_Test_Lectores;

    // Month names (January first) and incidence-type names (type 1 first),
    // copied from the message table at start-up.
    QStringList Meses;
    QStringList Tipos_Incidencia;

    // ---- pages ---------------------------------------------------------------
    // The navigator's pages, in the order of Tabla_Navegacion (none for a
    // node that only groups others).
    const std::vector<Pagina *> &Paginas() const { return m_paginas; }
    Pagina_Instalacion *Instalacion() const { return Pagina_De<Pagina_Instalacion>(); }
    Pagina_Usuarios *Usuarios() const { return Pagina_De<Pagina_Usuarios>(); }
    Pagina_Tarjetas *Tarjetas() const { return Pagina_De<Pagina_Tarjetas>(); }
    Pagina_Lectores *Lectores() const { return Pagina_De<Pagina_Lectores>(); }
    Pagina_Logins *Logins() const { return Pagina_De<Pagina_Logins>(); }
    Pagina_Parametros *Parametros() const { return Pagina_De<Pagina_Parametros>(); }
    // The tree node that shows pagina, or none.
    QTreeWidgetItem *Nodo_De(const Pagina &pagina) const;
    // The restrictions of a login of level USER: the nodes only an
    // administrator gets go, and each page restricts itself.
    void Restringe_Usuario();

    // ---- start-up, installations, shut-down ------------------------------------
    // The start-up sequence; a failing step shows its error and ends it.
    void FormCreate();
    // Brings back the factory set when the main database is missing.
    static void Restaura_BD_Inicial();
    void Link_BBDD();
    QString Lee_Ultima_Instalacion();
    void Carga_Instalaciones(const QString &codigo) override;
    void Abre_Instalacion(const QString &codigo) override;
    void Escribe_LANGREP();
    void B_LoginClick();
    void SpeedButton13Click();

    // ---- lists ---------------------------------------------------------------
    void Refresca_Lista_INI() override;
    void Refrescar_usuariosII() override;
    void Refrescar_tarjetas() override;
    void Refresca_Logins() override;
    void Refrescar_Controladores() override;
    void B_Test_TODOSClick() override;

    // ---- navigation ----------------------------------------------------------
    void Arbol1Change(QTreeWidgetItem *nodo);
    void PageControl1Change();
    void FormActivate();
    void SpeedButton11Click();
    void Image2Click();
    // Shows this page's panel alone.
    void Muestra_Paginas(Pagina *pagina);
    void Centra_Etiquetas();

    // ---- registering and maintenance -------------------------------------------
    void I_PLAY_OFFClick();
    void I_PLAY_ONClick();
    // Registering on or off: the flag, the two images, the controller
    // buttons and the lines. Refused while a workflow holds the readers.
    void Cambia_Registro(bool activo);
    void Eliminar_Tarj_cad_Y_Test_LectoresTimer();

    // ---- live events ---------------------------------------------------------
    // llegada: when the event arrived, for one held while the database
    // server could not be reached; invalid means now.
    void Recibida_Incidencia(const TEventoInformacion &evento, const QDateTime &llegada = QDateTime());
    void Anade_Fila_Incidencia(const QString &evento, const QString &fecha, const QString &origen,
                               const QString &descripcion, const QString &usuario, int icono);
    // A warning row about a listening line (message key clave), and the
    // "Activo" icon of its readers on the readers page (-1: none).
    void Aviso_Linea(int puerto, const QString &clave, const QString &detalle, int icono_lectores);

    // ---- the incidence list as a view (tf_main_vista_incidencias.cpp) -----------
    // The stored incidences between the two pickers' moments, newest first:
    // a page of them, the next ones added as the list is scrolled to its end.
    void SpeedButton1Click();
    // Adds the next page of the date range's rows at the list's end.
    void Mas_Filas_Incidencias();
    // The list's rows, top to bottom, as saving and printing take them, and
    // after them the date range's rows not added yet: what the operator
    // would see scrolling to the end.
    QList<kv::wf::Fila_Incidencia> Filas_Lista_Incidencias() const;
    // Rows of the date range added at each step.
    static constexpr int FILAS_POR_PAGINA = 500;
    void B_SalvarClick();
    // The list under its title in a print preview, from which the operator
    // prints (tf_main_impresion.cpp).
    void SpeedButton5Click();
    // The rows of a saved file, in place of the list's; each gets the icon
    // its Event names, as the live rows do.
    void B_RecuperarClick();
    void SpeedButton9Click();
    void B_Buscar_IncClick();
    // Selects the rows holding texto; false (the dialog stays) when none does.
    bool Find_INCFind(const QString &texto);
    // The icon a row with this Event text gets: its kind's, the alarm of the
    // line and storage warnings, else the generic event icon.
    int Icono_De_Evento(const QString &evento) const;

    // ---- the cardholder of a row (tf_main_usuario_incidencia.cpp) -----------------
    // A click on a row with a U shows that cardholder in F_User_Muestra, or
    // takes the window away when the row names none.
    void Lista_IncidenciasClick();

    // ---- attendance (tf_main_presencia.cpp) -------------------------------------
    void Image3Click();
    // The period of Calendar1 (its month with R1, its day with R2) as the
    // tree's root, with the installation's cardholders under it by surname.
    // The table keeps its rows until a cardholder is selected.
    void Recalcula_Arbol();
    void Arbol_PresenciaChange(QTreeWidgetItem *nodo);
    // The tree's period for that cardholder, in place of the table's rows.
    void Obtener_Valores_Entrada_Salida(int usuario);
    // The readers' entrance and exit designation (F_Lector_ES).
    void SpeedButton2Click();
    // The table opened from a text file, saved to one, and shown larger.
    void SpeedButton3Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    // A day's stay corrected by hand; only the table keeps the correction.
    void Lista_PresenciaDblClick();
    // Tree, table and cardholder emptied: another installation was opened.
    void Vacia_Presencia();

    // ---- reports (tf_main_informes.cpp) ----------------------------------------
    // The root shows nothing; a report node runs its report on the open
    // installation, or shows in the preview why it cannot.
    void Arbol_REPORTSChange(QTreeWidgetItem *nodo);
    // No report selected or shown: another installation was opened.
    void Vacia_Informes();

    // ---- kv::ui::Principal and Vista_Principal ------------------------------------
    QWidget *Ventana() override { return this; }
    void Muestra(Pagina &pagina) override;
    void Habilita_Test_Todos(bool activo) override;
    kv::ui::Selector_Instalaciones &Selector() override { return m_selector; }
    QTimer *Temporizador_Mantenimiento() override { return Eliminar_Tarj_cad_Y_Test_Lectores; }

protected:
    void closeEvent(QCloseEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;
    void changeEvent(QEvent *evento) override;

private:
    // Layout, in tf_main_disposicion.cpp, tf_main_paginas.cpp and tf_main_herramientas.cpp.
    void Crea_Barra();
    void Crea_Lateral();
    void Crea_Contenido();
    void Crea_Herramientas();
    void Crea_Incidencias();
    void Crea_Presencia();
    void Crea_Informes();
    void Conecta_Acciones();

    // Notes the database's change marker as the page on show is read.
    void Anota_Marca_Cambios();
    // The open installation's events reach Recibida_Incidencia.
    void Escucha_Incidencias();

    template <class T>
    T *Pagina_De() const
    {
        for (Pagina *p : m_paginas)
            if (auto *t = qobject_cast<T *>(p))
                return t;
        return nullptr;
    }

    kv::ui::Selector_Instalaciones m_selector;
    std::vector<Pagina *> m_paginas;
    // The date range the incidence list shows, read as it is scrolled.
    kv::wf::Consulta_Incidencias m_consulta;
    // The period the attendance tree shows, and the attendance loads.
    kv::wf::Periodo_Presencia m_periodo;
    kv::wf::Consulta_Presencia m_presencia;
    // The database's change marker when the page on show was last read.
    qint64 m_marca_cambios = -1;
    // The maintenance found the database server out of reach: told once in
    // the incidence list, not in a window every tick.
    bool m_mantenimiento_sin_servidor = false;
};
