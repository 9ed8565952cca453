#include "app/tf_login.h"

#include "app/aviso_clave.h"
#include "app/tf_main.h"
#include "app/ventanas.h"

#include "lang/lang.h"
#include "lang/ui/tf_select_lang.h"
#include "lang/ui/traducir.h"
#include "model/clave.h"
#include "model/globales.h"
#include "model/nivel.h"
#include "model/variables.h"
#include "ui/accion.h"
#include "ui/operador.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>

namespace {

// "*" separates the login from its level in the login list, so neither a
// login nor a password may hold one; a validator refuses it when typed and
// when pasted.
void Sin_Asterisco(QLineEdit *edit)
{
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^*]*")), edit));
}

} // namespace

TF_Login::TF_Login(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("F_Login"));
    setWindowTitle(QStringLiteral("Login"));

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("xpPageControl1"));
    xpTabSheet1 = new QWidget;
    xpTabSheet1->setObjectName(QStringLiteral("xpTabSheet1"));
    PageControl->addTab(xpTabSheet1, QStringLiteral("Login"));

    Label2 = new QLabel(QStringLiteral("Login :"), xpTabSheet1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("Password :"), xpTabSheet1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Edit1 = new QLineEdit(xpTabSheet1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(xpTabSheet1);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEchoMode(QLineEdit::Password);
    Sin_Asterisco(Edit1);
    Sin_Asterisco(Edit2);
    B_Aceptar = new QPushButton(QStringLiteral("Aceptar"), xpTabSheet1);
    B_Aceptar->setObjectName(QStringLiteral("B_Aceptar"));
    B_Aceptar->setDefault(true);
    L_Espera = new QLabel(xpTabSheet1);
    L_Espera->setObjectName(QStringLiteral("L_Espera"));
    L_Espera->setWordWrap(true);
    L_Espera->hide();
    m_reloj = new QTimer(this);
    m_reloj->setInterval(1000);
    connect(m_reloj, &QTimer::timeout, this, [this] { Cuenta_Atras(); });

    auto *rejilla = new QGridLayout(xpTabSheet1);
    rejilla->addWidget(Label2, 0, 0);
    rejilla->addWidget(Edit1, 0, 1);
    rejilla->addWidget(Label3, 1, 0);
    rejilla->addWidget(Edit2, 1, 1);
    rejilla->addWidget(B_Aceptar, 2, 1, Qt::AlignRight);
    rejilla->addWidget(L_Espera, 3, 0, 1, 2);
    // The fields stay where they are when the wait shows below them.
    rejilla->setRowStretch(4, 1);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(PageControl);

    kv::ui::Al_Pulsar(B_Aceptar, this, [this] { B_AceptarClick(); });
    // Enter in either field is the OK button.
    for (QLineEdit *e : {Edit1, Edit2})
        connect(e, &QLineEdit::returnPressed, this, [this] { kv::ui::Ejecuta_Accion(this, [this] { B_AceptarClick(); }); });

    FormCreate();
    setFixedSize(340, 210);
}

void TF_Login::FormCreate()
{
    Lang::Abrir_Fichero_Idioma();
    try {
        Variables::Lee_Configuracion();
    } catch (const std::exception &e) {
        // A settings file the program cannot use must not keep the operator
        // out: its error is shown and the defaults stand for this run.
        kv::ui::Operador::Error(this, QString::fromUtf8(e.what()));
    }
    if (Lang::Sin_Idioma()) {
        TF_Select_Lang eleccion;
        kv::ui::Operador::Modal(&eleccion);
        // Closed without being shown (tests): the window's own rule applies.
        if (Lang::Sin_Idioma())
            Variables::Idioma = Lang::Idioma_Por_Defecto;
    }
    Lang::Traducir_Ventana(this);
    logged = false;
}

void TF_Login::showEvent(QShowEvent *evento)
{
    Edit2->clear();
    if (const QScreen *pantalla = screen())
        move(pantalla->availableGeometry().center() - rect().center());
    QWidget::showEvent(evento);
    Edit1->setFocus();
}

void TF_Login::closeEvent(QCloseEvent *evento)
{
    evento->accept();
    QApplication::quit();
}

void TF_Login::B_AceptarClick()
{
    // Enter in a field reaches here too while the button is off.
    if (m_espera > 0)
        return;
    if (logged)
        Desbloquea();
    else
        Primer_Login();
}

void TF_Login::Primer_Login()
{
    const QString l = Edit1->text().toLower();
    const QString p = Edit2->text().toLower();
    // Without a main database (a failed start-up) nobody can be checked.
    if (!Globales::Servidor || !Globales::Servidor->Comprueba_Login(l, p)) {
        // An unknown login and a wrong password read alike.
        kv::ui::Operador::Mensaje(this, QStringLiteral("Login Incorrecto"), QStringLiteral("Login"));
        Fallo();
        return;
    }
    m_freno.Acierto();
    logged = true;
    login = l;
    password = Clave::Cifra(p);
    Determina_Interfaz();
    TF_Main *principal = Ventanas::F_Main;
    principal->showMaximized();
    principal->Panel_Aviso_Clave->Comprueba();
    // The login window goes even when a reader's port fails during the test.
    try {
        principal->B_Test_TODOSClick();
    } catch (...) {
        hide();
        throw;
    }
    hide();
}

void TF_Login::Desbloquea()
{
    // Only whoever locked the program unlocks it; the database is not asked.
    // A wrong try says nothing but counts towards the wait.
    if (Edit1->text().toLower() != login || !Clave::Coincide(password, Edit2->text())) {
        Fallo();
        return;
    }
    m_freno.Acierto();
    Ventanas::F_Main->showMaximized();
    hide();
}

void TF_Login::Fallo()
{
    m_espera = m_freno.Fallo();
    if (m_espera <= 0)
        return;
    B_Aceptar->setEnabled(false);
    L_Espera->setText(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_39")) + QLatin1Char(' ')
                      + QString::number(m_espera));
    L_Espera->show();
    m_reloj->start();
}

void TF_Login::Cuenta_Atras()
{
    if (--m_espera > 0) {
        L_Espera->setText(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_39")) + QLatin1Char(' ')
                          + QString::number(m_espera));
        return;
    }
    m_reloj->stop();
    L_Espera->hide();
    B_Aceptar->setEnabled(true);
}

void TF_Login::Determina_Interfaz()
{
    // Fails closed: only a level of exactly ADMIN keeps the full interface.
    if (Nivel::Sesion_Administrador())
        return;
    if (TF_Main *m = Ventanas::F_Main)
        m->Restringe_Usuario();
    // The camera window, where it exists, keeps its list but loses New and Delete.
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() != QLatin1String("F_Camera_Control"))
            continue;
        for (const char *boton : {"SpeedButton1", "SpeedButton2"})
            if (auto *b = w->findChild<QWidget *>(QLatin1String(boton)))
                b->setEnabled(false);
    }
}
