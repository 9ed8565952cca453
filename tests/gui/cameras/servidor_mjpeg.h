#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>

class QTcpServer;
class QTcpSocket;

// A camera on loopback: answers every GET with an MJPEG stream of the given
// pictures, one every periodo_ms, or with one of the faults a real camera or
// a wrong address can produce.
class Servidor_Mjpeg : public QObject {
    Q_OBJECT
public:
    enum class Modo {
        Normal,
        Http_404,        // the camera has no such page
        No_Mjpeg,        // a web page instead of a stream
        Cuadro_No_Jpeg,  // parts labelled as pictures that do not decode
        Cuadro_Sin_Fin,  // one part that never ends
    };

    explicit Servidor_Mjpeg(QObject *padre = nullptr);
    ~Servidor_Mjpeg() override;

    bool Escucha();
    quint16 Puerto() const;
    QString Url() const;

    void setModo(Modo modo) { m_modo = modo; }
    void setPeriodo(int ms) { m_periodo = ms; }
    // Sends nothing more, leaving the connections open.
    void Pausa() { m_reloj.stop(); }
    // Each connection is closed after this many pictures (0: never).
    void setCorte(int cuadros) { m_corte = cuadros; }
    // Content-Length headers on the parts, or bare parts.
    void setConLongitud(bool si) { m_con_longitud = si; }
    void setCuadros(const QList<QByteArray> &jpegs) { m_cuadros = jpegs; }

    int Conexiones() const { return m_conexiones; }
    int Abiertas() const;
    int Enviados() const { return m_enviados; }
    // The last picture sent on any connection.
    QByteArray Ultimo() const { return m_ultimo; }

    // width×height pictures, each a different colour (jpeg at quality 80).
    static QList<QByteArray> Cuadros_De_Prueba(int cuantos, int ancho, int alto);

private:
    struct Cliente;
    void Nueva();
    void Responde(Cliente &c);
    void Tick();

    QTcpServer *m_servidor;
    QList<Cliente *> m_clientes;
    QTimer m_reloj;
    Modo m_modo = Modo::Normal;
    int m_periodo = 40;
    int m_corte = 0;
    bool m_con_longitud = true;
    QList<QByteArray> m_cuadros;
    int m_conexiones = 0;
    int m_enviados = 0;
    QByteArray m_ultimo;
};
