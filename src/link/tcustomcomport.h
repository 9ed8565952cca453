#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>

#include <functional>

class EComPort;

// The serial channel of one reader line: port name, exclusive open and close,
// write, the input count, read, and the received-data notification, which the
// event loop delivers on the UI thread. Line settings are fixed for every
// reader line (9600 baud, 8 data bits, no flow control); parity and stop bits
// start at none and one and are set by the link.
class TCustomComPort : public QObject {
public:
    using TRxCharEvent = std::function<void(QObject *Sender, int Count)>;

    explicit TCustomComPort(QObject *owner = nullptr);
    ~TCustomComPort() override;

    QString Port() const { return m_port; }
    // Reopens under the new name when open; the same name again changes nothing.
    void SetPort(const QString &nombre);

    bool Connected() const { return m_connected; }
    void SetConnected(bool valor);
    // Throws std::runtime_error "Error en el puerto <name>" when the device
    // cannot be opened (missing, in use), EComPort when the settings cannot be
    // applied (the port is closed again then).
    void Open();
    // Discards whatever is still queued in either direction.
    void Close();

    QSerialPort::Parity Parity() const { return m_parity; }
    void SetParity(QSerialPort::Parity parity);
    QSerialPort::StopBits StopBits() const { return m_stopBits; }
    void SetStopBits(QSerialPort::StopBits stopBits);
    static constexpr qint32 BaudRate = 9600;
    static constexpr int InputQueue = 1024;

    // Waits until the bytes are out or 100 ms per byte plus 1000 ms have
    // passed; returns how many went out. EComPort when the line fails.
    qint64 Write(const char *buffer, qint64 count);
    int InputCount() const;
    // Returns at once with what is queued, at most count bytes.
    qint64 Read(char *buffer, qint64 count);

    TRxCharEvent OnRxChar;

protected:
    // The line failed while open with nobody's call to blame: the far end
    // vanished or a background read failed. The port is closed from the event
    // loop right after; a derived link ends what it was waiting for.
    virtual void Linea_Perdida(const EComPort &error);
    [[noreturn]] void Fallo_Puerto(const QString &operacion);

private:
    void Datos_Recibidos();
    void Error_Linea(QSerialPort::SerialPortError error);
    void Aplicar(bool ok, const char *ajuste);

    QSerialPort *m_serie;
    QString m_port = QStringLiteral("COM1");
    bool m_connected = false;
    unsigned m_apertura = 0; // tells a queued close which opening it belongs to
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
};
