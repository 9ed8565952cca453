#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace kv {

// One ICMP echo request to a dotted IPv4 address, answered later through the
// event loop: the window that asks never waits. An ordinary user on a stock
// Debian system may open neither a raw socket nor (with the default
// net.ipv4.ping_group_range) an ICMP datagram socket, so the request takes
// the first way that works here: a datagram socket, a raw socket (root or
// CAP_NET_RAW), else the system's ping program, which carries its own
// privilege.
class Eco_Icmp : public QObject {
    Q_OBJECT
public:
    enum class Resultado { Eco_Recibido, Error, Tiempo_Agotado, Destino_Inalcanzable, TTL_Excedido };
    Q_ENUM(Resultado)

    enum class Via { Automatica, Socket_Datagrama, Socket_Crudo, Programa_Ping };
    Q_ENUM(Via)

    explicit Eco_Icmp(QObject *padre = nullptr);
    ~Eco_Icmp() override;

    // Sends the request; Respuesta follows exactly once, never before this
    // returns. A request still pending is dropped (no Respuesta for it). A
    // host that is not a dotted IPv4 address answers Error.
    void Envia(const QString &host, int espera_ms);
    // Drops the pending request, if any.
    void Cancela();
    bool Pendiente() const;

    // Forces one way (tests); Automatica picks the first that works.
    void setVia(Via via) { m_via = via; }
    // Whether a way can be used by this process on this system.
    static bool Disponible(Via via);
    // A dotted quad of four decimal numbers 0..255, nothing else.
    static bool Es_IPv4(const QString &host);

signals:
    void Respuesta(kv::Eco_Icmp::Resultado resultado, const QString &host);

private:
    struct Peticion;
    void Termina(Resultado r);

    Via m_via = Via::Automatica;
    std::unique_ptr<Peticion> m_peticion;
};

} // namespace kv
