// The tools area (incidences and attendance) and the reports area. Their
// workflows are connected by the code of those tools; here they get their
// controls, names and placeholders.
#include "app/disposicion.h"
#include "app/impresion_incidencias.h"
#include "app/tf_main.h"

#include "ui/dialogo_fichero.h"
#include "ui/imagen_pulsable.h"
#include "ui/imagenes.h"
#include "ui/listas.h"

#include <QBoxLayout>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextEdit>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeWidget>

using namespace disposicion;

namespace {

QToolButton *Con_Icono(QWidget *padre, const char *nombre, QStyle::StandardPixmap icono, const QString &pista)
{
    QToolButton *b = Herramienta(padre, nombre, QString());
    b->setIcon(padre->style()->standardIcon(icono));
    b->setIconSize(QSize(22, 22));
    b->setToolTip(pista);
    return b;
}

} // namespace

void TF_Main::Crea_Herramientas()
{
    L_WHICH_TOOL = Titulo(PANEL_TOOLS, "L_WHICH_TOOL", QStringLiteral("Herramientas"));
    PANEL_TOOLS->layout()->addWidget(L_WHICH_TOOL);
    Crea_Incidencias();
    Crea_Presencia();
    PANEL_TOOLS->layout()->addWidget(PANEL_INCIDENCIAS);
    PANEL_TOOLS->layout()->addWidget(PANEL_ATTENDANCE);
}

void TF_Main::Crea_Incidencias()
{
    PANEL_INCIDENCIAS = Panel(PANEL_TOOLS, "PANEL_INCIDENCIAS");
    auto *caja = static_cast<QBoxLayout *>(PANEL_INCIDENCIAS->layout());

    QBoxLayout *fila = nullptr;
    QFrame *barra = Barra(PANEL_INCIDENCIAS, "Panel_Botones_Incidencias", &fila);
    barra->setFixedHeight(48);
    I_PLAY_OFF = new kv::ui::Imagen_Pulsable(QStringLiteral("I_PLAY_OFF"), barra);
    I_PLAY_OFF->setPixmap(kv::ui::Imagen(kv::ui::Dibujo::Registro_Apagado, 32));
    I_PLAY_OFF->setToolTip(QStringLiteral("Start Registering Incidences"));
    I_PLAY_ON = new kv::ui::Imagen_Pulsable(QStringLiteral("I_PLAY_ON"), barra);
    I_PLAY_ON->setPixmap(kv::ui::Imagen(kv::ui::Dibujo::Registro_Encendido, 32));
    I_PLAY_ON->setToolTip(QStringLiteral("Stop Registering Incidences"));
    I_PLAY_ON->hide();
    SpeedButton5 = Con_Icono(barra, "SpeedButton5", QStyle::SP_FileDialogContentsView, QStringLiteral("Print"));
    B_Salvar = Con_Icono(barra, "B_Salvar", QStyle::SP_DialogSaveButton, QStringLiteral("Save"));
    B_Recuperar = Con_Icono(barra, "B_Recuperar", QStyle::SP_DialogOpenButton, QStringLiteral("Open"));
    B_Buscar_Inc = Con_Icono(barra, "B_Buscar_Inc", QStyle::SP_FileDialogListView, QStringLiteral("Find"));
    SpeedButton9 = Con_Icono(barra, "SpeedButton9", QStyle::SP_DialogResetButton, QStringLiteral("Clear"));
    fila->addWidget(I_PLAY_OFF);
    fila->addWidget(I_PLAY_ON);
    fila->addSpacing(12);
    for (QToolButton *b : {SpeedButton5, B_Salvar, B_Recuperar, B_Buscar_Inc, SpeedButton9})
        fila->addWidget(b);
    fila->addStretch();

    PANEL_CABECERA_INCIDENCIAS = new QFrame(PANEL_INCIDENCIAS);
    PANEL_CABECERA_INCIDENCIAS->setObjectName(QStringLiteral("PANEL_CABECERA_INCIDENCIAS"));
    auto *filtro = new QHBoxLayout(PANEL_CABECERA_INCIDENCIAS);
    filtro->setContentsMargins(4, 2, 4, 2);
    Label17 = Etiqueta(PANEL_CABECERA_INCIDENCIAS, "Label17", QStringLiteral("Inicio :"));
    Fecha_INI = new QDateEdit(PANEL_CABECERA_INCIDENCIAS);
    Fecha_INI->setObjectName(QStringLiteral("Fecha_INI"));
    Hora_INI = new QTimeEdit(PANEL_CABECERA_INCIDENCIAS);
    Hora_INI->setObjectName(QStringLiteral("Hora_INI"));
    Label18 = Etiqueta(PANEL_CABECERA_INCIDENCIAS, "Label18", QStringLiteral("Fin :"));
    Fecha_FIN = new QDateEdit(PANEL_CABECERA_INCIDENCIAS);
    Fecha_FIN->setObjectName(QStringLiteral("Fecha_FIN"));
    Hora_FIN = new QTimeEdit(PANEL_CABECERA_INCIDENCIAS);
    Hora_FIN->setObjectName(QStringLiteral("Hora_FIN"));
    for (QDateEdit *f : {Fecha_INI, Fecha_FIN})
        f->setCalendarPopup(true);
    for (QTimeEdit *h : {Hora_INI, Hora_FIN})
        h->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    SpeedButton1 = Con_Icono(PANEL_CABECERA_INCIDENCIAS, "SpeedButton1", QStyle::SP_BrowserReload, QStringLiteral("Apply"));
    for (QWidget *w : {static_cast<QWidget *>(Label17), static_cast<QWidget *>(Fecha_INI),
                       static_cast<QWidget *>(Hora_INI), static_cast<QWidget *>(Label18),
                       static_cast<QWidget *>(Fecha_FIN), static_cast<QWidget *>(Hora_FIN),
                       static_cast<QWidget *>(SpeedButton1)})
        filtro->addWidget(w);
    filtro->addStretch();

    Lista_Incidencias = kv::ui::Nueva_Lista(PANEL_INCIDENCIAS, QStringLiteral("Lista_Incidencias"),
                                            {QStringLiteral("Event"), QStringLiteral("Date"), QStringLiteral("Source"),
                                             QStringLiteral("Description"), QStringLiteral("U")},
                                            true);
    kv::ui::Oculta_Columna(Lista_Incidencias, 4);
    Lista_Incidencias->setColumnWidth(0, 160);
    Lista_Incidencias->setColumnWidth(1, 160);
    Lista_Incidencias->setColumnWidth(2, 180);

    Save_INC = new kv::ui::Dialogo_Fichero(QStringLiteral("Save_INC"), kv::ui::Dialogo_Fichero::Guardar, this);
    Open_INC = new kv::ui::Dialogo_Fichero(QStringLiteral("Open_INC"), kv::ui::Dialogo_Fichero::Abrir, this);
    for (kv::ui::Dialogo_Fichero *d : {Save_INC, Open_INC})
        d->setFiltro(QStringLiteral("Text Files|*.txt"));

    Re_Incidencia = new QTextEdit(PANEL_INCIDENCIAS);
    Re_Incidencia->setObjectName(QStringLiteral("Re_Incidencia"));
    // Hidden, it never gets a size from a layout: its text is laid out to a
    // fixed width instead.
    Re_Incidencia->setFixedWidth(impresion::Ancho_Documento);
    Re_Incidencia->setLineWrapMode(QTextEdit::FixedPixelWidth);
    Re_Incidencia->setLineWrapColumnOrWidth(impresion::Ancho_Documento);
    Re_Incidencia->hide();

    caja->addWidget(barra);
    caja->addWidget(PANEL_CABECERA_INCIDENCIAS);
    caja->addWidget(Lista_Incidencias, 1);
}

void TF_Main::Crea_Presencia()
{
    PANEL_ATTENDANCE = Panel(PANEL_TOOLS, "PANEL_ATTENDANCE");
    auto *caja = static_cast<QBoxLayout *>(PANEL_ATTENDANCE->layout());

    auto *arriba = new QHBoxLayout;
    auto *izquierda = new QVBoxLayout;
    Calendar1 = new QCalendarWidget(PANEL_ATTENDANCE);
    Calendar1->setObjectName(QStringLiteral("Calendar1"));
    Calendar1->setFixedSize(Calendar1->sizeHint());
    R1 = new QRadioButton(QStringLiteral("Mes"), PANEL_ATTENDANCE);
    R1->setObjectName(QStringLiteral("R1"));
    R1->setChecked(true);
    R2 = new QRadioButton(QStringLiteral("Dia"), PANEL_ATTENDANCE);
    R2->setObjectName(QStringLiteral("R2"));
    auto *vista = new QHBoxLayout;
    vista->addWidget(R1);
    vista->addWidget(R2);
    vista->addStretch();
    SpeedButton2 = Boton(PANEL_ATTENDANCE, "SpeedButton2", QStringLiteral("Definir lectores E/S"));
    izquierda->addWidget(Calendar1);
    izquierda->addLayout(vista);
    izquierda->addWidget(SpeedButton2, 0, Qt::AlignLeft);
    Arbol_Presencia = new QTreeWidget(PANEL_ATTENDANCE);
    Arbol_Presencia->setObjectName(QStringLiteral("Arbol_Presencia"));
    Arbol_Presencia->header()->hide();
    izquierda->addWidget(Arbol_Presencia, 1);

    auto *derecha = new QVBoxLayout;
    auto *titulo = new QHBoxLayout;
    Label19 = Etiqueta(PANEL_ATTENDANCE, "Label19", QStringLiteral("Seleccione el mes :"));
    L_usuario_presencia = Titulo(PANEL_ATTENDANCE, "L_usuario_presencia", QString());
    titulo->addWidget(Label19);
    titulo->addWidget(L_usuario_presencia, 1);
    SpeedButton3 = Con_Icono(PANEL_ATTENDANCE, "SpeedButton3", QStyle::SP_DialogOpenButton, QStringLiteral("Open"));
    SpeedButton7 = Con_Icono(PANEL_ATTENDANCE, "SpeedButton7", QStyle::SP_DialogSaveButton, QStringLiteral("Save"));
    SpeedButton8 = Con_Icono(PANEL_ATTENDANCE, "SpeedButton8", QStyle::SP_TitleBarMaxButton, QStringLiteral("Enlarge"));
    for (QToolButton *b : {SpeedButton3, SpeedButton7, SpeedButton8})
        titulo->addWidget(b);
    Lista_Presencia = kv::ui::Nueva_Lista(PANEL_ATTENDANCE, QStringLiteral("Lista_Presencia"),
                                          {QStringLiteral("Dia"), QStringLiteral("Entradas"),
                                           QStringLiteral("Salidas"), QStringLiteral("Estancia")},
                                          false);
    // Room for a whole date, and for a few bracketed passes in each column.
    Lista_Presencia->setColumnWidth(0, 120);
    Lista_Presencia->setColumnWidth(1, 200);
    Lista_Presencia->setColumnWidth(2, 200);
    derecha->addLayout(titulo);
    derecha->addWidget(Lista_Presencia, 1);

    arriba->addLayout(izquierda);
    arriba->addLayout(derecha, 1);
    caja->addLayout(arriba, 1);
}
