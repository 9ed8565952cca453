#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QImage>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <memory>

class Analizador_Mjpeg;
class QNetworkAccessManager;

// Stands in for the camera maker's media control: shows the MJPEG stream of
// MediaURL between Play and Stop. A stream that drops is opened again, and
// meanwhile the view says "no signal" rather than keep the last picture, so
// the operator never takes a frozen frame for live video. The view streams
// only while it can be seen: hidden (or its panel hidden) it lets go of the
// connection and takes it up again when shown.
class Vista_Mjpeg : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString MediaURL READ MediaURL WRITE setMediaURL)
public:
    enum class Estado { Parada, Conectando, Reproduciendo, Sin_Senal, Error_Http, No_Mjpeg, Cuadro_No_Jpeg, Cuadro_Grande };
    Q_ENUM(Estado)

    explicit Vista_Mjpeg(const QString &nombre, QWidget *padre = nullptr);
    ~Vista_Mjpeg() override;

    QString MediaURL() const { return m_url; }
    // A new address stops what the old one was showing.
    void setMediaURL(const QString &url);
    void Play();
    void Stop();

    // Play was asked and Stop was not.
    bool Activa() const { return m_activa; }
    // A connection is open or being opened.
    bool Conectada() const { return m_respuesta != nullptr; }
    Estado estado() const { return m_estado; }
    QString Texto_Estado() const;
    // Pictures decoded and shown since the last Play.
    int Cuadros_Mostrados() const { return m_mostrados; }
    // The last picture shown, and its JPEG bytes; null / empty while none is.
    QImage Ultimo_Cuadro() const { return m_imagen; }
    QByteArray Ultimo_Jpeg() const { return m_jpeg; }

    // Time without a picture after which the stream counts as lost.
    void setEspera_Cuadro(int ms) { m_espera_cuadro = ms; }
    // Pause before a lost stream is opened again.
    void setEspera_Reconexion(int ms) { m_espera_reconexion = ms; }

signals:
    void Cuadro_Mostrado();
    void Estado_Cambiado(Vista_Mjpeg::Estado estado);

protected:
    void paintEvent(QPaintEvent *evento) override;
    void showEvent(QShowEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;

private:
    void Conecta();
    void Desconecta();
    void Pierde(Estado estado, int espera_ms);
    void Lee();
    void Cabeceras();
    void Fin();
    void Muestra(const QByteArray &jpeg);
    void Cambia(Estado estado);

    QString m_url;
    bool m_activa = false;
    Estado m_estado = Estado::Parada;
    int m_codigo_http = 0;
    QNetworkAccessManager *m_red;
    QPointer<QNetworkReply> m_respuesta;
    std::unique_ptr<Analizador_Mjpeg> m_analizador;
    QTimer m_reconexion;
    QTimer m_vigia;
    int m_espera_cuadro = 5000;
    int m_espera_reconexion = 1000;
    int m_mostrados = 0;
    QImage m_imagen;
    QByteArray m_jpeg;
};
