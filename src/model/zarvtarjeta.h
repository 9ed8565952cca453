#pragma once

#include "model/zarventidad.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <vector>

class ZARVControlador;
class ZARVUsuario;

// One of a card's assignments as loaded: the controller and whether the card
// is already in that controller's memory.
struct TControladorTarjeta {
    std::shared_ptr<ZARVControlador> Controlador;
    bool Almacenada = false;
};

// A proximity card: one row of zarvtarjeta with its assignments. Setters
// change only this object; the collection's operations write to the
// database. The cardholder and the controllers are the objects of the time
// the card was loaded, kept alive for as long as the card refers to them.
class ZARVTarjeta : public ZARVEntidad {
public:
    void Anade_Controlador(const std::shared_ptr<ZARVControlador> &controlador, bool almacenada);

    const QString &Codigo_Tarjeta() const { return m_codigo_tarjeta; }
    void Set_Codigo_Tarjeta(const QString &codigo) { m_codigo_tarjeta = codigo; }
    const QDateTime &Fecha_Alta() const { return m_fecha_alta; }
    void Set_Fecha_Alta(const QDateTime &fecha) { m_fecha_alta = fecha; }
    const QDateTime &Fecha_Caducidad() const { return m_fecha_caducidad; }
    void Set_Fecha_Caducidad(const QDateTime &fecha) { m_fecha_caducidad = fecha; }
    bool Usar_Fecha_Cad() const { return m_usar_fecha_cad; }
    void Set_Usar_Fecha_Cad(bool usar) { m_usar_fecha_cad = usar; }
    // In the order the database returned the assignments.
    const std::vector<TControladorTarjeta> &Controladores() const { return m_controladores; }
    void Set_Controladores(const std::vector<TControladorTarjeta> &controladores) { m_controladores = controladores; }
    // None for a card without cardholder.
    const std::shared_ptr<ZARVUsuario> &Usuario() const { return m_usuario; }
    void Set_Usuario(const std::shared_ptr<ZARVUsuario> &usuario) { m_usuario = usuario; }

private:
    QString m_codigo_tarjeta;
    QDateTime m_fecha_alta;
    QDateTime m_fecha_caducidad;
    bool m_usar_fecha_cad = false;
    std::vector<TControladorTarjeta> m_controladores;
    std::shared_ptr<ZARVUsuario> m_usuario;
};

// A code as the cards are stored: left-padded with "0" to ten characters.
// Longer texts are returned unchanged, so a mistyped code is refused later
// as too long rather than silently cut.
QString Completa_Codigo(const QString &texto);
