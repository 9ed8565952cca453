#pragma once

#include "workflows/fichero_incidencias.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <memory>

class ZARVColeccionIncidencia;
class ZARVIncidencia;
class ZARVSistema;

namespace kv::wf {

// The stored incidences of a date range, read as a view goes through them:
// a page at a time, newest first. It loads through an incidence collection
// of its own on the open installation, so the live log and other views keep
// their loads while this one is being read.
class Consulta_Incidencias {
public:
    Consulta_Incidencias();
    ~Consulta_Incidencias();

    // Loads the incidences with inicio <= time stamp <= fin on the open
    // installation; a start after the end selects nothing. Database errors
    // reach the caller, and the last load is then kept.
    void Filtra(const QDateTime &inicio, const QDateTime &fin);
    // The same for cardholder usr's incidences (every cardholder's for -1)
    // with desde <= time stamp < hasta: a day or a month as [its start, the
    // next one's start).
    void Filtra_Usuario(int usr, const QDateTime &desde, const QDateTime &hasta);
    // The next rows of the load, at most `cuantas`, and how many are left.
    QList<std::shared_ptr<ZARVIncidencia>> Siguientes(int cuantas);
    int Quedan() const;
    // Every row not handed out yet, without handing them out.
    QList<std::shared_ptr<ZARVIncidencia>> Resto() const;
    // The view no longer follows the load (cleared, or replaced by a file).
    void Olvida();

private:
    // The collection of the installation open now; a new one after another opened.
    ZARVColeccionIncidencia *Coleccion();
    void Carga(int usr, const QDateTime &inicio, const QDateTime &fin, bool fin_exclusivo);

    std::unique_ptr<ZARVColeccionIncidencia> m_coleccion;
    const ZARVSistema *m_sistema = nullptr;
    int m_siguiente = 0;
    int m_total = 0;
};

// One incidence as a row of the list: the kind's name (none outside 1..6,
// from `tipos`), the time stamp as the system's short date and long time
// (the date alone at exactly midnight), the controller as stored, the
// description and the cardholder's number.
Fila_Incidencia Fila_De(const ZARVIncidencia &incidencia, const QStringList &tipos);

} // namespace kv::wf
