#pragma once

#include "link/dornoprotocolo.h"
#include "link/ecomport.h"
#include "link/tcomport.h"
#include "link/tramagendorno.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

// The reader link on one port: sends a request frame, waits for the answer
// while the event loop keeps running, retries, acknowledges the frames that
// need it and hands frames nobody asked for to two events. Everything runs on
// the UI thread; nothing here takes a lock, and nothing here blocks it: bytes
// are taken as they arrive and the ACK goes out from a timer.
class TDORNO : public TComPort {
public:
    using TDORNORecibedNotDemandRxChar = std::function<void(QObject *Sender, const Trama_GenDorno &FTResul)>;
    using TDORNORecibedNotDemandRxInc = std::function<void(QObject *Sender, const Trama_GenDorno &FTResul)>;
    // Waits ms milliseconds before a command (Pausa_Activa); tests replace it.
    using TPausa = std::function<void(int ms)>;

    explicit TDORNO(QObject *owner = nullptr);
    ~TDORNO() override;

    int Velocidad() const { return m_velocidad; }
    void SetVelocidad(int ms);
    int Velocidad_lenta() const { return m_velocidadLenta; }
    void SetVelocidad_lenta(int ms);
    bool Lento() const { return m_lento; }
    void SetLento(bool lento) { m_lento = lento; }
    bool Activar_NdemandRC() const { return m_activarNdemand; }
    void SetActivar_NdemandRC(bool activo) { m_activarNdemand = activo; }
    int TAR() const { return m_proto.TAR(); }
    void SetTAR(int tar) { m_proto.Establecer_TAR(static_cast<std::uint8_t>(tar)); }

    // A frame that is neither the awaited reply nor an incidence.
    TDORNORecibedNotDemandRxChar OnDORNORecibedNotDemandRxChar;
    // An incidence frame, raised from the 50 ms notice timer.
    TDORNORecibedNotDemandRxInc OnDORNORecibedNotDemandRxInc;
    // The line went away while open (the port is being closed).
    std::function<void(QObject *Sender, const QString &Error)> OnLineaPerdida;
    // An event frame left unacknowledged because MAX_AVISOS notices already
    // wait: the controller keeps it and sends it again, but the line is
    // falling behind, which the operator should hear of.
    std::function<void(QObject *Sender, const Trama_GenDorno &FTResul)> OnAvisoSinSitio;

    void Borrar_Datos() { m_datos.clear(); }
    void Anyadir_Datos(const QByteArray &texto) { m_datos.append(texto); }

    // Mode 1 waits for the reply, up to three sends; modes 0 (two sends) and
    // 2 or more (one) only send and return the empty record. The port must be
    // open. Throws EComPort when the line fails during the exchange (the port
    // is closed then), and EOcupado when called while an exchange of this link
    // still waits (from a timer or a window running inside that wait): the
    // outstanding exchange and its reply timer are left as they were.
    Trama_GenDorno Enviar_Comando(std::uint8_t comando, std::uint8_t modo, std::uint8_t direccion);
    // True when the last exchange ended with an answer from the addressed
    // controller (from anyone for the broadcast address). Its record may hold
    // another station's frame otherwise, which callers must not judge.
    bool Respuesta_Aceptada() const { return m_aceptada; }

    void Activar_Aviso(bool activo);

    bool Ocupado() const { return m_ocupado; }
    std::size_t Avisos_Pendientes() const { return m_avisos.size(); }
    // Repeats of an acknowledged event acknowledged again and not handed on.
    quint64 Repetidas() const { return m_repetidas; }
    // Event frames left unacknowledged for want of room (OnAvisoSinSitio).
    quint64 Avisos_Sin_Sitio() const { return m_sinSitio; }

    // At most this many incidences wait for the notice timer; a further one
    // is not acknowledged, so the controller keeps it and sends it again.
    static constexpr std::size_t MAX_AVISOS = 256;
    static constexpr int PAUSA_ACK_MS = 5;
    // A controller whose ACK was lost sends the same frame again; a new
    // event identical to the last from the same address within this time
    // cannot be told from such a repeat and is taken as one.
    static constexpr int VENTANA_REPETIDA_MS = 1000;
    static constexpr int AVISO_MS = 50;
    static constexpr int ESPERA_MASTER_MS = 5500;

protected:
    void Linea_Perdida(const EComPort &error) override;

private:
    void Recibir(QObject *Sender, int Count);
    void Trama_Aceptada(const TDORNOProtocolo::Paso &paso);
    void Respuesta_Recibida();
    bool Repetida(const Trama_GenDorno &trama);
    void Programar_ACK();
    void Enviar_ACK();
    void Completar_ACK();
    void Iniciar_Espera();
    void Parar_Espera();
    void Fin_Espera();
    void Aviso();

    TDORNOProtocolo m_proto;
    int m_velocidad = 250;
    int m_velocidadLenta = 4000;
    bool m_lento = false;
    bool m_activarNdemand = false;

    std::uint8_t m_comando = 0;
    std::uint8_t m_direccion = 0;
    QByteArray m_datos;
    std::vector<std::uint8_t> m_tx;

    bool m_ocupado = false;
    bool m_recibido = false;
    bool m_esperando = false;
    bool m_enviado = true;
    bool m_aceptada = false;
    std::optional<EComPort> m_error;
    Trama_GenDorno m_respuesta = dorno::Trama_Vacia();
    std::uint8_t m_remitenteRespuesta = dorno::RELLENO;

    // Incidence frames are copied when they are accepted: the live record is
    // overwritten by whatever arrives next (another frame, the echo of our own
    // ACK on a two-wire line), and an acknowledged event must not be lost.
    std::deque<Trama_GenDorno> m_avisos;

    // Acknowledged event frames of the last VENTANA_REPETIDA_MS: sender and
    // data, and when the last copy arrived.
    struct Reciente {
        QByteArray trama;
        qint64 ms;
    };
    std::deque<Reciente> m_recientes;
    QElapsedTimer m_reloj;
    quint64 m_repetidas = 0;
    quint64 m_sinSitio = 0;
    int m_acksPendientes = 0;

    QTimer *m_espera;
    QTimer *m_aviso;
    QTimer *m_ack;
};
