#pragma once

#include "model/zarvcoleccion.h"
#include "model/zarvincidencia.h"

#include "link/teventoinformacion.h"

class QTimer;

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

// The incidence log of the open installation: receives the controllers'
// events, stores each one the moment it arrives and tells the main window,
// and loads filtered lists of stored incidences for the views. It also
// switches the controllers' event reporting on and off.
//
// A load lists the incidences newest first (the statement's order reversed).
// Cuenta() and Fin() count only what the last load produced; events stored
// since are not part of it.
//
// A log grows without end, so a load does not read it whole: it counts what
// the filter selects and reads the first page; the other pages are read when
// someone asks for their elements (a view scrolling, a walk), a walk streaming
// them from one open cursor. The installation opens without reading the log
// at all: the first look at the list (Cuenta, Elemento) loads it unfiltered.
class ZARVControlador;

class ZARVColeccionIncidencia : public ZARVColeccion {
public:
    using TNuevaIncidenciaEvent =
        std::function<void(ZARVColeccionIncidencia *Sender, const TEventoInformacion &Informacion)>;

    // Reads nothing yet: the whole log, unfiltered, is loaded at the first look.
    ZARVColeccionIncidencia(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner);
    ~ZARVColeccionIncidencia() override;

    // Loads the incidences that pass the filter: counts them and reads the
    // first page. The filter is taken as it is now; setting another one
    // changes nothing until the next load. Only the incidences stored up to
    // this moment belong to the load, so pages read later never shift or
    // repeat rows because of events stored meanwhile. A failed statement
    // leaves the list and Cargadas as they were.
    void Refrescar() override;
    int Cuenta() const override;
    int Cargadas() const { return Cuenta(); }
    // The element at indice (or at the cursor for -1), its page read if it
    // was not; none outside the load. A page that cannot be read raises ErrorBD.
    std::shared_ptr<ZARVIncidencia> Elemento(int indice = -1) const;
    void Cerrar() override;

    // Rows read per statement, and how many pages are kept in memory.
    static constexpr int PAGINA = 500;
    static constexpr int PAGINAS_GUARDADAS = 8;
    // An open cursor nobody read from for this long is closed: it holds a
    // transaction of the database open.
    static constexpr int CURSOR_OCIOSO_MS = 5000;

    // A non-empty text switches its date bound on; usr -1 means every cardholder.
    void Filtro_Textos(const QString &inicio, const QString &fin, int usr);
    // The values the bounds compare with, and the cardholder.
    void Filtro_Fechas(int usr, const QDateTime &inicio, const QDateTime &fin);
    // The end bound leaves its own instant out (< instead of <=), so that a
    // day or a month is [its start, the next one's start): the column keeps
    // tenths of a millisecond, finer than any inclusive end a QDateTime gives.
    void Filtro_Fin_Exclusivo(bool exclusivo) { m_fin_exclusivo = exclusivo; }
    // The load statement the filter gives: the rows of a load are those it
    // selects, listed in its order reversed.
    QString Sentencia() const;

    // Switches event reporting on, one line per port (the first controller
    // of each port in collection order listens for all of them). Every port
    // is tried; when some could not be opened the first port error is raised
    // after the others are listening, and those ports are told and tried
    // again as lost lines are (Vigila_Lineas, which this calls).
    void Inicia_Registro();
    // Switches every controller's reporting off and closes its line.
    void Detiene_Registro();
    // One port listening alone (the reading reader's, while registering is
    // off): its first controller's line opens with event reporting on.
    // Raises the port's error when it cannot be opened. Deja_Puerto closes
    // that port's lines again.
    void Escucha_Puerto(int puerto);
    void Deja_Puerto(int puerto);
    // While set, the events attributed to controller cod go to desvio
    // instead of the log: neither stored nor shown (the reading reader lent
    // to a window reads cards for it).
    void Desvia(int cod, std::function<void(const TEventoInformacion &info)> desvio);
    void Quita_Desvio();

    // True from Inicia_Registro until Detiene_Registro, also when a port
    // could not be opened: what the lines are meant to do, which a workflow
    // that needs the ports suspends and puts back.
    bool Escuchando() const { return m_escuchando; }

    // The receiver of every controller event. The event is attributed to the
    // lowest-numbered controller with the sender's bus address on its port
    // (address 0 of a record travels as 170); when none has it, or the
    // sender is not known, to the lowest-numbered controller on the port.
    // An event from a port no loaded controller uses, and one the database
    // refuses, is lost: counted (Perdidas) and told (OnEventoPerdido), and
    // OnNuevaIncidencia is not called for it. An event that finds the
    // database server out of reach is held instead (Retenidas), with the
    // time it arrived, and stored in order once the server is back. The
    // event reaches here from the link's timer, where an error has nowhere
    // to go.
    void Recibe_Evento(const void *Sender, const TEventoInformacion &info);
    // Writes one incidence with its whole card code (ten characters, the
    // column's width; a longer text is cut there), described by the card that
    // code names; its cod comes from the database, and so does its time
    // stamp unless momento gives it. Rows written before with seven
    // characters load as they are. It becomes part of the next load.
    // Database errors reach the caller.
    void Guarda(const std::shared_ptr<ZARVIncidencia> &incidencia, const QDateTime &momento = QDateTime());

    // Events lost since the collection was created, and why the last one was.
    int Perdidas() const { return m_perdidas; }
    // Events held while the database server cannot be reached, not stored yet.
    int Retenidas() const { return static_cast<int>(m_retenidas.size()); }
    // Held events are tried every REINTENTO_MS; past this many, further
    // events are lost (told as such) rather than filling the memory.
    static constexpr int RETENIDAS_MAX = 200000;
    // Stores the held events now, in order, as far as the server lets it;
    // returns how many are still held. The retry timer calls it.
    int Guarda_Retenidas();
    const QString &Ultimo_Error() const { return m_ultimo_error; }

    // Watches every line listening now: one that goes away is told through
    // OnLineaPerdida and tried again every REINTENTO_MS while registering is
    // on (Escuchando); once it opens again it listens as before and
    // OnLineaRecuperada is told. Inicia_Registro calls it; calling it again
    // changes nothing for lines already watched.
    void Vigila_Lineas();
    // Ports lost and not yet back.
    QList<int> Lineas_Perdidas() const;

    // Called after every stored event, with this collection as Sender.
    TNuevaIncidenciaEvent OnNuevaIncidencia;
    // While OnNuevaIncidencia runs for an event that was held, the time it
    // arrived (the time stored with it); invalid for one stored as it came.
    const QDateTime &Llegada_Retenida() const { return m_llegada_retenida; }
    // An acknowledged event that was not stored: the controller will not send
    // it again, so the operator must hear of it. `motivo` is the database's
    // error text, or says that no controller uses the port.
    std::function<void(const TEventoInformacion &info, const QString &motivo)> OnEventoPerdido;
    // A listening line went away (the device vanished, the cable or adapter
    // was pulled): `puerto` is the N of COM<N>, `error` the port's text. Told
    // once per loss; events of that port's controllers are not heard until
    // OnLineaRecuperada.
    std::function<void(int puerto, const QString &error)> OnLineaPerdida;
    // A lost line opened again by the retry and listening.
    std::function<void(int puerto)> OnLineaRecuperada;
    // The first event held because the database server cannot be reached
    // (motivo: the error), and every held event stored at last (guardadas:
    // how many). Each stored one is also told through OnNuevaIncidencia.
    std::function<void(const QString &motivo)> OnServidorPerdido;
    std::function<void(int guardadas)> OnServidorRecuperado;

    static constexpr int REINTENTO_MS = 2000;

private:
    // What a load selects, fixed when it ran: the filter's clauses and values,
    // how many rows it counted and the newest incidence number among them.
    struct Carga {
        QStringList clausulas;
        bool con_inicio = false;
        bool con_fin = false;
        QDateTime inicio;
        QDateTime fin;
        QString orden_inverso;
        int total = 0;
        qint64 tope = 0;
    };
    QStringList Clausulas() const;
    Carga Carga_Actual() const;
    // The load's rows in list order from `desde` on (zero-based), on q.
    void Abre_Cursor(QSqlQuery &q, const Carga &carga, int desde) const;
    // Up to PAGINA rows from the cursor; closes it at the end of the load.
    std::vector<std::shared_ptr<ZARVIncidencia>> Lee_Pagina(QSqlQuery &q, int esperadas);
    const std::vector<std::shared_ptr<ZARVIncidencia>> &Pagina(int pagina);
    void Cierra_Cursor();
    // Cuenta and Elemento read on demand: filling the cache is no change of
    // the list they show.
    ZARVColeccionIncidencia &Cache() const { return const_cast<ZARVColeccionIncidencia &>(*this); }

    bool m_sin_cargar = true;
    Carga m_carga;
    std::map<int, std::vector<std::shared_ptr<ZARVIncidencia>>> m_paginas;
    // The cursor a walk streams from, and the page it delivers next.
    std::unique_ptr<QSqlQuery> m_cursor_paginas;
    int m_pagina_cursor = -1;
    QTimer *m_cursor_ocioso = nullptr;

    QString m_texto_inicio;
    QString m_texto_fin;
    // Unset bounds are the date-time zero, as bound when only a text is given.
    QDateTime m_fecha_inicio;
    QDateTime m_fecha_fin;
    int m_usr = -1;
    bool m_fin_exclusivo = false;
    int m_perdidas = 0;
    bool m_escuchando = false;
    int m_desvio_cod = -1;
    std::function<void(const TEventoInformacion &)> m_desvio;
    QString m_ultimo_error;

    // An event that reached the log, its time of arrival when it was held.
    struct Retenida {
        std::shared_ptr<ZARVIncidencia> incidencia;
        TEventoInformacion info;
        QDateTime llegada;
    };
    std::deque<Retenida> m_retenidas;
    int m_guardadas_tras_perdida = 0;
    QDateTime m_llegada_retenida;
    QTimer *m_reintento_bd = nullptr;
    void Retiene(Retenida retenida, const QString &motivo);
    // What is still held when the installation closes is tried once more;
    // what the server does not take then is lost, and told.
    void Cierra_Retenidas();
    // Stores one and tells it (OnNuevaIncidencia, or OnEventoPerdido when
    // the database refuses it): false, telling nothing, when the server is
    // out of reach, with the error in motivo.
    bool Guarda_Y_Avisa(const Retenida &r, QString *motivo);

    // Switches reporting on for the line of c (and so of its whole port).
    void Activa_Linea(ZARVControlador &c);
    void Evento_Perdido(const TEventoInformacion &info, const QString &motivo);
    void Linea_Perdida(int puerto, int controlador, const QString &error);
    void Reintenta_Lineas();
    // Lost ports and the controller whose link listened on each.
    std::map<int, int> m_lineas_perdidas;
    QTimer *m_reintento = nullptr;
};
