// The images are drawn here with QPainter, made for this program: no picture
// files to ship or license. Each is laid out on a 16-unit grid and scaled.
#include "ui/imagenes.h"

#include <QPainter>
#include <QPainterPath>
#include <QTreeWidgetItem>

#include <array>
#include <functional>

namespace kv::ui {
namespace {

const QColor Verde(46, 139, 87);
const QColor Rojo(200, 48, 48);
const QColor Ambar(230, 150, 20);
const QColor Azul(40, 100, 180);
const QColor Gris(110, 110, 110);
const QColor Madera(150, 100, 50);

void tarjeta(QPainter &p, const QColor &color)
{
    p.setPen(QPen(color.darker(140), 0.8));
    p.setBrush(color.lighter(150));
    p.drawRoundedRect(QRectF(1, 3.5, 11, 8), 1.2, 1.2);
    p.setPen(QPen(color.darker(160), 1));
    p.drawLine(QPointF(3, 9), QPointF(8, 9));
    p.setBrush(color.darker(120));
    p.drawRect(QRectF(3, 5.5, 2.5, 2));
}

void insignia(QPainter &p, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(8.5, 8.5, 7, 7));
}

void marca(QPainter &p)
{
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath c;
    c.moveTo(10.2, 12);
    c.lineTo(11.7, 13.6);
    c.lineTo(14, 10.4);
    p.setBrush(Qt::NoBrush);
    p.drawPath(c);
}

void cruz(QPainter &p, const QPointF &centro, double r, const QColor &color, double grueso)
{
    p.setPen(QPen(color, grueso, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centro + QPointF(-r, -r), centro + QPointF(r, r));
    p.drawLine(centro + QPointF(-r, r), centro + QPointF(r, -r));
}

void reloj(QPainter &p, const QRectF &r, const QColor &color)
{
    p.setPen(QPen(color.darker(130), 1));
    p.setBrush(color);
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = r.center();
    p.drawLine(c, c + QPointF(0, -r.height() * 0.32));
    p.drawLine(c, c + QPointF(r.width() * 0.25, 0));
}

void puerta(QPainter &p, bool abierta)
{
    p.setPen(QPen(Gris, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 1.5, 10, 13));
    p.setBrush(Madera);
    p.setPen(QPen(Madera.darker(150), 0.8));
    if (abierta) {
        QPolygonF hoja;
        hoja << QPointF(3, 1.5) << QPointF(8, 3.5) << QPointF(8, 15.5) << QPointF(3, 14.5);
        p.drawPolygon(hoja);
    } else {
        p.drawRect(QRectF(3.5, 2, 9, 12.5));
        p.setBrush(Qt::yellow);
        p.drawEllipse(QRectF(10, 8, 1.6, 1.6));
    }
}

void punto(QPainter &p, const QColor &color)
{
    p.setPen(QPen(color.darker(140), 1));
    p.setBrush(color);
    p.drawEllipse(QRectF(3, 3, 10, 10));
}

void calendario(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(Gris, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setBrush(Rojo);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.25));
    p.setPen(Qt::NoPen);
    p.setBrush(Gris);
    for (int f = 0; f < 3; ++f)
        for (int c = 0; c < 3; ++c)
            p.drawRect(QRectF(r.left() + r.width() * (0.15 + 0.27 * c), r.top() + r.height() * (0.38 + 0.2 * f),
                              r.width() * 0.15, r.height() * 0.12));
}

void persona(QPainter &p, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QRectF(5, 1.5, 6, 6));
    QPainterPath cuerpo;
    cuerpo.moveTo(2, 15);
    cuerpo.cubicTo(2, 8, 14, 8, 14, 15);
    cuerpo.closeSubpath();
    p.drawPath(cuerpo);
}

void llave(QPainter &p)
{
    p.setPen(QPen(Ambar.darker(140), 1));
    p.setBrush(Ambar);
    p.drawEllipse(QRectF(1.5, 4, 7, 7));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(3.5, 6.5, 2, 2));
    p.setBrush(Ambar);
    p.drawRect(QRectF(8, 6.8, 7, 1.8));
    p.drawRect(QRectF(12, 8.5, 1.5, 2.5));
    p.drawRect(QRectF(14, 8.5, 1.2, 2));
}

void triangulo(QPainter &p, const QColor &color)
{
    QPolygonF t;
    t << QPointF(8, 1.5) << QPointF(15, 14.5) << QPointF(1, 14.5);
    p.setPen(QPen(color.darker(140), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(color);
    p.drawPolygon(t);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 5.5), QPointF(8, 10));
    p.drawPoint(QPointF(8, 12.5));
}

void dibuja_icono(QPainter &p, int indice)
{
    switch (indice) {
    case Icono_Evento:
        p.setPen(QPen(Gris, 1));
        p.setBrush(QColor(220, 220, 220));
        p.drawEllipse(QRectF(4, 4, 8, 8));
        break;
    case Icono_Tarjeta_Rechazada:
        tarjeta(p, Azul);
        insignia(p, Rojo);
        cruz(p, QPointF(12, 12), 1.6, Qt::white, 1.4);
        break;
    case Icono_Tarjeta_Aceptada:
        tarjeta(p, Azul);
        insignia(p, Verde);
        marca(p);
        break;
    case Icono_Elemento:
        persona(p, Azul);
        break;
    case Icono_Pendiente:
        reloj(p, QRectF(1.5, 1.5, 13, 13), Ambar);
        break;
    case Icono_Login:
        llave(p);
        break;
    case Icono_Tarjeta:
        tarjeta(p, Verde);
        break;
    case Icono_Puerta_Cerrada:
        puerta(p, false);
        break;
    case Icono_Alarma:
        triangulo(p, Rojo);
        break;
    case Icono_Puerta_Abierta:
        puerta(p, true);
        break;
    case Icono_Calendario:
        calendario(p, QRectF(1.5, 2, 13, 12.5));
        break;
    case Icono_Sin_Respuesta:
        punto(p, Rojo);
        cruz(p, QPointF(8, 8), 2.2, Qt::white, 1.5);
        break;
    case Icono_Responde:
        punto(p, Verde);
        p.save();
        p.translate(-4, -4);
        marca(p);
        p.restore();
        break;
    case Icono_Diferencia:
        punto(p, Ambar);
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 5.5), QPointF(8, 8.8));
        p.drawPoint(QPointF(8, 10.8));
        break;
    default:
        break;
    }
}

QPixmap pinta(int lado, const std::function<void(QPainter &)> &dibujo)
{
    QPixmap pm(lado, lado);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 16.0, lado / 16.0);
    dibujo(p);
    return pm;
}

} // namespace

QIcon Icono(int indice)
{
    static std::array<QIcon, Numero_Iconos> lista;
    if (indice < 0 || indice >= Numero_Iconos)
        return QIcon();
    QIcon &icono = lista[static_cast<std::size_t>(indice)];
    if (icono.isNull()) {
        for (int lado : {16, 24, 32})
            icono.addPixmap(pinta(lado, [indice](QPainter &p) { dibuja_icono(p, indice); }));
    }
    return icono;
}

QPixmap Imagen(Dibujo dibujo, int lado)
{
    return pinta(lado, [dibujo](QPainter &p) {
        switch (dibujo) {
        case Dibujo::Incidencias:
            puerta(p, true);
            p.save();
            p.translate(6, 6);
            p.scale(0.6, 0.6);
            tarjeta(p, Azul);
            p.restore();
            break;
        case Dibujo::Presencia:
            calendario(p, QRectF(1, 1.5, 10, 10));
            reloj(p, QRectF(7.5, 7.5, 8, 8), Azul);
            break;
        case Dibujo::Camaras:
            p.setPen(QPen(Gris.darker(130), 1));
            p.setBrush(Gris);
            p.drawRoundedRect(QRectF(1, 5, 10, 7), 1, 1);
            p.drawPolygon(QPolygonF({QPointF(11, 7.5), QPointF(15, 5.5), QPointF(15, 11.5), QPointF(11, 9.5)}));
            p.setBrush(Azul.lighter(140));
            p.drawEllipse(QRectF(3, 6.5, 4, 4));
            break;
        case Dibujo::Registro_Apagado:
            p.setPen(QPen(Verde.darker(130), 1));
            p.setBrush(Verde);
            p.drawEllipse(QRectF(1, 1, 14, 14));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygonF({QPointF(6, 4.5), QPointF(12, 8), QPointF(6, 11.5)}));
            break;
        case Dibujo::Registro_Encendido:
            p.setPen(QPen(Rojo.darker(130), 1));
            p.setBrush(Rojo);
            p.drawEllipse(QRectF(1, 1, 14, 14));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5, 5, 6, 6));
            break;
        }
    });
}

void Pon_Icono(QTreeWidgetItem *fila, int columna, int indice)
{
    if (indice < 0) {
        fila->setIcon(columna, QIcon());
        fila->setData(columna, Rol_Icono, QVariant());
        return;
    }
    fila->setIcon(columna, Icono(indice));
    fila->setData(columna, Rol_Icono, indice);
}

int Icono_De(const QTreeWidgetItem *fila, int columna)
{
    const QVariant v = fila->data(columna, Rol_Icono);
    return v.isValid() ? v.toInt() : -1;
}

} // namespace kv::ui
