#include "app/tf_parametros_app.h"

#include "app/disposicion.h"

#include "lang/lang.h"
#include "lang/ui/traducir.h"
#include "model/variables.h"
#include "ui/operador.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

namespace {

QGroupBox *Grupo(QWidget *padre, const char *nombre, const QString &titulo)
{
    auto *g = new QGroupBox(titulo, padre);
    g->setObjectName(QLatin1String(nombre));
    return g;
}

QRadioButton *Opcion(QGroupBox *grupo, const char *nombre, const QString &texto)
{
    auto *r = new QRadioButton(texto, grupo);
    r->setObjectName(QLatin1String(nombre));
    if (!grupo->layout())
        new QHBoxLayout(grupo);
    grupo->layout()->addWidget(r);
    return r;
}

// The reader number an entry of C_Lectores_Lectura starts with.
QString Numero_Entrada(const QString &entrada)
{
    return entrada.section(QLatin1Char(' '), 0, 0);
}

} // namespace

TF_Parametros_app::TF_Parametros_app(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("F_Parametros_app"));
    setWindowTitle(QString::fromUtf8("Parámetros de la aplicación"));
    setModal(true);

    Label1 = disposicion::Titulo(this, "Label1", QString::fromUtf8("Parámetros de la aplicación"));

    xpGroupBox1 = Grupo(this, "xpGroupBox1", QStringLiteral("Idioma"));
    L_Idioma = disposicion::Etiqueta(xpGroupBox1, "L_Idioma", QStringLiteral("Idioma:"));
    // Drop-down lists: a choice is made from the list, never typed.
    C_Idioma = new QComboBox(xpGroupBox1);
    C_Idioma->setObjectName(QStringLiteral("C_Idioma"));
    C_Idioma->addItems(Lang::Idiomas_Disponibles());
    auto *fila_idioma = new QHBoxLayout(xpGroupBox1);
    fila_idioma->addWidget(L_Idioma);
    fila_idioma->addWidget(C_Idioma, 1);

    xpGroupBox2 = Grupo(this, "xpGroupBox2", QStringLiteral("Eliminar incidencias automáticamente cada"));
    R1 = Opcion(xpGroupBox2, "R1", QStringLiteral("No eliminar"));
    R2 = Opcion(xpGroupBox2, "R2", QStringLiteral("1 dia"));
    R3 = Opcion(xpGroupBox2, "R3", QString::fromUtf8("15 dias"));
    R4 = Opcion(xpGroupBox2, "R4", QString::fromUtf8("30 dias"));
    xpGroupBox2->hide();

    xpGroupBox3 = Grupo(this, "xpGroupBox3",
                        QString::fromUtf8("Liberar tarjetas al alcanzar fecha de caducidad cada"));
    R5 = Opcion(xpGroupBox3, "R5", QStringLiteral("No liberar"));
    R6 = Opcion(xpGroupBox3, "R6", QStringLiteral("Liberar"));

    xpGroupBox4 = Grupo(this, "xpGroupBox4", QStringLiteral("Testear los lectores cada"));
    R7 = Opcion(xpGroupBox4, "R7", QStringLiteral("No testear"));
    R8 = Opcion(xpGroupBox4, "R8", QStringLiteral("Testear"));

    xpGroupBox5 = Grupo(this, "xpGroupBox5", QStringLiteral("Lectura de tarjeta por lector"));
    CH_Lectura_Lector = new QCheckBox(QStringLiteral("Activar"), xpGroupBox5);
    CH_Lectura_Lector->setObjectName(QStringLiteral("CH_Lectura_Lector"));
    C_Lectores_Lectura = new QComboBox(xpGroupBox5);
    C_Lectores_Lectura->setObjectName(QStringLiteral("C_Lectores_Lectura"));
    C_Lectores_Lectura->setMinimumContentsLength(24);
    C_Lectores_Lectura->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto *fila_lector = new QHBoxLayout(xpGroupBox5);
    fila_lector->addWidget(CH_Lectura_Lector);
    fila_lector->addWidget(C_Lectores_Lectura, 1);

    B_Aceptar = disposicion::Boton(this, "B_Aceptar", QStringLiteral("Aceptar"));
    B_Cancelar = disposicion::Boton(this, "B_Cancelar", QStringLiteral("Cancelar"));
    B_Aceptar->setDefault(true);

    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(B_Aceptar);
    botones->addWidget(B_Cancelar);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    for (QGroupBox *g : {xpGroupBox1, xpGroupBox2, xpGroupBox3, xpGroupBox4, xpGroupBox5})
        caja->addWidget(g);
    caja->addLayout(botones);

    // Only the operator's own pick tells of the language change; filling the
    // list and selecting the current language do not.
    connect(C_Idioma, &QComboBox::activated, this, &TF_Parametros_app::C_IdiomaChange);
    connect(B_Aceptar, &QPushButton::clicked, this, [this] { done(Aceptado); });
    connect(B_Cancelar, &QPushButton::clicked, this, [this] { done(0); });

    Lang::Traducir_Ventana(this);
    CH_Lectura_Lector->setChecked(!Variables::USA_LECTOR.isEmpty());
}

void TF_Parametros_app::Prepara(const kv::wf::Parametros_App &actual, const QList<QPair<int, QString>> &lectores)
{
    m_actual = actual;
    // A value the window has no button for selects none and leaves the
    // previous choice, which applies it unchanged.
    const std::array<QRadioButton *, 4> borrado = {R1, R2, R3, R4};
    if (actual.El_inc >= 0 && actual.El_inc < 4)
        borrado[actual.El_inc]->setChecked(true);
    (actual.Liberar_tarj ? R6 : R5)->setChecked(true);
    (actual.Testear_cx ? R8 : R7)->setChecked(true);

    C_Lectores_Lectura->clear();
    CH_Lectura_Lector->setChecked(!actual.USA_LECTOR.isEmpty());
    // A stored reader the installation no longer has shows no entry.
    int elegido = -1;
    for (const auto &[numero, descripcion] : lectores) {
        C_Lectores_Lectura->addItem(QString::number(numero) + QLatin1Char(' ') + descripcion);
        if (!actual.USA_LECTOR.isEmpty() && actual.USA_LECTOR == QString::number(numero))
            elegido = C_Lectores_Lectura->count() - 1;
    }
    C_Lectores_Lectura->setCurrentIndex(elegido);

    for (int i = 0; i < C_Idioma->count(); ++i) {
        if (C_Idioma->itemText(i).compare(actual.Idioma, Qt::CaseInsensitive) == 0) {
            C_Idioma->setCurrentIndex(i);
            break;
        }
    }
}

kv::wf::Parametros_App TF_Parametros_app::Elegidos() const
{
    kv::wf::Parametros_App p = m_actual;
    const std::array<QRadioButton *, 4> borrado = {R1, R2, R3, R4};
    for (int i = 0; i < 4; ++i) {
        if (borrado[i]->isChecked())
            p.El_inc = i;
    }
    p.Liberar_tarj = R6->isChecked();
    p.Testear_cx = R8->isChecked();
    // Unticked, no reader reads card codes; ticked, the reader chosen does.
    p.USA_LECTOR = CH_Lectura_Lector->isChecked() ? Numero_Entrada(C_Lectores_Lectura->currentText()) : QString();
    // The stored name stays as written when the same language is shown.
    if (C_Idioma->currentIndex() >= 0 && C_Idioma->currentText().compare(p.Idioma, Qt::CaseInsensitive) != 0)
        p.Idioma = C_Idioma->currentText();
    return p;
}

void TF_Parametros_app::C_IdiomaChange()
{
    if (C_Idioma->currentText().compare(m_actual.Idioma, Qt::CaseInsensitive) != 0)
        kv::ui::Operador::Mensaje(this, Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_5")));
}
