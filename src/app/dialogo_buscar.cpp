#include "app/dialogo_buscar.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

Dialogo_Buscar::Dialogo_Buscar(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Find_user"));
    setWindowTitle(QStringLiteral("Find"));
    Texto = new QLineEdit(this);
    Texto->setObjectName(QStringLiteral("Texto"));
    B_Buscar = new QPushButton(QStringLiteral("Find next"), this);
    B_Buscar->setObjectName(QStringLiteral("B_Buscar"));
    B_Buscar->setDefault(true);
    auto *fila = new QHBoxLayout(this);
    fila->addWidget(Texto, 1);
    fila->addWidget(B_Buscar);
    connect(B_Buscar, &QPushButton::clicked, this, [this] { emit Buscar(Texto->text()); });
}
