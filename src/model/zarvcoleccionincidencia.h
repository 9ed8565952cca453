#pragma once

#include "model/zarvcoleccion.h"
#include "model/zarvincidencia.h"

#include "link/teventoinformacion.h"

#include <QDateTime>
#include <QString>
#include <functional>

// The incidence log of the open installation: receives the controllers'
// events, stores each one the moment it arrives and tells the main window,
// and loads filtered lists of stored incidences for the views. It also
// switches the controllers' event reporting on and off.
//
// A load lists the incidences newest first (the statement's order reversed).
// Cuenta() and Fin() count only what the last load produced, so objects kept
// past it (from an empty load, or events stored since) are never walked.
class ZARVColeccionIncidencia : public ZARVColeccion {
public:
    using TNuevaIncidenciaEvent =
        std::function<void(ZARVColeccionIncidencia *Sender, const TEventoInformacion &Informacion)>;

    // Loads the whole log once, unfiltered.
    ZARVColeccionIncidencia(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner);

    // Loads the incidences that pass the filter. A failed statement leaves
    // the list and Cargadas as they were.
    void Refrescar() override;
    int Cuenta() const override { return m_cargadas; }
    int Cargadas() const { return m_cargadas; }
    std::shared_ptr<ZARVIncidencia> Elemento(int indice = -1) const;

    // A non-empty text switches its date bound on; usr -1 means every cardholder.
    void Filtro_Textos(const QString &inicio, const QString &fin, int usr);
    // The values the bounds compare with, and the cardholder.
    void Filtro_Fechas(int usr, const QDateTime &inicio, const QDateTime &fin);
    // The load statement the filter gives, as Refrescar sends it.
    QString Sentencia() const;

    // Switches event reporting on, one line per port (the first controller
    // of each port in collection order listens for all of them). Every port
    // is tried; when some could not be opened the first port error is raised
    // after the others are listening.
    void Inicia_Registro();
    // Switches every controller's reporting off and closes its line.
    void Detiene_Registro();
    // True from Inicia_Registro until Detiene_Registro, also when a port
    // could not be opened: what the lines are meant to do, which a workflow
    // that needs the ports suspends and puts back.
    bool Escuchando() const { return m_escuchando; }

    // The receiver of every controller event. The event is attributed to the
    // lowest-numbered controller on its port; one from a port no loaded
    // controller uses is dropped. An event the database refuses is lost and
    // counted (Perdidas), and OnNuevaIncidencia is not called for it: the
    // event reaches here from the link's timer, where an error has nowhere to go.
    void Recibe_Evento(const void *Sender, const TEventoInformacion &info);
    // Writes one incidence; its cod and time stamp come from the database.
    // The object is kept after the loaded ones. Database errors reach the caller.
    void Guarda(const std::shared_ptr<ZARVIncidencia> &incidencia);

    // Events lost since the collection was created, and why the last one was.
    int Perdidas() const { return m_perdidas; }
    const QString &Ultimo_Error() const { return m_ultimo_error; }

    // Called after every stored event, with this collection as Sender.
    TNuevaIncidenciaEvent OnNuevaIncidencia;

private:
    int m_cargadas = 0;
    QString m_texto_inicio;
    QString m_texto_fin;
    // Unset bounds are the date-time zero, as bound when only a text is given.
    QDateTime m_fecha_inicio;
    QDateTime m_fecha_fin;
    int m_usr = -1;
    int m_perdidas = 0;
    bool m_escuchando = false;
    QString m_ultimo_error;
};
