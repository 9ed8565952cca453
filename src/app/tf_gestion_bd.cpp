#include "app/tf_gestion_bd.h"

#include "app/interlocutor_ventanas.h"
#include "app/textos.h"

#include "lang/ui/descartateclas.h"
#include "lang/ui/traducir.h"
#include "model/variables.h"
#include "ui/accion.h"
#include "ui/cursor_espera.h"
#include "ui/dialogo_fichero.h"
#include "ui/operador.h"
#include "ui/principal.h"
#include "ui/selector_instalaciones.h"
#include "workflows/gestion_instalaciones.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *Boton(QWidget *padre, const char *nombre, const char *texto)
{
    auto *b = new QPushButton(QString::fromUtf8(texto), padre);
    b->setObjectName(QLatin1String(nombre));
    // Enter in the name field must not close the window.
    b->setAutoDefault(false);
    return b;
}

QLabel *Etiqueta(QWidget *padre, const char *nombre, const char *texto)
{
    auto *l = new QLabel(QString::fromUtf8(texto), padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

// The database tool reports each object it writes or reads: the window is
// repainted between them, while the operator's input waits until the end.
void Repinta(const QString &)
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The buttons that change the installations, off while an import runs and
// back however it ends.
class Botones_Ocupados {
public:
    Botones_Ocupados(std::initializer_list<QPushButton *> botones, std::function<void()> al_terminar)
        : m_botones(botones)
        , m_al_terminar(std::move(al_terminar))
    {
        for (QPushButton *b : m_botones)
            b->setEnabled(false);
    }
    ~Botones_Ocupados() { m_al_terminar(); }
    Botones_Ocupados(const Botones_Ocupados &) = delete;
    Botones_Ocupados &operator=(const Botones_Ocupados &) = delete;

private:
    QList<QPushButton *> m_botones;
    std::function<void()> m_al_terminar;
};

} // namespace

TF_Gestion_BD::TF_Gestion_BD(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("F_Gestion_BD"));
    setWindowTitle(QString::fromUtf8("Gestión de la Base de Datos"));
    setModal(true);

    Label1 = Etiqueta(this, "Label1", "Gestión de la instalación");
    QFont grande = Label1->font();
    grande.setBold(true);
    Label1->setFont(grande);

    xpGroupBox2 = new QGroupBox(QString::fromUtf8("Instalación"), this);
    xpGroupBox2->setObjectName(QStringLiteral("xpGroupBox2"));
    Label2 = Etiqueta(xpGroupBox2, "Label2", "Instalación Actual");
    C2 = new QComboBox(xpGroupBox2);
    C2->setObjectName(QStringLiteral("C2"));
    C2->setMinimumWidth(240);
    // An installation is chosen from the list only.
    new Lang::DescartaTeclas(C2);
    B_Eliminar = Boton(xpGroupBox2, "B_Eliminar", "Eliminar");
    Label3 = Etiqueta(xpGroupBox2, "Label3", "Nueva instalación");
    E_Nueva = new QLineEdit(xpGroupBox2);
    E_Nueva->setObjectName(QStringLiteral("E_Nueva"));
    // The main database keeps a name of up to 100 characters.
    E_Nueva->setMaxLength(100);
    B_Nueva = Boton(xpGroupBox2, "B_Nueva", "Crear");
    auto *rejilla = new QGridLayout(xpGroupBox2);
    rejilla->addWidget(Label2, 0, 0);
    rejilla->addWidget(C2, 0, 1);
    rejilla->addWidget(B_Eliminar, 0, 2);
    rejilla->addWidget(Label3, 1, 0);
    rejilla->addWidget(E_Nueva, 1, 1);
    rejilla->addWidget(B_Nueva, 1, 2);
    rejilla->setColumnStretch(1, 1);

    xpGroupBox1 = new QGroupBox(QStringLiteral("Exportar/Importar instalación"), this);
    xpGroupBox1->setObjectName(QStringLiteral("xpGroupBox1"));
    B_export = Boton(xpGroupBox1, "B_export", "Exportar");
    B_import = Boton(xpGroupBox1, "B_import", "Importar");
    auto *copia = new QHBoxLayout(xpGroupBox1);
    copia->addWidget(B_export);
    copia->addWidget(B_import);
    copia->addStretch();

    B_Salir = Boton(this, "B_Salir", "Cerrar");
    auto *pie = new QHBoxLayout;
    pie->addStretch();
    pie->addWidget(B_Salir);
    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addWidget(xpGroupBox2);
    caja->addWidget(xpGroupBox1);
    caja->addLayout(pie);

    SaveDialog1 = new kv::ui::Dialogo_Fichero(QStringLiteral("SaveDialog1"), kv::ui::Dialogo_Fichero::Guardar, this);
    SaveDialog1->setFiltro(QStringLiteral("KeyvaneData|*.kvd"));
    OpenDialog1 = new kv::ui::Dialogo_Fichero(QStringLiteral("OpenDialog1"), kv::ui::Dialogo_Fichero::Abrir, this);
    OpenDialog1->setFiltro(QStringLiteral("KeyvaneData|*.kvd"));

    // activated: the operator's choice only, not the list being filled.
    connect(C2, &QComboBox::activated, this, [this] { kv::ui::Ejecuta_Accion(this, [this] { C2Change(); }); });
    kv::ui::Al_Pulsar(B_Eliminar, this, [this] { B_EliminarClick(); });
    kv::ui::Al_Pulsar(B_Nueva, this, [this] { B_NuevaClick(); });
    kv::ui::Al_Pulsar(B_export, this, [this] { B_exportClick(); });
    kv::ui::Al_Pulsar(B_import, this, [this] { B_importClick(); });
    kv::ui::Al_Pulsar(B_Salir, this, [this] { B_SalirClick(); });

    Lang::Traducir_Ventana(this);
}

void TF_Gestion_BD::showEvent(QShowEvent *evento)
{
    kv::ui::Principal *principal = kv::ui::Principal::Actual();
    // The window is made before the main window, whose list it shows: it
    // follows that list from the first time it is shown.
    if (principal && !m_enlazada) {
        connect(&principal->Selector(), &kv::ui::Selector_Instalaciones::Cambiado, this, [this] { Muestra_Lista(); });
        m_enlazada = true;
    }
    Muestra_Lista();
    E_Nueva->clear();
    if (principal && principal->Ventana()) {
        adjustSize();
        move(principal->Ventana()->geometry().center() - rect().center());
    }
    QDialog::showEvent(evento);
}

void TF_Gestion_BD::Muestra_Lista()
{
    kv::ui::Principal *principal = kv::ui::Principal::Actual();
    if (!principal)
        return;
    const kv::ui::Selector_Instalaciones &s = principal->Selector();
    const QSignalBlocker bloqueo(C2);
    C2->clear();
    C2->addItems(s.Entradas());
    C2->setCurrentIndex(s.Seleccion());
    Habilita_Botones();
}

void TF_Gestion_BD::Habilita_Botones()
{
    kv::ui::Principal *principal = kv::ui::Principal::Actual();
    B_Eliminar->setEnabled(principal && principal->Selector().Eliminar_Habilitado() && C2->count() > 1);
    B_Nueva->setEnabled(true);
}

QString TF_Gestion_BD::Codigo() const
{
    return C2->currentIndex() < 0 ? QString() : textos::Codigo_Entrada(C2->currentText());
}

void TF_Gestion_BD::Abre(const QString &codigo)
{
    kv::ui::Principal *principal = kv::ui::Principal::Actual();
    if (!principal)
        return kv::wf::Apertura_Modelo(codigo);
    // The title, the tree root's suffix, the selection and the pages all
    // come with the list, as at start-up.
    principal->Selector().Vacia();
    principal->Carga_Instalaciones(codigo);
}

void TF_Gestion_BD::Close_instalacion()
{
    kv::wf::Cierra_Instalacion();
}

void TF_Gestion_BD::C2Change()
{
    const QString codigo = Codigo();
    kv::ui::Principal *principal = kv::ui::Principal::Actual();
    if (codigo.isEmpty() || !principal || C2->currentIndex() == principal->Selector().Seleccion())
        return;
    B_Eliminar->setEnabled(false);
    // A switch refused or failed shows the one open still.
    struct Al_Final {
        TF_Gestion_BD *v;
        ~Al_Final() { v->Muestra_Lista(); }
    } al_final{this};
    const kv::ui::Cursor_Espera espera;
    kv::wf::Cambia_Instalacion(codigo, Abre);
}

void TF_Gestion_BD::B_NuevaClick()
{
    if (E_Nueva->text().isEmpty())
        return;
    const kv::ui::Cursor_Espera espera;
    if (kv::wf::Crea_Instalacion(E_Nueva->text(), Abre) == 0)
        return;
    // The list now ends with the new one, which is open and selected.
    E_Nueva->clear();
}

void TF_Gestion_BD::B_EliminarClick()
{
    if (C2->currentIndex() < 0)
        return;
    Interlocutor_Ventanas operador(this);
    const kv::ui::Cursor_Espera espera;
    kv::wf::Elimina_Instalacion(Codigo(), C2->currentText(), operador, Abre);
}

void TF_Gestion_BD::B_exportClick()
{
    if (C2->currentIndex() < 0)
        return;
    const QString fichero = kv::ui::Operador::Fichero(this, *SaveDialog1);
    if (fichero.isEmpty())
        return;
    const kv::ui::Cursor_Espera espera;
    kv::wf::Exporta_Instalacion(Codigo(), kv::wf::Con_Extension_Kvd(fichero), Repinta);
}

void TF_Gestion_BD::B_importClick()
{
    const Botones_Ocupados ocupados({B_Eliminar, B_Nueva}, [this] { Muestra_Lista(); });
    if (C2->currentIndex() < 0)
        return;
    const QString fichero = kv::ui::Operador::Fichero(this, *OpenDialog1);
    if (fichero.isEmpty())
        return;
    const kv::ui::Cursor_Espera espera;
    kv::wf::Importa_Instalacion(Codigo(), fichero, Abre, Repinta);
}

void TF_Gestion_BD::B_SalirClick()
{
    const QString codigo = Codigo();
    if (!codigo.isEmpty()) {
        Variables::LAST_INSTALLATION = codigo;
        Variables::Guarda_Configuracion();
    }
    accept();
}
