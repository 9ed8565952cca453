#include "cameras/vista_mjpeg.h"

#include "cameras/analizador_mjpeg.h"

#include <QBuffer>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>

namespace {

// A read takes at most this much, so the parser never holds more than its
// frame limit and one read.
constexpr qint64 Trozo = 64 * 1024;
// An answer that is not a stream of pictures will not become one at once.
constexpr int Espera_Tras_Error = 5000;

} // namespace

Vista_Mjpeg::Vista_Mjpeg(const QString &nombre, QWidget *padre)
    : QWidget(padre)
    , m_red(new QNetworkAccessManager(this))
{
    setObjectName(nombre);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(32, 24);
    // Cameras sit on the local network; a desktop proxy setting must not
    // carry their video elsewhere.
    m_red->setProxy(QNetworkProxy::NoProxy);
    m_reconexion.setSingleShot(true);
    connect(&m_reconexion, &QTimer::timeout, this, &Vista_Mjpeg::Conecta);
    m_vigia.setSingleShot(true);
    connect(&m_vigia, &QTimer::timeout, this, [this] { Pierde(Estado::Sin_Senal, m_espera_reconexion); });
}

Vista_Mjpeg::~Vista_Mjpeg()
{
    Desconecta();
}

void Vista_Mjpeg::setMediaURL(const QString &url)
{
    if (url == m_url)
        return;
    Stop();
    m_url = url;
}

void Vista_Mjpeg::Play()
{
    Desconecta();
    m_reconexion.stop();
    m_activa = true;
    m_mostrados = 0;
    if (isVisible())
        Conecta();
}

void Vista_Mjpeg::Stop()
{
    m_activa = false;
    Desconecta();
    m_reconexion.stop();
    m_imagen = QImage();
    m_jpeg.clear();
    Cambia(Estado::Parada);
    update();
}

QString Vista_Mjpeg::Texto_Estado() const
{
    switch (m_estado) {
    case Estado::Parada:
    case Estado::Reproduciendo:
        return QString();
    case Estado::Conectando:
        return QStringLiteral("connecting\u2026");
    case Estado::Sin_Senal:
        return QStringLiteral("no signal");
    case Estado::Error_Http:
        return m_codigo_http > 0 ? QStringLiteral("HTTP error %1").arg(m_codigo_http) : QStringLiteral("invalid address");
    case Estado::No_Mjpeg:
        return QStringLiteral("not an MJPEG stream");
    case Estado::Cuadro_No_Jpeg:
        return QStringLiteral("not a JPEG picture");
    case Estado::Cuadro_Grande:
        return QStringLiteral("picture too large");
    }
    return QString();
}

void Vista_Mjpeg::Cambia(Estado estado)
{
    if (estado == m_estado)
        return;
    m_estado = estado;
    emit Estado_Cambiado(estado);
}

void Vista_Mjpeg::Conecta()
{
    if (!m_activa || !isVisible() || m_respuesta)
        return;
    const QUrl url(m_url, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("http") || url.host().isEmpty()) {
        m_codigo_http = 0;
        Cambia(Estado::Error_Http);
        update();
        return;
    }
    QNetworkRequest peticion(url);
    peticion.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    peticion.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_respuesta = m_red->get(peticion);
    // Qt stops reading the socket once this much waits unread.
    m_respuesta->setReadBufferSize(4 * Trozo);
    connect(m_respuesta, &QNetworkReply::metaDataChanged, this, &Vista_Mjpeg::Cabeceras);
    connect(m_respuesta, &QNetworkReply::readyRead, this, &Vista_Mjpeg::Lee);
    connect(m_respuesta, &QNetworkReply::finished, this, &Vista_Mjpeg::Fin);
    if (m_estado != Estado::Sin_Senal)
        Cambia(Estado::Conectando);
    m_vigia.start(m_espera_cuadro);
    update();
}

void Vista_Mjpeg::Desconecta()
{
    m_vigia.stop();
    m_analizador.reset();
    if (QNetworkReply *r = m_respuesta) {
        m_respuesta = nullptr;
        r->disconnect(this);
        r->abort();
        r->deleteLater();
    }
}

void Vista_Mjpeg::Pierde(Estado estado, int espera_ms)
{
    Desconecta();
    m_imagen = QImage();
    m_jpeg.clear();
    Cambia(estado);
    update();
    if (m_activa && isVisible())
        m_reconexion.start(espera_ms);
}

void Vista_Mjpeg::Cabeceras()
{
    if (!m_respuesta || m_analizador)
        return;
    const QVariant codigo = m_respuesta->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!codigo.isValid())
        return;
    m_codigo_http = codigo.toInt();
    if (m_codigo_http >= 300) {
        Pierde(Estado::Error_Http, Espera_Tras_Error);
        return;
    }
    const QByteArray limite = Analizador_Mjpeg::Limite_De(m_respuesta->rawHeader("Content-Type"));
    if (limite.isEmpty()) {
        Pierde(Estado::No_Mjpeg, Espera_Tras_Error);
        return;
    }
    m_analizador = std::make_unique<Analizador_Mjpeg>(limite);
}

void Vista_Mjpeg::Lee()
{
    if (!m_analizador)
        Cabeceras();
    if (!m_analizador || !m_respuesta)
        return;
    QList<QByteArray> cuadros;
    while (m_respuesta && m_respuesta->bytesAvailable() > 0) {
        const QByteArray datos = m_respuesta->read(Trozo);
        if (datos.isEmpty())
            break;
        m_analizador->Alimenta(datos, cuadros);
        // Only the newest picture is worth decoding; older ones would be
        // replaced before anyone saw them.
        if (cuadros.size() > 1)
            cuadros.remove(0, cuadros.size() - 1);
    }
    const Analizador_Mjpeg::Fallo fallo = m_analizador->Toma_Fallo();
    // Bytes that arrive, good or bad, show the camera is there: the state
    // says what is wrong with them rather than "no signal".
    if (fallo != Analizador_Mjpeg::Fallo::Ninguno)
        m_vigia.start(m_espera_cuadro);
    switch (fallo) {
    case Analizador_Mjpeg::Fallo::Ninguno:
        break;
    case Analizador_Mjpeg::Fallo::Parte_No_Imagen:
        m_imagen = QImage();
        Cambia(Estado::Cuadro_No_Jpeg);
        update();
        break;
    default:
        m_imagen = QImage();
        Cambia(Estado::Cuadro_Grande);
        update();
        break;
    }
    if (!cuadros.isEmpty())
        Muestra(cuadros.last());
    if (m_analizador && m_analizador->Terminado())
        Pierde(Estado::Sin_Senal, m_espera_reconexion);
}

void Vista_Mjpeg::Fin()
{
    if (!m_respuesta)
        return;
    if (!m_analizador)
        Cabeceras();
    if (!m_respuesta)
        return; // Cabeceras judged the answer already
    Pierde(Estado::Sin_Senal, m_espera_reconexion);
}

void Vista_Mjpeg::Muestra(const QByteArray &jpeg)
{
    QBuffer origen;
    origen.setData(jpeg);
    origen.open(QIODevice::ReadOnly);
    QImageReader lector(&origen, "jpeg");
    lector.setDecideFormatFromContent(false);
    // The decoder can shrink by powers of two while it decodes, far cheaper
    // than decoding the whole picture and scaling it afterwards.
    const QSize tamano = lector.size();
    if (tamano.isValid() && (tamano.width() >= 2 * width() || tamano.height() >= 2 * height()))
        lector.setScaledSize(tamano.scaled(size(), Qt::KeepAspectRatio));
    QImage imagen = lector.read();
    if (imagen.isNull()) {
        m_vigia.start(m_espera_cuadro);
        m_imagen = QImage();
        m_jpeg.clear();
        Cambia(Estado::Cuadro_No_Jpeg);
        update();
        return;
    }
    m_imagen = std::move(imagen);
    m_jpeg = jpeg;
    ++m_mostrados;
    m_vigia.start(m_espera_cuadro);
    Cambia(Estado::Reproduciendo);
    update();
    emit Cuadro_Mostrado();
}

void Vista_Mjpeg::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!m_imagen.isNull()) {
        const QSize s = m_imagen.size().scaled(size(), Qt::KeepAspectRatio);
        const QRect destino(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
        p.drawImage(destino, m_imagen);
        return;
    }
    const QString texto = Texto_Estado();
    if (texto.isEmpty())
        return;
    p.setPen(Qt::white);
    p.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, texto);
}

void Vista_Mjpeg::showEvent(QShowEvent *evento)
{
    QWidget::showEvent(evento);
    if (m_activa && !m_respuesta && !m_reconexion.isActive())
        Conecta();
}

void Vista_Mjpeg::hideEvent(QHideEvent *evento)
{
    QWidget::hideEvent(evento);
    // Nobody watches: let the camera's connection go (Play is remembered).
    Desconecta();
    m_reconexion.stop();
    m_imagen = QImage();
    m_jpeg.clear();
    if (m_activa)
        Cambia(Estado::Parada);
}
