#include "app/ventana_usuario.h"

#include "app/disposicion.h"
#include "app/interlocutor_ventanas.h"
#include "app/textos.h"
#include "app/tf_main.h"
#include "app/ventanas.h"

#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"
#include "platform/paths.h"
#include "ui/accion.h"
#include "ui/dialogo_fichero.h"
#include "ui/imagenes.h"
#include "ui/listas.h"
#include "ui/operador.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

using disposicion::Boton;
using disposicion::Etiqueta;

namespace {

QString Carpeta_Fotos()
{
    return kv::Paths::programDir() + QStringLiteral("/Pictures");
}

QGroupBox *Grupo(QWidget *padre, const char *nombre, const QString &titulo)
{
    auto *g = new QGroupBox(titulo, padre);
    g->setObjectName(QLatin1String(nombre));
    return g;
}

// A free name in Pictures/ for a photograph chosen elsewhere: its own name,
// or the same with a number when another picture already has it.
QString Nombre_Libre(const QString &origen)
{
    const QFileInfo info(origen);
    QString nombre = info.fileName();
    for (int n = 2; QFileInfo::exists(Carpeta_Fotos() + QLatin1Char('/') + nombre); ++n)
        nombre = QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(n).arg(info.suffix());
    return nombre;
}

} // namespace

Ventana_Usuario::Ventana_Usuario(const char *nombre, const QString &titulo, QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QLatin1String(nombre));
    setWindowTitle(titulo);

    Label1 = Etiqueta(this, "Label1", QStringLiteral("Nombre"));
    Label2 = Etiqueta(this, "Label2", QStringLiteral("Apellidos"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(kv::wf::Largo_Nombre);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(kv::wf::Largo_Apellidos);
    I_Foto = new QLabel(this);
    I_Foto->setObjectName(QStringLiteral("I_Foto"));
    I_Foto->setFixedSize(110, 130);
    I_Foto->setFrameShape(QFrame::Box);
    I_Foto->setScaledContents(true);
    B_Foto = Boton(this, "B_Foto", QStringLiteral("..."));
    B_Quit_Foto = Boton(this, "B_Quit_Foto", QStringLiteral("X"));
    OP1 = new kv::ui::Dialogo_Fichero(QStringLiteral("OP1"), kv::ui::Dialogo_Fichero::Abrir, this);
    OP1->setFiltro(QStringLiteral("Pictures|*.jpg;*.jpeg;*.png;*.bmp;*.gif|All|*"));

    xpGroupBox1 = Grupo(this, "xpGroupBox1", QStringLiteral("Tarjetas"));
    Label3 = Etiqueta(xpGroupBox1, "Label3", QStringLiteral("Tarjeta"));
    C_Tarjetas = new QComboBox(xpGroupBox1);
    C_Tarjetas->setObjectName(QStringLiteral("C_Tarjetas"));
    C_Tarjetas->setEditable(true);
    C_Tarjetas->setInsertPolicy(QComboBox::NoInsert);
    // Digits only, ten at most: a letter would reach the controller as a zero.
    C_Tarjetas->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), C_Tarjetas));
    CH1 = new QCheckBox(QStringLiteral("Tarjetas libres"), xpGroupBox1);
    CH1->setObjectName(QStringLiteral("CH1"));
    B_Mas = Boton(xpGroupBox1, "B_Mas", QStringLiteral("+"));
    B_Eliminar = Boton(xpGroupBox1, "B_Eliminar", QStringLiteral("-"));
    Lista1 = kv::ui::Nueva_Lista(xpGroupBox1, QStringLiteral("Lista1"),
                                 {QStringLiteral("Tarjeta"), QStringLiteral("Fecha alta"), QStringLiteral("Fecha caducida")},
                                 false);
    Lista1->setColumnWidth(0, 110);
    Lista1->setColumnWidth(1, 130);

    xpGroupBox2 = Grupo(this, "xpGroupBox2", QStringLiteral("Lectores por los que se le permite acceso"));
    CHLista1 = new QListWidget(xpGroupBox2);
    CHLista1->setObjectName(QStringLiteral("CHLista1"));

    xpGroupBox3 = Grupo(this, "xpGroupBox3", QStringLiteral("Caducidad"));
    CH_Usar_Caducidad = new QCheckBox(QStringLiteral("Usar fecha caducidad"), xpGroupBox3);
    CH_Usar_Caducidad->setObjectName(QStringLiteral("CH_Usar_Caducidad"));
    Label4 = Etiqueta(xpGroupBox3, "Label4", QStringLiteral("Fecha"));
    E_Fecha_cad = new QDateEdit(xpGroupBox3);
    E_Fecha_cad->setObjectName(QStringLiteral("E_Fecha_cad"));
    E_Fecha_cad->setCalendarPopup(true);
    E_Hora_cad = new QTimeEdit(xpGroupBox3);
    E_Hora_cad->setObjectName(QStringLiteral("E_Hora_cad"));
    Label5 = Etiqueta(xpGroupBox3, "Label5",
                      QString::fromUtf8("Se liberarán las tarjetas cuando alcance su fecha de caducidad."));
    Label5->setWordWrap(true);
    B_Aceptar = Boton(this, "B_Aceptar", QStringLiteral("Aceptar"));
    B_Cancelar = Boton(this, "B_Cancelar", QStringLiteral("Cancelar"));

    auto *nombres = new QGridLayout;
    nombres->addWidget(Label1, 0, 0);
    nombres->addWidget(Edit1, 0, 1);
    nombres->addWidget(Label2, 1, 0);
    nombres->addWidget(Edit2, 1, 1);
    auto *foto = new QVBoxLayout;
    foto->addWidget(I_Foto);
    auto *botones_foto = new QHBoxLayout;
    botones_foto->addWidget(B_Foto);
    botones_foto->addWidget(B_Quit_Foto);
    foto->addLayout(botones_foto);
    auto *cabecera = new QHBoxLayout;
    cabecera->addLayout(nombres, 1);
    cabecera->addLayout(foto);

    auto *tarjetas = new QGridLayout(xpGroupBox1);
    tarjetas->addWidget(Label3, 0, 0);
    tarjetas->addWidget(C_Tarjetas, 0, 1);
    tarjetas->addWidget(B_Mas, 0, 2);
    tarjetas->addWidget(B_Eliminar, 0, 3);
    tarjetas->addWidget(CH1, 1, 1, 1, 3);
    tarjetas->addWidget(Lista1, 2, 0, 1, 4);
    (new QVBoxLayout(xpGroupBox2))->addWidget(CHLista1);
    auto *caducidad = new QGridLayout(xpGroupBox3);
    caducidad->addWidget(CH_Usar_Caducidad, 0, 0, 1, 3);
    caducidad->addWidget(Label4, 1, 0);
    caducidad->addWidget(E_Fecha_cad, 1, 1);
    caducidad->addWidget(E_Hora_cad, 1, 2);
    caducidad->addWidget(Label5, 2, 0, 1, 3);
    auto *centro = new QHBoxLayout;
    centro->addWidget(xpGroupBox1, 3);
    auto *derecha = new QVBoxLayout;
    derecha->addWidget(xpGroupBox2, 1);
    derecha->addWidget(xpGroupBox3);
    centro->addLayout(derecha, 2);
    auto *pie = new QHBoxLayout;
    pie->addStretch();
    pie->addWidget(B_Aceptar);
    pie->addWidget(B_Cancelar);
    auto *caja = new QVBoxLayout(this);
    caja->addLayout(cabecera);
    caja->addLayout(centro, 1);
    caja->addLayout(pie);
    resize(760, 520);

    kv::ui::Al_Pulsar(B_Mas, this, [this] { B_MasClick(); });
    kv::ui::Al_Pulsar(B_Eliminar, this, [this] { B_EliminarClick(); });
    kv::ui::Al_Pulsar(B_Foto, this, [this] { B_FotoClick(); });
    kv::ui::Al_Pulsar(B_Quit_Foto, this, [this] { B_Quit_FotoClick(); });
    kv::ui::Al_Pulsar(CH1, this, [this] { Rellena_Tarjetas(); });
    kv::ui::Al_Pulsar(CH_Usar_Caducidad, this, [this] { Muestra_Habilita_caducidad(); });
    kv::ui::Al_Pulsar(B_Aceptar, this, [this] { B_AceptarClick(); });
    connect(B_Cancelar, &QPushButton::clicked, this, &QWidget::close);
    // Enter in the card field adds the code.
    connect(C_Tarjetas->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { kv::ui::Ejecuta_Accion(this, [this] { B_MasClick(); }); });
}

Ventana_Usuario::~Ventana_Usuario() = default;

void Ventana_Usuario::Prepara(bool marcar_lectores)
{
    Lista1->clear();
    C_Tarjetas->setEditText(QString());
    Rellena_Tarjetas();
    CHLista1->clear();
    if (ZARVColeccionControlador *c = Globales::Sistema ? Globales::Sistema->Controladores() : nullptr) {
        for (int i = 0; i < c->Cuenta(); ++i) {
            const auto ctl = c->Elemento(i);
            auto *e = new QListWidgetItem(QString::number(ctl->Cod()) + QLatin1Char(' ') + ctl->Descripcion(), CHLista1);
            e->setData(Qt::UserRole, ctl->Cod());
            e->setFlags(e->flags() | Qt::ItemIsUserCheckable);
            e->setCheckState(marcar_lectores ? Qt::Checked : Qt::Unchecked);
        }
    }
    Habilita(true);
}

void Ventana_Usuario::Rellena_Tarjetas()
{
    const QString escrito = C_Tarjetas->currentText();
    C_Tarjetas->clear();
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    if (tarjetas) {
        tarjetas->Refrescar();
        for (int i = 0; i < tarjetas->Cuenta(); ++i) {
            const auto t = tarjetas->Elemento(i);
            if (CH1->isChecked() && t->Usuario())
                continue;
            C_Tarjetas->addItem(kv::ui::Icono(t->Usuario() ? kv::ui::Icono_Tarjeta_Aceptada : kv::ui::Icono_Tarjeta),
                                t->Codigo_Tarjeta());
        }
    }
    // Nothing chosen from the list: the field shows what was typed, without an entry's icon.
    C_Tarjetas->setCurrentIndex(-1);
    C_Tarjetas->setEditText(escrito);
}

bool Ventana_Usuario::esta_en_lista() const
{
    const QString codigo = C_Tarjetas->currentText();
    for (int i = 0; i < Lista1->topLevelItemCount(); ++i)
        if (Lista1->topLevelItem(i)->text(0) == codigo)
            return true;
    return false;
}

void Ventana_Usuario::Anade_Fila(const QString &codigo)
{
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema ? Globales::Sistema->Tarjetas() : nullptr;
    const auto t = tarjetas ? tarjetas->Busca(codigo) : nullptr;
    auto *fila = new QTreeWidgetItem(Lista1);
    fila->setText(0, codigo);
    if (!t) {
        kv::ui::Pon_Icono(fila, 0, kv::ui::Icono_Pendiente);
        return;
    }
    fila->setText(1, textos::Fecha_Hora(t->Fecha_Alta()));
    fila->setText(2, t->Usar_Fecha_Cad() ? textos::Fecha_Hora(t->Fecha_Caducidad()) : QString());
    kv::ui::Pon_Icono(fila, 0, t->Usuario() ? kv::ui::Icono_Tarjeta_Aceptada : kv::ui::Icono_Tarjeta);
}

void Ventana_Usuario::B_MasClick()
{
    const std::optional<QString> codigo = kv::wf::Codigo_Tarjeta(C_Tarjetas->currentText());
    if (!codigo)
        return;
    C_Tarjetas->setEditText(*codigo);
    if (esta_en_lista())
        return;
    Anade_Fila(*codigo);
}

void Ventana_Usuario::B_EliminarClick()
{
    delete Lista1->currentItem();
}

void Ventana_Usuario::B_FotoClick()
{
    OP1->setCarpeta(Carpeta_Fotos());
    const QString elegido = kv::ui::Operador::Fichero(this, *OP1);
    if (elegido.isEmpty())
        return;
    if (QImage(elegido).isNull()) {
        kv::ui::Operador::Mensaje(this, Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_47")) + QLatin1Char(' ')
                                            + QDir::toNativeSeparators(elegido));
        return;
    }
    // A photograph from anywhere is kept in Pictures/; the user row holds its name.
    QString nombre = QFileInfo(elegido).fileName();
    const bool en_carpeta = QFileInfo(elegido).absoluteDir() == QDir(Carpeta_Fotos());
    if (!en_carpeta) {
        nombre = Nombre_Libre(elegido);
        QDir().mkpath(Carpeta_Fotos());
        if (!QFile::copy(elegido, Carpeta_Fotos() + QLatin1Char('/') + nombre))
            throw std::runtime_error(QStringLiteral("Cannot copy %1 into %2").arg(elegido, Carpeta_Fotos()).toStdString());
    }
    Pon_Fotografia(nombre);
}

void Ventana_Usuario::Pon_Fotografia(const QString &nombre)
{
    m_foto.clear();
    I_Foto->clear();
    if (nombre.isEmpty())
        return;
    const QPixmap foto(Carpeta_Fotos() + QLatin1Char('/') + nombre);
    if (foto.isNull())
        return;
    I_Foto->setPixmap(foto);
    m_foto = nombre;
}

void Ventana_Usuario::B_Quit_FotoClick()
{
    Pon_Fotografia(QString());
}

void Ventana_Usuario::Muestra_Habilita_caducidad()
{
    const bool si = CH_Usar_Caducidad->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(E_Fecha_cad), static_cast<QWidget *>(E_Hora_cad),
                       static_cast<QWidget *>(Label4), static_cast<QWidget *>(Label5)})
        w->setEnabled(si);
}

void Ventana_Usuario::Recibida_Lectura(const QString &tarjeta)
{
    // The event's card text is the card's code, whole; anything that is not
    // a ten-digit code would enrol another card.
    if (tarjeta.size() != 10 || !kv::wf::Codigo_Tarjeta(tarjeta))
        return;
    C_Tarjetas->setEditText(tarjeta);
}

std::vector<int> Ventana_Usuario::Lectores_Marcados() const
{
    std::vector<int> marcados;
    for (int i = 0; i < CHLista1->count(); ++i)
        if (CHLista1->item(i)->checkState() == Qt::Checked)
            marcados.push_back(CHLista1->item(i)->data(Qt::UserRole).toInt());
    return marcados;
}

kv::wf::Datos_Usuario Ventana_Usuario::Datos() const
{
    kv::wf::Datos_Usuario d;
    d.nombre = Edit1->text();
    d.apellidos = Edit2->text();
    d.fotografia = m_foto;
    for (int i = 0; i < Lista1->topLevelItemCount(); ++i)
        d.tarjetas << Lista1->topLevelItem(i)->text(0);
    d.lectores = Lectores_Marcados();
    d.usar_caducidad = CH_Usar_Caducidad->isChecked();
    d.caducidad = QDateTime(E_Fecha_cad->date(), E_Hora_cad->time());
    return d;
}

void Ventana_Usuario::Habilita(bool si)
{
    for (QWidget *w : {static_cast<QWidget *>(B_Aceptar), static_cast<QWidget *>(B_Cancelar),
                       static_cast<QWidget *>(Edit1), static_cast<QWidget *>(Edit2), static_cast<QWidget *>(B_Foto),
                       static_cast<QWidget *>(B_Quit_Foto), static_cast<QWidget *>(B_Mas),
                       static_cast<QWidget *>(B_Eliminar)})
        w->setEnabled(si);
}

void Ventana_Usuario::B_AceptarClick()
{
    Habilita(false);
    struct Fin {
        Ventana_Usuario *v;
        ~Fin()
        {
            v->Habilita(true);
            if (Ventanas::F_Main)
                Ventanas::F_Main->Refrescar_usuariosII();
        }
    } fin{this};
    Guarda(Datos());
}

void Ventana_Usuario::showEvent(QShowEvent *evento)
{
    QWidget::showEvent(evento);
    m_retencion.Toma(this, [this](const QString &c) { Recibida_Lectura(c); });
}

void Ventana_Usuario::closeEvent(QCloseEvent *evento)
{
    m_retencion.Suelta();
    QWidget::closeEvent(evento);
}

void Ventana_Usuario::hideEvent(QHideEvent *evento)
{
    m_retencion.Suelta();
    QWidget::hideEvent(evento);
}
