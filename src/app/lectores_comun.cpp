#include "app/lectores_comun.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

namespace lectores {

void Pausa(int ms)
{
    QEventLoop bucle;
    QTimer::singleShot(ms, &bucle, &QEventLoop::quit);
    bucle.exec(QEventLoop::ExcludeUserInputEvents);
}

void Solo_Digitos(QLineEdit *edit, int longitud)
{
    edit->setMaxLength(longitud);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}

} // namespace lectores
