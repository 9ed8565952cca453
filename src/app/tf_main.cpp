#include "app/tf_main.h"

#include "app/aviso_clave.h"
#include "app/dialogo_buscar.h"
#include "app/pagina_usuarios.h"
#include "app/tf_login.h"
#include "app/tf_recv_users.h"
#include "app/tf_send_card.h"
#include "app/tf_user_muestra.h"
#include "app/ventanas.h"
#include "app/ventanas_envio.h"
#include "app/ventanas_incidencias.h"
#include "app/ventanas_libros.h"

#include "lang/lang.h"
#include "model/globales.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/variables.h"
#include "ui/accion.h"
#include "ui/imagen_pulsable.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>

TF_Main::TF_Main(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("F_Main"));
    setWindowTitle(QStringLiteral("Keyvane 2.1"));

    Eliminar_Tarj_cad_Y_Test_Lectores = new QTimer(this);
    Eliminar_Tarj_cad_Y_Test_Lectores->setObjectName(QStringLiteral("Eliminar_Tarj_cad_Y_Test_Lectores"));
    Eliminar_Tarj_cad_Y_Test_Lectores->setInterval(30000);

    Crea_Barra();
    Crea_Lateral();
    Crea_Contenido();

    auto *cuerpo = new QHBoxLayout;
    cuerpo->setContentsMargins(0, 0, 0, 0);
    cuerpo->addWidget(PageControl1);
    cuerpo->addWidget(PANEL_CUERPO_CENTRAL, 1);
    auto *caja = new QVBoxLayout(this);
    caja->setContentsMargins(2, 2, 2, 2);
    caja->setSpacing(2);
    caja->addWidget(Panel1);
    caja->addWidget(Panel4);
    Panel_Aviso_Clave = new Aviso_Clave(this);
    caja->addWidget(Panel_Aviso_Clave);
    caja->addLayout(cuerpo, 1);
    resize(1100, 720);

    Conecta_Acciones();
    kv::ui::Principal::Registra(this);
    // Whatever holds the readers holds this timer off; it runs only when
    // nothing does, the settings ask for it and an installation is open.
    kv::wf::Coordinacion::Set_Temporizador(Eliminar_Tarj_cad_Y_Test_Lectores);
}

TF_Main::~TF_Main()
{
    kv::wf::Coordinacion::Set_Temporizador(nullptr);
    Eliminar_Tarj_cad_Y_Test_Lectores->stop();
    // The installation outlives this window at the end of the run: its events
    // must not reach a window that is gone.
    if (Globales::Sistema && Globales::Sistema->Incidencias())
        Globales::Sistema->Incidencias()->OnNuevaIncidencia = nullptr;
}

void TF_Main::Conecta_Acciones()
{
    using kv::ui::Al_Pulsar;
    using kv::ui::Ejecuta_Accion;

    connect(Arbol1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *nodo) { Ejecuta_Accion(this, [this, nodo] { Arbol1Change(nodo); }); });
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this] { Ejecuta_Accion(this, [this] { PageControl1Change(); }); });
    connect(Image2, &kv::ui::Imagen_Pulsable::clicked, this, [this] { Ejecuta_Accion(this, [this] { Image2Click(); }); });
    Al_Pulsar(SpeedButton11, this, [this] { SpeedButton11Click(); });
    Al_Pulsar(B_Login, this, [this] { B_LoginClick(); });
    Al_Pulsar(SpeedButton13, this, [this] { SpeedButton13Click(); });
    Al_Pulsar(B_Test_TODOS, this, [this] { B_Test_TODOSClick(); });
    Al_Pulsar(B_New_USR_Main, this, [this] { Usuarios()->B_New_USR_MainClick(); });
    Al_Pulsar(B_Send, this, [] { Ventanas::Sincroniza_Y_Refresca(Ventanas::F_Send_Card); });
    Al_Pulsar(B_Receive, this, [] { Ventanas::Sincroniza_Y_Refresca(Ventanas::f_recv_users); });
    Al_Pulsar(B_Export_import, this, [] { Ventanas::Exporta_Importa(); });
    Al_Pulsar(SpeedButton1, this, [this] { SpeedButton1Click(); });
    Al_Pulsar(SpeedButton5, this, [this] { SpeedButton5Click(); });
    Al_Pulsar(B_Salvar, this, [this] { B_SalvarClick(); });
    Al_Pulsar(B_Recuperar, this, [this] { B_RecuperarClick(); });
    Al_Pulsar(SpeedButton9, this, [this] { SpeedButton9Click(); });
    Al_Pulsar(B_Buscar_Inc, this, [this] { B_Buscar_IncClick(); });
    Find_INC = new Dialogo_Buscar(this);
    Find_INC->setObjectName(QStringLiteral("Find_INC"));
    connect(Find_INC, &Dialogo_Buscar::Buscar, this,
            [this](const QString &texto) { Ejecuta_Accion(this, [this, &texto] { Find_INCFind(texto); }); });
    connect(Lista_Incidencias, &QTreeWidget::itemClicked, this,
            [this] { Ejecuta_Accion(this, [this] { Lista_IncidenciasClick(); }); });
    // Scrolled to its end, the list takes the date range's next page.
    QScrollBar *desplazamiento = Lista_Incidencias->verticalScrollBar();
    connect(desplazamiento, &QScrollBar::valueChanged, this, [this, desplazamiento](int valor) {
        if (valor >= desplazamiento->maximum() && m_consulta.Quedan() > 0)
            Ejecuta_Accion(this, [this] { Mas_Filas_Incidencias(); });
    });
    // The attendance area: every change of period rebuilds the tree. The
    // calendar's date is also set at start-up, with the area hidden; only the
    // operator's choice of another day, by mouse or keys, rebuilds it.
    connect(Image3, &kv::ui::Imagen_Pulsable::clicked, this, [this] { Ejecuta_Accion(this, [this] { Image3Click(); }); });
    for (QRadioButton *vista : {R1, R2})
        connect(vista, &QRadioButton::clicked, this, [this] { Ejecuta_Accion(this, [this] { Recalcula_Arbol(); }); });
    connect(Calendar1, &QCalendarWidget::selectionChanged, this, [this] {
        if (!PANEL_ATTENDANCE->isHidden())
            Ejecuta_Accion(this, [this] { Recalcula_Arbol(); });
    });
    connect(Arbol_Presencia, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *nodo) { Ejecuta_Accion(this, [this, nodo] { Arbol_PresenciaChange(nodo); }); });
    connect(Lista_Presencia, &QTreeWidget::itemDoubleClicked, this,
            [this] { Ejecuta_Accion(this, [this] { Lista_PresenciaDblClick(); }); });
    Al_Pulsar(SpeedButton2, this, [this] { SpeedButton2Click(); });
    Al_Pulsar(SpeedButton3, this, [this] { SpeedButton3Click(); });
    Al_Pulsar(SpeedButton7, this, [this] { SpeedButton7Click(); });
    Al_Pulsar(SpeedButton8, this, [this] { SpeedButton8Click(); });
    connect(I_PLAY_OFF, &kv::ui::Imagen_Pulsable::clicked, this,
            [this] { Ejecuta_Accion(this, [this] { I_PLAY_OFFClick(); }); });
    connect(I_PLAY_ON, &kv::ui::Imagen_Pulsable::clicked, this,
            [this] { Ejecuta_Accion(this, [this] { I_PLAY_ONClick(); }); });
    connect(Eliminar_Tarj_cad_Y_Test_Lectores, &QTimer::timeout, this,
            [this] { Ejecuta_Accion(this, [this] { Eliminar_Tarj_cad_Y_Test_LectoresTimer(); }); });

    // The tools entries keep their captions centred whatever their width.
    for (QLabel *l : {Label5, Label6, Label7})
        l->parentWidget()->installEventFilter(this);
}

bool TF_Main::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::Resize)
        Centra_Etiquetas();
    return QWidget::eventFilter(objeto, evento);
}

void TF_Main::B_LoginClick()
{
    Ventanas::F_Login->show();
    // A cardholder's details must not stay on screen over the login.
    if (Ventanas::F_User_Muestra)
        Ventanas::F_User_Muestra->hide();
    hide();
}

void TF_Main::SpeedButton13Click()
{
    close();
}

void TF_Main::closeEvent(QCloseEvent *evento)
{
    evento->accept();
    try {
        Variables::Guarda_Configuracion();
    } catch (const std::exception &e) {
        // The program ends all the same; the operator learns the settings
        // were not kept.
        kv::ui::Operador::Error(this, QString::fromUtf8(e.what()));
    }
    // The program starts no database server of its own, so there is no
    // guardian process to stop here.
    if (Ventanas::F_Login)
        Ventanas::F_Login->close();
    Lang::Cerrar_Fichero_Idioma();
}

void TF_Main::changeEvent(QEvent *evento)
{
    if (evento->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        kv::ui::Ejecuta_Accion(this, [this] { FormActivate(); });
    QWidget::changeEvent(evento);
}
