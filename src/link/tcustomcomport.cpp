#include "link/tcustomcomport.h"

#include "link/ecomport.h"
#include "link/nombrepuerto.h"

#include <QDeadlineTimer>

#include <stdexcept>

TCustomComPort::TCustomComPort(QObject *owner)
    : QObject(owner)
    , m_serie(new QSerialPort(this))
{
    connect(m_serie, &QSerialPort::readyRead, this, &TCustomComPort::Datos_Recibidos);
    connect(m_serie, &QSerialPort::errorOccurred, this, &TCustomComPort::Error_Linea);
}

TCustomComPort::~TCustomComPort()
{
    m_connected = false;
    if (m_serie->isOpen())
        m_serie->close();
}

void TCustomComPort::SetPort(const QString &nombre)
{
    if (nombre == m_port)
        return;
    m_port = nombre;
    if (m_connected) {
        Close();
        Open();
    }
}

void TCustomComPort::SetConnected(bool valor)
{
    if (valor)
        Open();
    else
        Close();
}

void TCustomComPort::Open()
{
    if (m_connected)
        return;
    // The line settings go in before the open, which applies them: set on an
    // open pseudo-terminal the parity is refused, though a pseudo-terminal
    // has no parity to honour.
    m_serie->setPortName(Ruta_Puerto(m_port));
    m_serie->setBaudRate(BaudRate);
    m_serie->setDataBits(QSerialPort::Data8);
    m_serie->setParity(m_parity);
    m_serie->setStopBits(m_stopBits);
    m_serie->setFlowControl(QSerialPort::NoFlowControl);
    m_serie->setReadBufferSize(InputQueue);
    if (!m_serie->open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_serie->error();
        if (error == QSerialPort::DeviceNotFoundError || error == QSerialPort::PermissionError
            || error == QSerialPort::OpenError || error == QSerialPort::ResourceError) {
            m_serie->clearError();
            throw std::runtime_error(QStringLiteral("Error en el puerto %1").arg(m_port).toStdString());
        }
        Fallo_Puerto(QStringLiteral("settings"));
    }
    ++m_apertura;
    m_connected = true;
    // DTR and RTS are held inactive; a pseudo-terminal has no modem lines,
    // so failing to set them is no line fault.
    m_serie->setDataTerminalReady(false);
    m_serie->setRequestToSend(false);
    m_serie->clearError();
}

void TCustomComPort::Aplicar(bool ok, const char *ajuste)
{
    if (!ok)
        Fallo_Puerto(QString::fromLatin1(ajuste));
}

void TCustomComPort::Close()
{
    if (!m_connected)
        return;
    m_connected = false;
    m_serie->clear(QSerialPort::AllDirections);
    m_serie->close();
}

void TCustomComPort::SetParity(QSerialPort::Parity parity)
{
    m_parity = parity;
    if (m_connected)
        Aplicar(m_serie->setParity(parity), "parity");
}

void TCustomComPort::SetStopBits(QSerialPort::StopBits stopBits)
{
    m_stopBits = stopBits;
    if (m_connected)
        Aplicar(m_serie->setStopBits(stopBits), "stop bits");
}

void TCustomComPort::Fallo_Puerto(const QString &operacion)
{
    const QString texto = QStringLiteral("%1: %2: %3").arg(m_port, operacion, m_serie->errorString());
    const int codigo = m_serie->error();
    m_serie->clearError();
    throw EComPort(texto, codigo);
}

qint64 TCustomComPort::Write(const char *buffer, qint64 count)
{
    if (!m_connected)
        throw EComPort(QStringLiteral("%1: write: port not open").arg(m_port), QSerialPort::NotOpenError);
    if (m_serie->write(buffer, count) < 0)
        Fallo_Puerto(QStringLiteral("write"));
    QDeadlineTimer plazo(100 * count + 1000);
    while (m_serie->bytesToWrite() > 0) {
        if (m_serie->waitForBytesWritten(static_cast<int>(qMax<qint64>(0, plazo.remainingTime()))))
            continue;
        if (m_serie->error() != QSerialPort::NoError && m_serie->error() != QSerialPort::TimeoutError)
            Fallo_Puerto(QStringLiteral("write"));
        m_serie->clearError();
        break;
    }
    return count - m_serie->bytesToWrite();
}

int TCustomComPort::InputCount() const
{
    return m_connected ? static_cast<int>(m_serie->bytesAvailable()) : 0;
}

qint64 TCustomComPort::Read(char *buffer, qint64 count)
{
    if (!m_connected)
        return 0;
    const qint64 n = m_serie->read(buffer, count);
    if (n < 0)
        Fallo_Puerto(QStringLiteral("read"));
    return n;
}

void TCustomComPort::Datos_Recibidos()
{
    if (!m_connected || !OnRxChar)
        return;
    const int n = InputCount();
    if (n <= 0)
        return;
    // Exceptions must not cross the event loop that called this.
    try {
        OnRxChar(this, n);
    } catch (const EComPort &e) {
        Linea_Perdida(e);
    }
}

void TCustomComPort::Error_Linea(QSerialPort::SerialPortError error)
{
    if (!m_connected)
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError && error != QSerialPort::WriteError)
        return;
    const EComPort e(QStringLiteral("%1: %2").arg(m_port, m_serie->errorString()), error);
    // Closing inside QSerialPort's own notification would pull its buffer
    // away under it; close from the event loop instead.
    const unsigned apertura = m_apertura;
    QMetaObject::invokeMethod(
        this,
        [this, apertura] {
            if (m_connected && m_apertura == apertura)
                Close();
        },
        Qt::QueuedConnection);
    Linea_Perdida(e);
}

void TCustomComPort::Linea_Perdida(const EComPort &)
{
}
