#pragma once

#include "ui/principal.h"
#include "ui/selector_instalaciones.h"

#include "link/teventoinformacion.h"

#include <QStringList>
#include <QWidget>

#include <functional>

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

// The main window (F_Main): tool bar, header, the navigation, tools and
// reports tabs on the left and the page of the selected node, tool or report
// on the right. The constructor builds the layout; FormCreate, run once the
// pages' own code is attached (programa.cpp), is the program's start-up: it
// connects the main database, opens the installation and tests the readers.
//
// The components keep the names the language file's keys use; every list
// keeps its icon numbers in kv::ui::Rol_Icono.
class TF_Main : public QWidget, public kv::ui::Principal {
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

    // installation page
    QWidget *PANEL_INSTALACION;
    QLabel *Label4;
    QTreeWidget *Lista_INI;

    // users page
    QWidget *PANEL_LISTA_USR;
    QLabel *Label1;
    QPushButton *B_New_USR_Usr;
    QPushButton *B_edit_usr;
    QPushButton *B_Delete;
    QPushButton *SpeedButton25; // find
    QPushButton *B_Send_u;
    QPushButton *B_receive_u;
    QPushButton *SpeedButton4; // lock (never shown)
    QPushButton *SpeedButton6; // unlock (never shown)
    QTreeWidget *Lista1;

    // readers page
    QWidget *PANEL_LISTA_READERS;
    QPushButton *B_Nueva_Cx;
    QPushButton *B_Editar_cx;
    QPushButton *B_Delete_Cx;
    QPushButton *B_Test_Cx;
    QPushButton *B_Master_Card;
    QPushButton *B_Clone_cx;
    QPushButton *B_vacia_Cards;
    QLabel *Label2;
    QTreeWidget *L1_Contr;
    QLabel *Label3;
    QTreeWidget *L2_Contr;

    // cards page
    QWidget *PANEL_LISTA_CARDS;
    QLabel *Label9;
    QPushButton *B_New_Card;
    QPushButton *B_Edit_Card; // never shown
    QPushButton *B_Delete_Cards;
    QPushButton *SpeedButton21; // find
    QTreeWidget *Lista3;

    // logins page
    QWidget *PANEL_LISTA_LOGINS;
    QPushButton *B_Nuevo_Login;
    QPushButton *B_Delete_login;
    QTreeWidget *Lista4;

    // parameters page
    QWidget *PANEL_PARAMETERS;
    QLabel *Label10;
    QLabel *Label8;
    QLabel *Label11;
    QLabel *Label12;
    QLabel *Label13;
    QPushButton *SpeedButton28; // installation management
    QLabel *Label14;
    QLabel *Label15;
    QLabel *Label16;
    QPushButton *SpeedButton29; // application parameters

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

    // reports area
    QWidget *frPreview1;

    // The periodic maintenance, every 30 s when enabled; its tick is connected
    // by the maintenance code.
    QTimer *Eliminar_Tarj_cad_Y_Test_Lectores;

    // Month names (January first) and incidence-type names (type 1 first),
    // copied from the message table at start-up.
    QStringList Meses;
    QStringList Tipos_Incidencia;

    // The readers page's refresh of the readers list and its test of every
    // reader (which ends with the controllers listening for events). Without
    // a readers page both do nothing.
    std::function<void()> Gancho_Refrescar_Controladores;
    std::function<void()> Gancho_Test_Todos;

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
    void Muestra_Paginas(QWidget *pagina);
    void Centra_Etiquetas();
    // The node with that absolute index (display order through all levels), or none.
    QTreeWidgetItem *Nodo(int indice) const;
    static int Indice_Absoluto(const QTreeWidgetItem *nodo);
    // Selects the node with that index and shows its page.
    void Selecciona_Nodo(int indice);

    // ---- logins --------------------------------------------------------------
    void B_Nuevo_LoginClick();
    void B_Delete_loginClick();

    // ---- live events ---------------------------------------------------------
    void Recibida_Incidencia(const TEventoInformacion &evento);
    void Anade_Fila_Incidencia(const QString &evento, const QString &fecha, const QString &origen,
                               const QString &descripcion, const QString &usuario, int icono);

    // ---- the USER level ------------------------------------------------------
    void Borra_Ultimo_Nodo();
    void Mueve_Test_Cx_Al_Principio();

    // ---- kv::ui::Principal ---------------------------------------------------
    QWidget *Ventana() override { return this; }
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
    void Crea_Pagina_Instalacion();
    void Crea_Pagina_Usuarios();
    void Crea_Pagina_Lectores();
    void Crea_Pagina_Tarjetas();
    void Crea_Pagina_Logins();
    void Crea_Pagina_Parametros();
    void Crea_Herramientas();
    void Crea_Incidencias();
    void Crea_Presencia();
    void Crea_Informes();
    void Conecta_Acciones();

    // Reloads the open installation's card collection.
    void Refrescar_Tarjetas_Modelo();
    // The open installation's events reach Recibida_Incidencia.
    void Escucha_Incidencias();

    kv::ui::Selector_Instalaciones m_selector;
};
