#include "link/tdorno.h"

#include "link/eocupado.h"

#include <QCoreApplication>

using namespace dorno;

namespace {

// Clears the busy flag and stops the reply timer however the exchange ends.
struct FinIntercambio {
    std::function<void()> f;
    ~FinIntercambio() { f(); }
};

} // namespace

TDORNO::TDORNO(QObject *owner)
    : TComPort(owner)
    , m_espera(new QTimer(this))
    , m_aviso(new QTimer(this))
    , m_ack(new QTimer(this))
{
    m_reloj.start();
    m_ack->setSingleShot(true);
    m_ack->setTimerType(Qt::PreciseTimer);
    m_ack->setInterval(PAUSA_ACK_MS);
    connect(m_ack, &QTimer::timeout, this, &TDORNO::Enviar_ACK);
    m_espera->setSingleShot(true);
    m_espera->setTimerType(Qt::PreciseTimer);
    m_espera->setInterval(m_velocidad);
    connect(m_espera, &QTimer::timeout, this, &TDORNO::Fin_Espera);
    m_aviso->setInterval(AVISO_MS);
    connect(m_aviso, &QTimer::timeout, this, &TDORNO::Aviso);
    SetParity(QSerialPort::EvenParity);
    SetStopBits(QSerialPort::TwoStop);
    OnRxChar = [this](QObject *sender, int count) { Recibir(sender, count); };
}

TDORNO::~TDORNO()
{
    OnRxChar = nullptr;
    Close();
}

void TDORNO::SetVelocidad(int ms)
{
    m_velocidad = qMax(0, ms);
    m_espera->setInterval(m_velocidad);
}

void TDORNO::SetVelocidad_lenta(int ms)
{
    m_velocidadLenta = qMax(0, ms);
    m_espera->setInterval(m_velocidadLenta);
}

void TDORNO::Activar_Aviso(bool activo)
{
    if (activo)
        m_aviso->start();
    else
        m_aviso->stop();
}

void TDORNO::Iniciar_Espera()
{
    m_esperando = true;
    m_recibido = false;
    m_espera->stop();
    m_espera->setInterval(m_comando == 29 ? ESPERA_MASTER_MS : m_lento ? m_velocidadLenta : m_velocidad);
    m_espera->start();
}

void TDORNO::Parar_Espera()
{
    m_espera->stop();
}

void TDORNO::Fin_Espera()
{
    m_esperando = false;
    m_espera->stop();
}

Trama_GenDorno TDORNO::Enviar_Comando(std::uint8_t comando, std::uint8_t modo, std::uint8_t direccion)
{
    // Before anything is touched: the outstanding exchange owns the command,
    // the address, the flags and the reply timer.
    if (m_ocupado)
        throw EOcupado(Port());
    m_comando = comando;
    m_ocupado = true;
    m_direccion = direccion;
    m_enviado = false;
    m_aceptada = false;
    m_error.reset();
    FinIntercambio fin{[this] {
        m_ocupado = false;
        Parar_Espera();
    }};

    const std::vector<std::uint8_t> datos(m_datos.begin(), m_datos.end());
    const int intentos = modo == 0 ? 2 : modo == 1 ? 3 : 1;
    for (int intento = 0; intento < intentos; ++intento) {
        m_proto.Vaciar_Registro();
        m_tx = TDORNOProtocolo::Construir_Trama(direccion, static_cast<std::uint8_t>(TAR()), comando, datos);
        Write(reinterpret_cast<const char *>(m_tx.data()), static_cast<qint64>(m_tx.size()));
        m_enviado = true;
        if (modo != 1)
            continue;

        Iniciar_Espera();
        while (!m_recibido && m_esperando && !m_error)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        Parar_Espera();

        if (m_error) {
            const EComPort error = *m_error;
            Close();
            throw error;
        }
        if (!m_esperando)
            m_recibido = false;
        if (m_recibido) {
            m_recibido = false;
            if (direccion == m_remitenteRespuesta || direccion == DIFUSION) {
                m_aceptada = true;
                Completar_ACK();
                return m_respuesta;
            }
            // Another station answered: the line is shared, so sending again
            // would only provoke it again.
            m_enviado = true;
            Completar_ACK();
            return m_respuesta;
        }
    }
    m_enviado = true;
    Completar_ACK();
    return modo == 1 ? m_proto.Registro() : Trama_Vacia();
}

void TDORNO::Recibir(QObject *, int)
{
    // Qt announces new data once; whatever a 128-byte read leaves behind is
    // taken in further reads now rather than waiting for the next byte.
    std::uint8_t lectura[128];
    for (;;) {
        const int n = qMin(InputCount(), 128);
        if (n <= 0)
            return;
        m_proto.Comenzar_Lectura();
        std::fill(std::begin(lectura), std::end(lectura), RELLENO);
        const qint64 leidos = Read(reinterpret_cast<char *>(lectura), n);
        for (qint64 i = 0; i < leidos; ++i) {
            const TDORNOProtocolo::Paso paso = m_proto.Recibir_Byte(lectura[i]);
            if (paso.trama)
                Trama_Aceptada(paso);
        }
        if (m_proto.Terminar_Lectura(lectura, static_cast<std::size_t>(qMax<qint64>(0, leidos))))
            Respuesta_Recibida();
    }
}

void TDORNO::Trama_Aceptada(const TDORNOProtocolo::Paso &paso)
{
    const std::uint8_t codigo = m_proto.Codigo();
    if (codigo == 0x01) {
        // A reply that carries nothing but its sender; it only counts as an
        // answer to a request still outstanding.
        if (m_enviado) {
            Parar_Espera();
            Respuesta_Recibida();
        }
        return;
    }
    Parar_Espera();
    m_enviado = false;
    Respuesta_Recibida();
    m_esperando = true;

    // An event, also while an exchange runs, is kept for the notice timer.
    const bool aviso = m_activarNdemand && TDORNOProtocolo::Necesita_ACK(codigo);
    if (paso.ack) {
        if (aviso && m_avisos.size() >= MAX_AVISOS) {
            // Acknowledged it would have to be dropped; unacknowledged the
            // controller keeps it and sends it again once there is room.
            ++m_sinSitio;
            if (OnAvisoSinSitio)
                OnAvisoSinSitio(this, m_proto.Registro());
            return;
        }
        const bool repetida = Repetida(m_proto.Registro());
        Programar_ACK();
        if (repetida) {
            ++m_repetidas;
            return;
        }
    }
    if (!m_activarNdemand)
        return;
    if (m_ocupado && TDORNOProtocolo::Es_Respuesta_Esperada(m_comando, codigo))
        return;
    if (aviso) {
        m_avisos.push_back(m_proto.Registro());
        return;
    }
    if (OnDORNORecibedNotDemandRxChar)
        OnDORNORecibedNotDemandRxChar(this, m_proto.Registro());
}

void TDORNO::Respuesta_Recibida()
{
    // The first answer after a request is the one judged: a frame from
    // another station that follows it in the same read must not replace it.
    if (!m_recibido) {
        m_respuesta = m_proto.Registro();
        m_remitenteRespuesta = m_proto.Remitente();
    }
    m_recibido = true;
}

bool TDORNO::Repetida(const Trama_GenDorno &trama)
{
    const qint64 ahora = m_reloj.elapsed();
    while (!m_recientes.empty() && ahora - m_recientes.front().ms > VENTANA_REPETIDA_MS)
        m_recientes.pop_front();
    std::size_t n = 0;
    while (n < trama.size() && trama[n] != RELLENO)
        ++n;
    const QByteArray clave(reinterpret_cast<const char *>(trama.data()), static_cast<qsizetype>(n));
    for (auto it = m_recientes.begin(); it != m_recientes.end(); ++it) {
        if (it->trama != clave)
            continue;
        // Each repeat keeps the window open: a controller whose ACKs keep
        // getting lost repeats for longer than one window.
        m_recientes.erase(it);
        m_recientes.push_back(Reciente{clave, ahora});
        return true;
    }
    m_recientes.push_back(Reciente{clave, ahora});
    return false;
}

void TDORNO::Programar_ACK()
{
    // The controller turns its line round after the frame: the ACK goes out
    // 5 ms after the last frame that needs one, from a timer, so that the
    // bytes behind the frame keep being taken meanwhile.
    ++m_acksPendientes;
    m_ack->start();
}

void TDORNO::Enviar_ACK()
{
    const int n = m_acksPendientes;
    m_acksPendientes = 0;
    // A port closed since has nobody to answer; the controller sends again.
    if (n <= 0 || !Connected())
        return;
    const QByteArray acks(n, static_cast<char>(ACK));
    try {
        Write(acks.constData(), acks.size());
    } catch (const EComPort &e) {
        // Raised from a timer the error would have nowhere to go.
        Linea_Perdida(e);
    }
}

void TDORNO::Completar_ACK()
{
    // The command layer closes the port as soon as the exchange returns: an
    // event that came in with the reply still gets its ACK first.
    while (m_ack->isActive() && Connected())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, PAUSA_ACK_MS);
}

void TDORNO::Aviso()
{
    // Every waiting incidence goes out on this tick: a handler that stores
    // each one may hold the thread longer than a tick, and handing on one per
    // tick would let the queue grow behind a busy line. Only the ones waiting
    // now are handed on, so a handler that lets more frames in cannot keep
    // this loop going.
    for (std::size_t n = m_avisos.size(); n > 0 && !m_avisos.empty(); --n) {
        const Trama_GenDorno trama = m_avisos.front();
        m_avisos.pop_front();
        if (OnDORNORecibedNotDemandRxInc)
            OnDORNORecibedNotDemandRxInc(m_aviso, trama);
    }
}

void TDORNO::Linea_Perdida(const EComPort &error)
{
    m_error = error;
    m_esperando = false;
    if (OnLineaPerdida)
        OnLineaPerdida(this, QString::fromUtf8(error.what()));
}
