#pragma once

#include "model/ttarjetalista.h"
#include "model/zarventidad.h"

#include <QPointer>
#include <QString>

class ZARVColeccionUsuario;

// A cardholder: one row of zarvusuario. Setters change only this object; the
// collection's operations write to the database.
class ZARVUsuario : public ZARVEntidad {
public:
    QString Texto() const override;

    // "<apellidos>, <nombre>", as lists show a cardholder and incidences store one.
    QString Nombre_Completo() const;
    // The cards whose cardholder has this number, in card-collection order,
    // each with Almacenada false. Walks the card collection with its cursor,
    // so it must not run inside another walk of it. Empty for a cardholder no
    // loaded installation holds.
    TTarjetaLista Tarjetas_Usuario() const;

    int Id() const { return m_id; }
    void Set_Id(int id) { m_id = id; }
    const QString &Nombre() const { return m_nombre; }
    void Set_Nombre(const QString &nombre) { m_nombre = nombre; }
    const QString &Apellidos() const { return m_apellidos; }
    void Set_Apellidos(const QString &apellidos) { m_apellidos = apellidos; }
    const QString &Fotografia() const { return m_fotografia; }
    void Set_Fotografia(const QString &fotografia) { m_fotografia = fotografia; }
    // None for an object a window builds before inserting it, and once the
    // installation that loaded it has closed.
    // Out of line: the collection is only declared here.
    ZARVColeccionUsuario *Coleccion() const;
    void Set_Coleccion(ZARVColeccionUsuario *coleccion);

private:
    int m_id = 0;
    QString m_nombre;
    QString m_apellidos;
    QString m_fotografia;
    QPointer<ZARVColeccionUsuario> m_coleccion;
};
