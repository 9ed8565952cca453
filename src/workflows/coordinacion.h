#pragma once

#include <QString>

#include <stdexcept>

class QTimer;
class ZARVColeccionIncidencia;

// The one discipline for work on the controllers. A command opens its
// controller's port exclusively, several controllers share a port, and the
// link keeps the event loop running while it waits for a reply: so whatever
// talks to the controllers takes a turn (one at a time, a second is refused),
// holds the maintenance timer off and suspends incidence listening, and gives
// back exactly what it found however it ends. All on the UI thread.
namespace kv::wf {

class Lectura_Tarjetas;

// What a workflow gets when another one holds the controllers. Its text is
// the operator's message.
class Ocupado : public std::runtime_error {
public:
    Ocupado();
};

class Coordinacion {
public:
    // The main window's maintenance timer; none before it exists and after it goes.
    static void Set_Temporizador(QTimer *temporizador);
    static QTimer *Temporizador();
    // Starts the timer when nothing holds it, a setting asks for the
    // maintenance and an installation is open; stops it otherwise. A timer
    // that runs and may go on running keeps its countdown.
    static void Ajusta_Mantenimiento();
    static int Retenciones();

    // True while a workflow holds the controllers.
    static bool Ocupado();
    // Raises Ocupado while a workflow holds them: for what must not start,
    // or change the lines, under another workflow.
    static void Exige_Libres();

    // The open installation's incidence log, or none.
    static ZARVColeccionIncidencia *Incidencias();

    // The reading reader lent to an open window, or none.
    static Lectura_Tarjetas *Lectura();
    static void Set_Lectura(Lectura_Tarjetas *lectura);
    // After registering was switched off: the reading reader, if a window
    // holds it, keeps its own line.
    static void Reabre_Lectura();
};

// Holds the maintenance timer off while it lives; retentions count, so the
// timer comes back only when the last one goes.
class Retencion_Mantenimiento {
public:
    Retencion_Mantenimiento();
    ~Retencion_Mantenimiento();
    Retencion_Mantenimiento(const Retencion_Mantenimiento &) = delete;
    Retencion_Mantenimiento &operator=(const Retencion_Mantenimiento &) = delete;
};

// Switches incidence listening off when something listens (registering, or
// the reading reader lent to a window), and puts back exactly what it found:
// listening again when it was on, nothing when it was off.
class Suspension_Escucha {
public:
    Suspension_Escucha();
    // Puts listening back if Reanuda did not; a port error here is dropped,
    // as the error that ended the workflow early is the one to show.
    ~Suspension_Escucha();
    Suspension_Escucha(const Suspension_Escucha &) = delete;
    Suspension_Escucha &operator=(const Suspension_Escucha &) = delete;

    // Puts listening back now; a port that cannot be opened raises its error
    // after the other lines listen.
    void Reanuda();
    bool Suspendida() const { return m_suspendida; }

private:
    bool m_suspendida = false;
    // The reading reader's own line was closed too.
    bool m_lectura = false;
};

// A workflow's hold on the controllers: its turn (refused with Ocupado while
// another workflow holds it), the maintenance timer held off and listening
// suspended, all given back when it goes. Termina gives back early so that a
// port error on resuming reaches the workflow's caller.
class Trabajo_Controladores {
public:
    Trabajo_Controladores();
    ~Trabajo_Controladores();
    Trabajo_Controladores(const Trabajo_Controladores &) = delete;
    Trabajo_Controladores &operator=(const Trabajo_Controladores &) = delete;

    void Termina();

private:
    struct Turno {
        Turno();
        ~Turno();
    };
    Turno m_turno;
    Retencion_Mantenimiento m_retencion;
    Suspension_Escucha m_suspension;
};

} // namespace kv::wf
