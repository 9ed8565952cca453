#pragma once

#include <QString>
#include <stdexcept>

// A serial-port failure other than "the port cannot be opened": applying the
// line settings, writing, reading, or the line going away. Derives from
// std::runtime_error like the general error raised when a port cannot be
// opened, so a handler that shows any error's text catches both, while
// `catch (const EComPort &)` lets the open failure pass.
class EComPort : public std::runtime_error {
public:
    EComPort(const QString &mensaje, int codigo);

    // The system's error code for the failure (QSerialPort::SerialPortError).
    int Codigo() const { return m_codigo; }
    QString Mensaje() const { return QString::fromUtf8(what()); }

private:
    int m_codigo;
};
