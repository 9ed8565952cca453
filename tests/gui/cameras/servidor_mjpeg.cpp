#include "servidor_mjpeg.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
const QByteArray Limite = "kvframe";
}

struct Servidor_Mjpeg::Cliente {
    QTcpSocket *socket = nullptr;
    QByteArray peticion;
    bool transmitiendo = false;
    int enviados = 0;
    int siguiente = 0;
};

Servidor_Mjpeg::Servidor_Mjpeg(QObject *padre)
    : QObject(padre)
    , m_servidor(new QTcpServer(this))
{
    connect(m_servidor, &QTcpServer::newConnection, this, &Servidor_Mjpeg::Nueva);
    connect(&m_reloj, &QTimer::timeout, this, &Servidor_Mjpeg::Tick);
    m_reloj.setTimerType(Qt::PreciseTimer);
}

Servidor_Mjpeg::~Servidor_Mjpeg()
{
    for (Cliente *c : std::as_const(m_clientes))
        delete c;
}

bool Servidor_Mjpeg::Escucha()
{
    return m_servidor->listen(QHostAddress::LocalHost);
}

quint16 Servidor_Mjpeg::Puerto() const
{
    return m_servidor->serverPort();
}

QString Servidor_Mjpeg::Url() const
{
    return QStringLiteral("http://127.0.0.1:%1/orvik-cgi/mjpg/video.cgi").arg(Puerto());
}

int Servidor_Mjpeg::Abiertas() const
{
    int n = 0;
    for (const Cliente *c : m_clientes)
        n += c->socket->state() == QAbstractSocket::ConnectedState;
    return n;
}

QList<QByteArray> Servidor_Mjpeg::Cuadros_De_Prueba(int cuantos, int ancho, int alto)
{
    QList<QByteArray> r;
    for (int i = 0; i < cuantos; ++i) {
        QImage img(ancho, alto, QImage::Format_RGB32);
        img.fill(QColor::fromHsv((i * 47) % 360, 200, 220));
        QPainter p(&img);
        p.setPen(Qt::black);
        p.drawText(img.rect(), Qt::AlignCenter, QString::number(i));
        p.end();
        QBuffer b;
        b.open(QIODevice::WriteOnly);
        img.save(&b, "JPEG", 80);
        r.append(b.data());
    }
    return r;
}

void Servidor_Mjpeg::Nueva()
{
    while (QTcpSocket *s = m_servidor->nextPendingConnection()) {
        ++m_conexiones;
        auto *c = new Cliente;
        c->socket = s;
        s->setParent(this);
        m_clientes.append(c);
        connect(s, &QTcpSocket::readyRead, this, [this, c] {
            c->peticion += c->socket->readAll();
            if (!c->transmitiendo && c->peticion.contains("\r\n\r\n"))
                Responde(*c);
        });
    }
}

void Servidor_Mjpeg::Responde(Cliente &c)
{
    QTcpSocket *s = c.socket;
    switch (m_modo) {
    case Modo::Http_404:
        s->write("HTTP/1.1 404 Not Found\r\nContent-Type: text/plain\r\nContent-Length: 9\r\nConnection: close\r\n\r\nnot found");
        s->disconnectFromHost();
        return;
    case Modo::No_Mjpeg:
        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n<html><body>camera</body></html>");
        s->disconnectFromHost();
        return;
    default:
        break;
    }
    s->write("HTTP/1.1 200 OK\r\nCache-Control: no-cache\r\nConnection: close\r\n"
             "Content-Type: multipart/x-mixed-replace; boundary=" + Limite + "\r\n\r\n");
    c.transmitiendo = true;
    if (m_modo == Modo::Cuadro_Sin_Fin)
        s->write("--" + Limite + "\r\nContent-Type: image/jpeg\r\n\r\n");
    if (!m_reloj.isActive())
        m_reloj.start(m_periodo);
}

void Servidor_Mjpeg::Tick()
{
    for (Cliente *c : std::as_const(m_clientes)) {
        QTcpSocket *s = c->socket;
        if (!c->transmitiendo || s->state() != QAbstractSocket::ConnectedState)
            continue;
        if (m_modo == Modo::Cuadro_Sin_Fin) {
            // Picture-like bytes and never a boundary.
            s->write(QByteArray(64 * 1024, '\x5a'));
            continue;
        }
        // A client that does not keep up gets no more queued for it.
        if (s->bytesToWrite() > 4 * 1024 * 1024)
            continue;
        QByteArray jpeg = m_modo == Modo::Cuadro_No_Jpeg ? QByteArray("this is not a picture at all")
                                                         : m_cuadros.value(c->siguiente % qMax(1, m_cuadros.size()));
        ++c->siguiente;
        QByteArray parte = "--" + Limite + "\r\nContent-Type: image/jpeg\r\n";
        if (m_con_longitud)
            parte += "Content-Length: " + QByteArray::number(jpeg.size()) + "\r\n";
        parte += "\r\n" + jpeg + "\r\n";
        s->write(parte);
        m_ultimo = jpeg;
        ++m_enviados;
        if (m_corte > 0 && ++c->enviados >= m_corte) {
            c->transmitiendo = false;
            s->disconnectFromHost();
        }
    }
}
