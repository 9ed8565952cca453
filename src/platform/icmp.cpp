#include "platform/icmp.h"

#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace kv {
namespace {

constexpr std::uint8_t ECHO_REPLY = 0;
constexpr std::uint8_t UNREACHABLE = 3;
constexpr std::uint8_t ECHO_REQUEST = 8;
constexpr std::uint8_t TIME_EXCEEDED = 11;

std::uint16_t Suma_Control(const std::uint8_t *p, std::size_t n)
{
    std::uint32_t s = 0;
    for (std::size_t i = 0; i + 1 < n; i += 2)
        s += std::uint32_t(p[i]) << 8 | p[i + 1];
    if (n & 1)
        s += std::uint32_t(p[n - 1]) << 8;
    while (s >> 16)
        s = (s & 0xFFFF) + (s >> 16);
    return static_cast<std::uint16_t>(~s);
}

std::uint16_t Lee16(const std::uint8_t *p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

int Abre_Socket(int tipo)
{
    return ::socket(AF_INET, tipo | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
}

QString Programa_Ping()
{
    QString p = QStandardPaths::findExecutable(QStringLiteral("ping"));
    if (p.isEmpty())
        p = QStandardPaths::findExecutable(QStringLiteral("ping"), {QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    return p;
}

// Identifiers tell our replies from those of other pings on the same host
// (a raw socket sees every ICMP message that arrives).
std::uint16_t Nuevo_Identificador()
{
    static std::atomic<std::uint16_t> n{0};
    return static_cast<std::uint16_t>((::getpid() * 31 + n++) & 0xFFFF);
}

} // namespace

struct Eco_Icmp::Peticion {
    QString host;
    Via via = Via::Automatica;
    int fd = -1;
    std::uint16_t id = 0;
    std::uint16_t seq = 1;
    QSocketNotifier *aviso = nullptr;
    QProcess *ping = nullptr;
    QTimer limite;

    ~Peticion()
    {
        delete aviso;
        if (fd >= 0)
            ::close(fd);
        if (ping) {
            ping->disconnect();
            ping->kill();
            ping->waitForFinished(200);
            delete ping;
        }
    }
};

Eco_Icmp::Eco_Icmp(QObject *padre)
    : QObject(padre)
{
}

Eco_Icmp::~Eco_Icmp() = default;

bool Eco_Icmp::Es_IPv4(const QString &host)
{
    static const QRegularExpression forma(QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch m = forma.match(host);
    if (!m.hasMatch())
        return false;
    for (int i = 1; i <= 4; ++i)
        if (m.captured(i).toInt() > 255)
            return false;
    return true;
}

bool Eco_Icmp::Disponible(Via via)
{
    switch (via) {
    case Via::Socket_Datagrama:
    case Via::Socket_Crudo: {
        const int fd = Abre_Socket(via == Via::Socket_Datagrama ? SOCK_DGRAM : SOCK_RAW);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    }
    case Via::Programa_Ping:
        return !Programa_Ping().isEmpty();
    case Via::Automatica:
        return Disponible(Via::Socket_Datagrama) || Disponible(Via::Socket_Crudo) || Disponible(Via::Programa_Ping);
    }
    return false;
}

bool Eco_Icmp::Pendiente() const
{
    return m_peticion != nullptr;
}

void Eco_Icmp::Cancela()
{
    m_peticion.reset();
}

void Eco_Icmp::Termina(Resultado r)
{
    if (!m_peticion)
        return;
    const QString host = m_peticion->host;
    // The request goes before the signal, so a receiver may send the next one.
    m_peticion.reset();
    emit Respuesta(r, host);
}

void Eco_Icmp::Envia(const QString &host, int espera_ms)
{
    m_peticion = std::make_unique<Peticion>();
    Peticion *p = m_peticion.get();
    p->host = host;
    p->limite.setSingleShot(true);
    connect(&p->limite, &QTimer::timeout, this, [this] { Termina(Resultado::Tiempo_Agotado); });

    // Results that are known at once still arrive through the event loop, as
    // the caller was promised.
    const auto mas_tarde = [this, p](Resultado r) {
        QTimer::singleShot(0, this, [this, p, r] {
            if (m_peticion.get() == p)
                Termina(r);
        });
    };

    if (!Es_IPv4(host)) {
        mas_tarde(Resultado::Error);
        return;
    }
    sockaddr_in destino{};
    destino.sin_family = AF_INET;
    ::inet_pton(AF_INET, host.toLatin1().constData(), &destino.sin_addr);

    const std::array<Via, 3> vias = {Via::Socket_Datagrama, Via::Socket_Crudo, Via::Programa_Ping};
    for (Via via : vias) {
        if (m_via != Via::Automatica && m_via != via)
            continue;
        if (via == Via::Programa_Ping) {
            const QString programa = Programa_Ping();
            if (programa.isEmpty())
                continue;
            p->via = via;
            p->ping = new QProcess;
            QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
            entorno.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
            p->ping->setProcessEnvironment(entorno);
            p->ping->setProcessChannelMode(QProcess::MergedChannels);
            // ping's own wait is whole seconds; the deadline below is the real one.
            const int segundos = qMax(1, int(std::ceil(espera_ms / 1000.0)));
            connect(p->ping, &QProcess::finished, this, [this, p](int codigo, QProcess::ExitStatus estado) {
                if (m_peticion.get() != p)
                    return;
                const QByteArray salida = p->ping->readAll();
                if (estado == QProcess::NormalExit && codigo == 0)
                    Termina(Resultado::Eco_Recibido);
                else if (salida.contains("Unreachable"))
                    Termina(Resultado::Destino_Inalcanzable);
                else if (salida.contains("Time to live exceeded"))
                    Termina(Resultado::TTL_Excedido);
                else if (estado == QProcess::NormalExit && codigo == 1)
                    Termina(Resultado::Tiempo_Agotado);
                else
                    Termina(Resultado::Error);
            });
            connect(p->ping, &QProcess::errorOccurred, this, [this, p](QProcess::ProcessError e) {
                if (e == QProcess::FailedToStart && m_peticion.get() == p)
                    Termina(Resultado::Error);
            });
            p->ping->start(programa, {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-W"),
                                      QString::number(segundos), host});
            p->limite.start(espera_ms);
            return;
        }

        const bool datagrama = via == Via::Socket_Datagrama;
        const int fd = Abre_Socket(datagrama ? SOCK_DGRAM : SOCK_RAW);
        if (fd < 0)
            continue;
        p->via = via;
        p->fd = fd;
        p->id = Nuevo_Identificador();
        std::array<std::uint8_t, 16> eco{};
        eco[0] = ECHO_REQUEST;
        eco[4] = p->id >> 8;
        eco[5] = p->id & 0xFF;
        eco[6] = p->seq >> 8;
        eco[7] = p->seq & 0xFF;
        std::memcpy(eco.data() + 8, "keyvane!", 8);
        const std::uint16_t suma = Suma_Control(eco.data(), eco.size());
        eco[2] = suma >> 8;
        eco[3] = suma & 0xFF;
        if (::sendto(fd, eco.data(), eco.size(), 0, reinterpret_cast<sockaddr *>(&destino), sizeof destino) < 0) {
            mas_tarde(Resultado::Error);
            return;
        }
        const std::uint32_t origen = destino.sin_addr.s_addr;
        p->aviso = new QSocketNotifier(fd, QSocketNotifier::Read);
        connect(p->aviso, &QSocketNotifier::activated, this, [this, p, datagrama, origen] {
            if (m_peticion.get() != p)
                return;
            std::array<std::uint8_t, 1500> b{};
            sockaddr_in de{};
            socklen_t largo = sizeof de;
            for (;;) {
                const ssize_t n = ::recvfrom(p->fd, b.data(), b.size(), 0, reinterpret_cast<sockaddr *>(&de), &largo);
                if (n <= 0)
                    return;
                std::size_t ip = 0;
                if (!datagrama) { // a raw socket hands over the IP header too
                    if (n < 20)
                        continue;
                    ip = std::size_t(b[0] & 0x0F) * 4;
                }
                if (std::size_t(n) < ip + 8)
                    continue;
                const std::uint8_t *icmp = b.data() + ip;
                const std::size_t resto = std::size_t(n) - ip;
                if (icmp[0] == ECHO_REPLY) {
                    // A datagram socket's identifier is the kernel's, and
                    // only our own replies reach it.
                    const bool nuestro = Lee16(icmp + 6) == p->seq && (datagrama || Lee16(icmp + 4) == p->id);
                    if (nuestro && de.sin_addr.s_addr == origen) {
                        Termina(Resultado::Eco_Recibido);
                        return;
                    }
                } else if (!datagrama && (icmp[0] == UNREACHABLE || icmp[0] == TIME_EXCEEDED) && resto >= 8 + 20 + 8) {
                    // The error quotes our request: its IP header, then its first 8 bytes.
                    const std::uint8_t *cita = icmp + 8;
                    const std::size_t cita_ip = std::size_t(cita[0] & 0x0F) * 4;
                    if (resto < 8 + cita_ip + 8)
                        continue;
                    const std::uint8_t *original = cita + cita_ip;
                    if (original[0] == ECHO_REQUEST && Lee16(original + 4) == p->id && Lee16(original + 6) == p->seq) {
                        Termina(icmp[0] == UNREACHABLE ? Resultado::Destino_Inalcanzable : Resultado::TTL_Excedido);
                        return;
                    }
                }
            }
        });
        p->limite.start(espera_ms);
        return;
    }
    mas_tarde(Resultado::Error);
}

} // namespace kv
