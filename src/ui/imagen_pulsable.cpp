#include "ui/imagen_pulsable.h"

#include <QMouseEvent>

namespace kv::ui {

Imagen_Pulsable::Imagen_Pulsable(const QString &nombre, QWidget *padre)
    : QLabel(padre)
{
    setObjectName(nombre);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
}

void Imagen_Pulsable::mouseReleaseEvent(QMouseEvent *evento)
{
    if (evento->button() == Qt::LeftButton && rect().contains(evento->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(evento);
}

} // namespace kv::ui
