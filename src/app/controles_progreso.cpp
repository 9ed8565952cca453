#include "app/controles_progreso.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int Fotogramas = 12;

void Carpeta(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(150, 110, 30), 1));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(r.left(), r.top() + r.height() * 0.2, r.width(), r.height() * 0.8));
    p.drawRect(QRectF(r.left(), r.top(), r.width() * 0.4, r.height() * 0.2));
}

} // namespace

Barra_Progreso::Barra_Progreso(QWidget *parent) : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
}

void Barra_Progreso::StepIt()
{
    setValue(std::clamp(value() + m_paso, minimum(), maximum()));
}

Animacion_Copia::Animacion_Copia(QWidget *parent) : QWidget(parent), m_reloj(new QTimer(this))
{
    m_reloj->setInterval(90);
    connect(m_reloj, &QTimer::timeout, this, [this] {
        m_fotograma = (m_fotograma + 1) % Fotogramas;
        update();
    });
}

bool Animacion_Copia::Active() const
{
    return m_reloj->isActive();
}

void Animacion_Copia::SetActive(bool activa)
{
    if (activa)
        m_reloj->start();
    else
        m_reloj->stop();
    m_fotograma = 0;
    update();
}

QSize Animacion_Copia::sizeHint() const
{
    return {272, 60};
}

void Animacion_Copia::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double alto = height() * 0.6;
    const double ancho = alto * 1.2;
    const double arriba = (height() - alto) / 2;
    const QRectF origen(8, arriba, ancho, alto);
    const QRectF destino(width() - 8 - ancho, arriba, ancho, alto);
    Carpeta(p, origen);
    Carpeta(p, destino);
    if (!Active())
        return;
    // The sheet rises out of one folder, arcs over and drops into the other.
    const double t = static_cast<double>(m_fotograma) / (Fotogramas - 1);
    const double x = origen.center().x() + (destino.center().x() - origen.center().x()) * t;
    const double y = arriba + alto * 0.3 - 4.0 * t * (1 - t) * alto * 0.5;
    const QRectF hoja(x - alto * 0.2, y - alto * 0.25, alto * 0.4, alto * 0.5);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::white);
    p.drawRect(hoja);
    p.drawLine(QPointF(hoja.left() + 2, hoja.top() + hoja.height() * 0.35),
               QPointF(hoja.right() - 2, hoja.top() + hoja.height() * 0.35));
    p.drawLine(QPointF(hoja.left() + 2, hoja.top() + hoja.height() * 0.65),
               QPointF(hoja.right() - 2, hoja.top() + hoja.height() * 0.65));
}
