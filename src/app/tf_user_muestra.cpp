#include "app/tf_user_muestra.h"

#include "app/disposicion.h"

#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"
#include "platform/paths.h"

#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

// The user row keeps the photograph's name in Pictures/, as the user windows
// store it; a full path written by hand into the row is taken as it is.
QString Ruta_Foto(const QString &nombre)
{
    return QDir(kv::Paths::programDir() + QStringLiteral("/Pictures")).filePath(nombre);
}

QGroupBox *Grupo(QWidget *padre, const char *nombre, const QString &titulo)
{
    auto *g = new QGroupBox(titulo, padre);
    g->setObjectName(QLatin1String(nombre));
    return g;
}

QListWidget *Lista(QWidget *padre, const char *nombre)
{
    auto *l = new QListWidget(padre);
    l->setObjectName(QLatin1String(nombre));
    l->setSelectionMode(QAbstractItemView::NoSelection);
    return l;
}

} // namespace

TF_User_Muestra::TF_User_Muestra(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("F_User_Muestra"));
    setWindowTitle(QStringLiteral("Usuario"));

    P_Foto = new QFrame(this);
    P_Foto->setObjectName(QStringLiteral("P_Foto"));
    P_Foto->setFrameShape(QFrame::Box);
    I_Foto = new QLabel(P_Foto);
    I_Foto->setObjectName(QStringLiteral("I_Foto"));
    I_Foto->setFixedSize(110, 130);
    I_Foto->setAlignment(Qt::AlignCenter);
    auto *foto = new QVBoxLayout(P_Foto);
    foto->setContentsMargins(2, 2, 2, 2);
    foto->addWidget(I_Foto);

    L_Nombre = disposicion::Titulo(this, "L_Nombre", QStringLiteral("Nombre"));
    L_Apellidos = disposicion::Titulo(this, "L_Apellidos", QStringLiteral("Apellidos"));
    for (QLabel *l : {L_Nombre, L_Apellidos})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);

    xpGroupBox4 = Grupo(this, "xpGroupBox4", QStringLiteral("Tarjetas"));
    Lista_Tarjetas = Lista(xpGroupBox4, "Lista_Tarjetas");
    (new QVBoxLayout(xpGroupBox4))->addWidget(Lista_Tarjetas);
    xpGroupBox1 = Grupo(this, "xpGroupBox1", QStringLiteral("Lectores de acceso"));
    CHLista1 = Lista(xpGroupBox1, "CHLista1");
    (new QVBoxLayout(xpGroupBox1))->addWidget(CHLista1);

    auto *nombres = new QVBoxLayout;
    nombres->addWidget(L_Nombre);
    nombres->addWidget(L_Apellidos);
    nombres->addStretch();
    auto *cabecera = new QHBoxLayout;
    cabecera->addWidget(P_Foto);
    cabecera->addLayout(nombres, 1);
    auto *listas = new QHBoxLayout;
    listas->addWidget(xpGroupBox4, 1);
    listas->addWidget(xpGroupBox1, 1);
    auto *caja = new QVBoxLayout(this);
    caja->addLayout(cabecera);
    caja->addLayout(listas, 1);
    resize(520, 380);

    Lang::Traducir_Ventana(this);
}

void TF_User_Muestra::Vacia()
{
    L_Nombre->clear();
    L_Apellidos->clear();
    Lista_Tarjetas->clear();
    CHLista1->clear();
    I_Foto->clear();
}

bool TF_User_Muestra::Muestra_Usuario(int id)
{
    Vacia();
    try {
        return Rellena(id);
    } catch (...) {
        // Half a cardholder is worse than none: the names of one and the
        // cards of nobody would be read as that cardholder's.
        Vacia();
        throw;
    }
}

bool TF_User_Muestra::Rellena(int id)
{
    // A negative number names nobody: -1 marks a row without a cardholder.
    if (id < 0)
        return false;
    ZARVSistema *sistema = Globales::Sistema.get();
    ZARVColeccionUsuario *usuarios = sistema ? sistema->Usuarios() : nullptr;
    const auto u = usuarios ? usuarios->Busca(id) : nullptr;
    if (!u)
        return false;
    L_Nombre->setText(u->Nombre());
    L_Apellidos->setText(u->Apellidos());

    if (ZARVColeccionControlador *lectores = sistema->Controladores()) {
        for (int i = 0; i < lectores->Cuenta(); ++i) {
            const auto ctl = lectores->Elemento(i);
            auto *e = new QListWidgetItem(QString::number(ctl->Cod()) + QLatin1Char(' ') + ctl->Descripcion(), CHLista1);
            e->setData(Qt::UserRole, ctl->Cod());
            // The box shows the state; without ItemIsUserCheckable a click
            // cannot change it, which would suggest the card was changed.
            e->setFlags(Qt::ItemIsEnabled);
            e->setCheckState(Qt::Unchecked);
        }
    }

    // A photograph gone since, or a file that is no picture, must not hide
    // the cardholder's data: the window shows without one.
    if (!u->Fotografia().isEmpty())
        Pon_Foto(u->Fotografia());

    for (const TTarjetaElemento &e : usuarios->Tarjetas_Usuario(*u)) {
        new QListWidgetItem(e.Tarjeta->Codigo_Tarjeta(), Lista_Tarjetas);
        Averigua_que_controloadores(*e.Tarjeta);
    }
    return true;
}

void TF_User_Muestra::Averigua_que_controloadores(const ZARVTarjeta &tarjeta)
{
    for (const TControladorTarjeta &a : tarjeta.Controladores()) {
        if (!a.Controlador)
            continue;
        for (int i = 0; i < CHLista1->count(); ++i)
            if (CHLista1->item(i)->data(Qt::UserRole).toInt() == a.Controlador->Cod())
                CHLista1->item(i)->setCheckState(Qt::Checked);
    }
}

void TF_User_Muestra::Pon_Foto(const QString &nombre)
{
    // Scaled while it is read: a camera's full-size picture would otherwise
    // be decoded whole only to be shown in a box this small.
    QImageReader lector(Ruta_Foto(nombre));
    lector.setAutoTransform(true);
    const QSize original = lector.size();
    if (original.isValid())
        lector.setScaledSize(original.scaled(I_Foto->size(), Qt::KeepAspectRatio));
    const QImage imagen = lector.read();
    if (imagen.isNull())
        return;
    // Fitted again once read: a picture turned by its orientation tag comes
    // back with its sides swapped.
    I_Foto->setPixmap(QPixmap::fromImage(imagen.scaled(I_Foto->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}
