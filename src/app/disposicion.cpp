#include "app/disposicion.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace disposicion {

QWidget *Panel(QWidget *padre, const char *nombre)
{
    auto *p = new QWidget(padre);
    p->setObjectName(QLatin1String(nombre));
    auto *caja = new QVBoxLayout(p);
    caja->setContentsMargins(0, 0, 0, 0);
    caja->setSpacing(4);
    return p;
}

QLabel *Etiqueta(QWidget *padre, const char *nombre, const QString &texto)
{
    auto *l = new QLabel(texto, padre);
    l->setObjectName(QLatin1String(nombre));
    return l;
}

QLabel *Titulo(QWidget *padre, const char *nombre, const QString &texto)
{
    QLabel *l = Etiqueta(padre, nombre, texto);
    QFont f = l->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.15);
    l->setFont(f);
    return l;
}

QPushButton *Boton(QWidget *padre, const char *nombre, const QString &texto)
{
    auto *b = new QPushButton(texto, padre);
    b->setObjectName(QLatin1String(nombre));
    b->setAutoDefault(false);
    return b;
}

QToolButton *Herramienta(QWidget *padre, const char *nombre, const QString &texto)
{
    auto *b = new QToolButton(padre);
    b->setObjectName(QLatin1String(nombre));
    b->setText(texto);
    b->setAutoRaise(true);
    return b;
}

QFrame *Barra(QWidget *padre, const char *nombre, QBoxLayout **fila)
{
    auto *barra = new QFrame(padre);
    barra->setObjectName(QLatin1String(nombre));
    barra->setFrameShape(QFrame::StyledPanel);
    barra->setFixedHeight(41);
    auto *h = new QHBoxLayout(barra);
    h->setContentsMargins(4, 4, 4, 4);
    h->setSpacing(4);
    *fila = h;
    return barra;
}

QLineEdit *Campo_Login(QWidget *padre, const char *nombre, bool oculto)
{
    auto *e = new QLineEdit(padre);
    e->setObjectName(QLatin1String(nombre));
    e->setMaxLength(30);
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^*]*")), e));
    if (oculto)
        e->setEchoMode(QLineEdit::Password);
    return e;
}

void Al_Frente(QWidget *ventana)
{
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

} // namespace disposicion
