#include "lang/ui/tf_select_lang.h"

#include "lang/lang.h"
#include "lang/ui/descartateclas.h"
#include "model/variables.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TF_Select_Lang::TF_Select_Lang(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("F_Select_Lang"));
    setWindowTitle(QStringLiteral("Keyvane"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Please select a language."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    C_Idioma = new QComboBox(this);
    C_Idioma->setObjectName(QStringLiteral("C_Idioma"));
    C_Idioma->setEditable(false);
    B_OK = new QPushButton(QStringLiteral("OK"), this);
    B_OK->setObjectName(QStringLiteral("B_OK"));
    B_OK->setDefault(true);

    auto *caja = new QVBoxLayout(this);
    caja->addWidget(Label1);
    caja->addWidget(C_Idioma);
    caja->addWidget(B_OK, 0, Qt::AlignHCenter);
    setFixedWidth(260);

    auto *teclas = new Lang::DescartaTeclas(C_Idioma);
    connect(teclas, &Lang::DescartaTeclas::intro, B_OK, &QPushButton::click);
    connect(B_OK, &QPushButton::clicked, this, &QDialog::accept);
}

void TF_Select_Lang::showEvent(QShowEvent *evento)
{
    C_Idioma->clear();
    C_Idioma->addItems(Lang::Idiomas_Disponibles());
    C_Idioma->setCurrentIndex(C_Idioma->count() > 0 ? 0 : -1);
    adjustSize();
    if (const QScreen *pantalla = screen())
        move(pantalla->availableGeometry().center() - rect().center());
    QDialog::showEvent(evento);
}

void TF_Select_Lang::done(int resultado)
{
    const QString elegido = C_Idioma->currentText();
    Variables::Idioma = elegido.isEmpty() ? Lang::Idioma_Por_Defecto : elegido;
    QDialog::done(resultado);
}
