#pragma once

#include "model/zarventidad.h"

#include <QDateTime>
#include <QString>

// One incidence: an event a controller reported, as stored in zarvincidencia
// or as just received. Setters change only this object.
class ZARVIncidencia : public ZARVEntidad {
public:
    int Cod() const { return m_cod; }
    void Set_Cod(int cod) { m_cod = cod; }
    int Controlador() const { return m_controlador; }
    void Set_Controlador(int controlador) { m_controlador = controlador; }
    // The card code as received, or as the log row holds it (seven
    // characters in rows written by earlier versions).
    const QString &Tarjeta() const { return m_tarjeta; }
    void Set_Tarjeta(const QString &tarjeta) { m_tarjeta = tarjeta; }
    // Cardholder number for card events, -1 when the card has none; 0 otherwise.
    int Usr() const { return m_usr; }
    void Set_Usr(int usr) { m_usr = usr; }
    const QString &Descripcion() const { return m_descripcion; }
    void Set_Descripcion(const QString &descripcion) { m_descripcion = descripcion; }
    const QDateTime &Timestamp() const { return m_timestamp; }
    void Set_Timestamp(const QDateTime &timestamp) { m_timestamp = timestamp; }
    const QString &Hist_Controlador() const { return m_hist_controlador; }
    void Set_Hist_Controlador(const QString &hist) { m_hist_controlador = hist; }
    // Incidence kind 1 to 6.
    int Evento() const { return m_evento; }
    void Set_Evento(int evento) { m_evento = evento; }

    // The time stamp in the system's short date format, a space, and its long
    // time format without the time zone: the form the lists show and the
    // saved incidence files carry.
    QString Fecha_Texto() const;
    // The time stamp's time alone, in that long time format.
    QString Hora_Texto() const;

private:
    int m_cod = 0;
    int m_controlador = 0;
    QString m_tarjeta;
    int m_usr = 0;
    QString m_descripcion;
    QDateTime m_timestamp;
    QString m_hist_controlador;
    int m_evento = 0;
};
