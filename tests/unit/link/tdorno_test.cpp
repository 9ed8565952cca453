// The exchange, the acknowledgements and the event routing of the link, with
// exact bytes from the far end of a pseudo-terminal.
#include "link/dornoprotocolo.h"
#include "link/ecomport.h"
#include "link/eocupado.h"
#include "link/tdorno.h"
#include "platform/paths.h"
#include "ptypeer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace dorno;

namespace {

QByteArray Trama(std::uint8_t remitente, QByteArray datos, std::uint8_t destino = TAR_PC)
{
    const std::vector<std::uint8_t> resto(datos.begin() + 1, datos.end());
    const auto t = TDORNOProtocolo::Construir_Trama(destino, remitente, static_cast<std::uint8_t>(datos.at(0)), resto);
    return QByteArray(reinterpret_cast<const char *>(t.data()), static_cast<int>(t.size()));
}

QByteArray Peticion(std::uint8_t destino, std::uint8_t comando)
{
    const auto t = TDORNOProtocolo::Construir_Trama(destino, TAR_PC, comando, {});
    return QByteArray(reinterpret_cast<const char *>(t.data()), static_cast<int>(t.size()));
}

QByteArray Contenido(const Trama_GenDorno &r)
{
    QByteArray b;
    for (std::uint8_t x : r) {
        if (x == RELLENO)
            break;
        b.append(static_cast<char>(x));
    }
    return b;
}

const QByteArray EVENTO_TARJETA = QByteArray("1\x01\x00\x12\x34\x56\x78", 7);

class DornoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kv::Paths::setPortsDir(m_dir.path());
        m_peer = std::make_unique<PtyPeer>(m_dir.path() + QStringLiteral("/COM2"));
        ASSERT_TRUE(m_peer->isValid());
        m_peer->onData = [this](const QByteArray &chunk) {
            // Requests written back to back may arrive in one chunk.
            for (qsizetype n = chunk.count("\x10\x02"); n > 0; --n) {
                ++m_envios;
                if (m_responder)
                    m_responder();
            }
        };
        m_link = std::make_unique<TDORNO>();
        m_link->SetVelocidad(100);
        m_link->SetPort(QStringLiteral("COM2"));
        m_link->Open();
    }
    void TearDown() override
    {
        m_link.reset();
        m_peer.reset();
        kv::Paths::reset();
    }
    void Responder(const QByteArray &bytes)
    {
        m_responder = [this, bytes] { m_peer->send(bytes); };
    }
    int Acks() const { return static_cast<int>(m_peer->received().count('\x06')); }

    QTemporaryDir m_dir;
    std::unique_ptr<PtyPeer> m_peer;
    std::unique_ptr<TDORNO> m_link;
    std::function<void()> m_responder;
    int m_envios = 0;
};

TEST_F(DornoTest, RequestGoesOutAndTheReplyIsTaken)
{
    Responder(QByteArray::fromHex("10028181AA062D1003").remove(2, 1));
    QElapsedTimer t;
    t.start();
    const Trama_GenDorno r = m_link->Enviar_Comando(81, 1, 0xAA);
    EXPECT_EQ(m_peer->received().toHex(' '), QByteArray("10 02 aa 81 51 7a 10 03"));
    EXPECT_EQ(Contenido(r).toHex(' '), QByteArray("aa 06"));
    EXPECT_TRUE(m_link->Respuesta_Aceptada());
    EXPECT_FALSE(m_link->Ocupado());
    // Bytes are taken as they arrive: no time per data byte on top of the line's.
    EXPECT_LT(t.elapsed(), 50);
}

TEST_F(DornoTest, SilenceMeansThreeSendsThenTheFillerRecord)
{
    QElapsedTimer t;
    t.start();
    const Trama_GenDorno r = m_link->Enviar_Comando(27, 1, 0xAA);
    const qint64 ms = t.elapsed();
    EXPECT_EQ(m_envios, 3);
    EXPECT_GE(ms, 290);
    EXPECT_LT(ms, 1000);
    EXPECT_EQ(r, Trama_Vacia());
    EXPECT_FALSE(m_link->Respuesta_Aceptada());
    EXPECT_FALSE(m_link->Ocupado());
}

TEST_F(DornoTest, SlowModeAndMasterChangeUseTheirOwnTimeOuts)
{
    m_link->SetVelocidad(10);
    m_link->SetVelocidad_lenta(150);
    m_link->SetLento(true);
    QElapsedTimer t;
    t.start();
    m_link->Enviar_Comando(27, 1, 0xAA);
    EXPECT_GE(t.elapsed(), 440);

    // The master change waits 5500 ms per send: its reply after 1 s still counts.
    m_link->SetLento(false);
    m_envios = 0;
    m_responder = [this] { QTimer::singleShot(1000, [this] { m_peer->send(Trama(0xAA, "-\x01")); }); };
    t.restart();
    const Trama_GenDorno r = m_link->Enviar_Comando(29, 1, 0xAA);
    EXPECT_EQ(m_envios, 1);
    EXPECT_EQ(Contenido(r).toHex(' '), QByteArray("aa 2d 01"));
    EXPECT_GE(t.elapsed(), 900);
}

TEST_F(DornoTest, ModesWithoutWaitOnlySend)
{
    Responder(Trama(0xAA, "\x06"));
    EXPECT_EQ(m_link->Enviar_Comando(81, 0, 0xAA), Trama_Vacia());
    PtyPeer::waitFor([this] { return m_envios == 2; }, 1000);
    EXPECT_EQ(m_envios, 2);
    m_envios = 0;
    m_link->Enviar_Comando(81, 2, 0xAA);
    PtyPeer::waitFor([this] { return m_envios == 1; }, 1000);
    EXPECT_EQ(m_envios, 1);
    EXPECT_FALSE(m_link->Respuesta_Aceptada());
}

struct CasoRespuesta {
    const char *nombre;
    std::uint8_t destino;
    QByteArray antes;     // arrives before the exchange
    QByteArray respuesta; // sent after every request
    int envios;
    bool aceptada;
    QByteArray registro; // hex of the record up to the first 0xFE
    int acks;
};

class RespuestaTest : public DornoTest, public ::testing::WithParamInterface<CasoRespuesta> {};

TEST_P(RespuestaTest, JudgedAsTheLinkPrescribes)
{
    const CasoRespuesta &c = GetParam();
    if (!c.antes.isEmpty()) {
        m_peer->send(c.antes);
        PtyPeer::waitFor([] { return false; }, 100);
        m_peer->clearReceived();
    }
    Responder(c.respuesta);
    const Trama_GenDorno r = m_link->Enviar_Comando(97, 1, c.destino);
    PtyPeer::waitFor([] { return false; }, 50);
    EXPECT_EQ(m_envios, c.envios);
    EXPECT_EQ(m_link->Respuesta_Aceptada(), c.aceptada);
    EXPECT_EQ(Contenido(r).toHex(' '), c.registro);
    EXPECT_EQ(Acks(), c.acks);
    EXPECT_FALSE(m_link->Ocupado());
}

// Longer than the one-byte count can hold, so built by hand ('/' needs no doubling).
QByteArray Trama_Larga(int datos)
{
    QByteArray t = QByteArray::fromHex("100281AA") + QByteArray(datos, '/');
    std::uint8_t checksum = 0x81 ^ 0xAA;
    for (int i = 0; i < datos; ++i)
        checksum ^= '/';
    t.append(static_cast<char>(checksum));
    return t + QByteArray::fromHex("1003");
}

QByteArray Basura()
{
    std::mt19937 g(77);
    QByteArray b;
    for (int i = 0; i < 600; ++i) {
        const auto x = static_cast<char>(g() % 256);
        b.append(x == 0x10 || x == 0x06 ? '\x55' : x);
    }
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RespuestaTest,
    ::testing::Values(
        CasoRespuesta{"BareAckToBroadcast", 0x80, {}, "\x06", 1, true, "aa 06", 0},
        CasoRespuesta{"BareAckAfterAFrameFromTheSameController", 0x05, Trama(0x05, ",\x02"), "\x06", 1, true, "aa 06", 0},
        CasoRespuesta{"BareAckAfterAFrameFromAnother", 0x05, Trama(0x07, ",\x02"), "\x06", 1, false, "aa 06", 0},
        CasoRespuesta{"ReplyFromAnotherAddressEndsWithoutRetry", 0xAA, {}, Trama(0x05, "\x06"), 1, false, "05 06", 0},
        CasoRespuesta{"ReplyFromSender16", 0x10, {}, Trama(0x10, "\x06"), 1, true, "10 06", 0},
                // A dropped frame still leaves its sender in record byte 0; byte 1 tells the failure.
        CasoRespuesta{"BadChecksumIgnoredUntilTimeOut", 0xAA, {}, QByteArray::fromHex("100281AA062E1003"), 3, false, "aa", 0},
        CasoRespuesta{"EventWithBadChecksumNotAcknowledged", 0xAA, {}, QByteArray::fromHex("100281AA3101BD1003"), 3, false, "aa", 0},
        CasoRespuesta{"FrameForAnotherStationIgnored", 0xAA, {}, Trama(0xAA, "\x06", 0x82), 3, false, "", 0},
        CasoRespuesta{"EchoOfTheRequestIgnored", 0xAA, {}, Peticion(0xAA, 97), 3, false, "", 0},
        CasoRespuesta{"EventInPlaceOfTheReplyIsAcknowledged", 0xAA, {}, Trama(0xAA, EVENTO_TARJETA), 1, true,
                      "aa 31 01 00 12 34 56 78", 1},
        CasoRespuesta{"SerialGarbage", 0xAA, {}, Basura(), 3, false, "", 0},
        CasoRespuesta{"TruncatedFrames", 0xAA, {}, QByteArray::fromHex("100281AA06"), 3, false, "aa", 0},
        CasoRespuesta{"FrameOver255DataBytes", 0xAA, {}, Trama_Larga(300), 3, false, "aa", 0},
        CasoRespuesta{"TwoFramesTheSecondFromAnotherStation", 0xAA, {}, Trama(0xAA, "\x06") + Trama(0x05, "\x06"), 1, true,
                      "aa 06", 0}),
    [](const auto &info) { return std::string(info.param.nombre); });

// Bytes trickling in one by one, as they do at wire speed: a data byte 0x06
// alone in its read is part of the frame, not a bare ACK.
TEST_F(DornoTest, ReplyArrivingByteByByteIsTakenWhole)
{
    const QByteArray respuesta = Trama(0xAA, QByteArray(",\x02\x06\x05\x15\x00\x0c", 7));
    m_responder = [this, respuesta] {
        for (int i = 0; i < respuesta.size(); ++i)
            QTimer::singleShot(3 * i, [this, b = respuesta.mid(i, 1)] { m_peer->send(b); });
    };
    m_link->SetVelocidad(500);
    const Trama_GenDorno r = m_link->Enviar_Comando(27, 1, 0xAA);
    EXPECT_TRUE(m_link->Respuesta_Aceptada());
    EXPECT_EQ(Contenido(r).toHex(' '), QByteArray("aa 2c 02 06 05 15 00 0c"));
}

// The wait pumps the event loop, so a timer can ask the same link for a second
// exchange; it is refused and the first goes on as if nothing happened.
TEST_F(DornoTest, ASecondExchangeInsideTheWaitIsRefused)
{
    m_link->SetVelocidad(1000);
    m_responder = [this] { QTimer::singleShot(300, [this] { m_peer->send(Trama(0xAA, QByteArray(",\x02\x05\x14\x15\x00\x03", 7))); }); };
    QString anidado;
    bool ocupado_dentro = false;
    QTimer::singleShot(100, [&] {
        ocupado_dentro = m_link->Ocupado();
        try {
            m_link->Enviar_Comando(97, 1, 0x05);
            anidado = QStringLiteral("no error");
        } catch (const EOcupado &e) {
            anidado = QString::fromUtf8(e.what());
        }
    });
    QElapsedTimer t;
    t.start();
    const Trama_GenDorno r = m_link->Enviar_Comando(27, 1, 0xAA);
    EXPECT_TRUE(ocupado_dentro);
    EXPECT_EQ(anidado, QStringLiteral("COM2: an exchange is still waiting for its reply"));
    // Nothing more went on the line and the outstanding exchange took its reply.
    EXPECT_EQ(m_envios, 1);
    EXPECT_EQ(m_peer->received().count("\x10\x02"), 1);
    EXPECT_TRUE(m_link->Respuesta_Aceptada());
    EXPECT_EQ(Contenido(r).toHex(' '), QByteArray("aa 2c 02 05 14 15 00 03"));
    EXPECT_GE(t.elapsed(), 250);
    EXPECT_FALSE(m_link->Ocupado());
}

TEST_F(DornoTest, NegativeTimeOutsReadAsZero)
{
    m_link->SetVelocidad(-5);
    m_link->SetVelocidad_lenta(-1);
    EXPECT_EQ(m_link->Velocidad(), 0);
    EXPECT_EQ(m_link->Velocidad_lenta(), 0);
}

TEST_F(DornoTest, ExchangeOnAClosedPortRaisesEComPort)
{
    m_link->Close();
    EXPECT_THROW(m_link->Enviar_Comando(27, 1, 0xAA), EComPort);
    EXPECT_FALSE(m_link->Ocupado());
}

TEST_F(DornoTest, LineVanishingMidExchangeEndsItWithEComPort)
{
    m_link->SetVelocidad(3000);
    m_responder = [this] { QTimer::singleShot(100, [this] { m_peer->vanish(); }); };
    QElapsedTimer t;
    t.start();
    EXPECT_THROW(m_link->Enviar_Comando(27, 1, 0xAA), EComPort);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_FALSE(m_link->Connected());
    EXPECT_FALSE(m_link->Ocupado());
}

// Listening: events are acknowledged in every case, and delivered from the
// notice timer only when not-demanded delivery is on.
class EventoTest : public DornoTest {
protected:
    void SetUp() override
    {
        DornoTest::SetUp();
        m_link->OnDORNORecibedNotDemandRxInc = [this](QObject *sender, const Trama_GenDorno &t) {
            EXPECT_NE(sender, m_link.get());
            m_incidencias.push_back(Contenido(t).toHex(' '));
        };
        m_link->OnDORNORecibedNotDemandRxChar = [this](QObject *sender, const Trama_GenDorno &t) {
            EXPECT_EQ(sender, m_link.get());
            m_otras.push_back(Contenido(t).toHex(' '));
        };
        m_link->Activar_Aviso(true);
    }
    std::vector<QByteArray> m_incidencias, m_otras;
};

TEST_F(EventoTest, WithoutNotDemandedDeliveryEventsAreOnlyAcknowledged)
{
    m_peer->send(Trama(0x05, EVENTO_TARJETA));
    EXPECT_TRUE(PtyPeer::waitFor([this] { return Acks() == 1; }, 2000));
    PtyPeer::waitFor([] { return false; }, 200);
    EXPECT_TRUE(m_incidencias.empty());
    EXPECT_TRUE(m_otras.empty());
}

TEST_F(EventoTest, TheAckGoesOutFiveMillisecondsAfterTheFrame)
{
    m_link->SetActivar_NdemandRC(true);
    QElapsedTimer t;
    t.start();
    qint64 ack_ms = -1;
    m_peer->onData = [&](const QByteArray &chunk) {
        if (ack_ms < 0 && chunk.contains('\x06'))
            ack_ms = t.elapsed();
    };
    m_peer->send(Trama(0x05, EVENTO_TARJETA));
    ASSERT_TRUE(PtyPeer::waitFor([&] { return ack_ms >= 0; }, 2000));
    EXPECT_GE(ack_ms, TDORNO::PAUSA_ACK_MS - 1);
    EXPECT_LT(ack_ms, 50);
}

// A controller whose ACK was lost sends the very same frame again.
struct CasoRepeticion {
    const char *nombre;
    std::vector<std::pair<int, QByteArray>> tramas; // sent after so many ms from the previous
    std::vector<QByteArray> entregadas;
};

class RepeticionTest : public EventoTest, public ::testing::WithParamInterface<CasoRepeticion> {};

TEST_P(RepeticionTest, EveryCopyIsAcknowledgedAndOnlyNewEventsHandedOn)
{
    const CasoRepeticion &c = GetParam();
    m_link->SetActivar_NdemandRC(true);
    for (const auto &[ms, trama] : c.tramas) {
        PtyPeer::waitFor([] { return false; }, ms);
        m_peer->send(trama);
    }
    ASSERT_TRUE(PtyPeer::waitFor([&] { return Acks() == static_cast<int>(c.tramas.size()); }, 2000));
    PtyPeer::waitFor([] { return false; }, 150);
    EXPECT_EQ(m_incidencias, c.entregadas);
    EXPECT_EQ(m_link->Repetidas(), c.tramas.size() - c.entregadas.size());
}

const QByteArray OTRA_TARJETA = QByteArray("1\x01\x00\x12\x34\x56\x79", 7);

INSTANTIATE_TEST_SUITE_P(
    Repeats, RepeticionTest,
    ::testing::Values(
        CasoRepeticion{"RepeatWithinTheWindow", {{0, Trama(0x05, EVENTO_TARJETA)}, {300, Trama(0x05, EVENTO_TARJETA)}},
                       {"05 31 01 00 12 34 56 78"}},
        // Each repeat keeps the window open: 1.5 s of lost ACKs is still one event.
        CasoRepeticion{"RepeatsLongerThanOneWindow",
                       {{0, Trama(0x05, EVENTO_TARJETA)}, {500, Trama(0x05, EVENTO_TARJETA)},
                        {500, Trama(0x05, EVENTO_TARJETA)}, {500, Trama(0x05, EVENTO_TARJETA)}},
                       {"05 31 01 00 12 34 56 78"}},
        CasoRepeticion{"SameCardAgainAfterTheWindow",
                       {{0, Trama(0x05, EVENTO_TARJETA)}, {TDORNO::VENTANA_REPETIDA_MS + 200, Trama(0x05, EVENTO_TARJETA)}},
                       {"05 31 01 00 12 34 56 78", "05 31 01 00 12 34 56 78"}},
        CasoRepeticion{"SameFrameFromAnotherController", {{0, Trama(0x05, EVENTO_TARJETA)}, {50, Trama(0x06, EVENTO_TARJETA)}},
                       {"05 31 01 00 12 34 56 78", "06 31 01 00 12 34 56 78"}},
        CasoRepeticion{"AnotherCardAtTheSameController",
                       {{0, Trama(0x05, EVENTO_TARJETA)}, {50, Trama(0x05, OTRA_TARJETA)}, {50, Trama(0x05, EVENTO_TARJETA)}},
                       {"05 31 01 00 12 34 56 78", "05 31 01 00 12 34 56 79"}}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST_F(EventoTest, AFullQueueLeavesTheEventUnacknowledgedAndSaysSo)
{
    m_link->SetActivar_NdemandRC(true);
    m_link->Activar_Aviso(false);
    std::vector<QByteArray> sin_sitio;
    m_link->OnAvisoSinSitio = [&](QObject *, const Trama_GenDorno &t) { sin_sitio.push_back(Contenido(t).toHex(' ')); };
    QByteArray tramas;
    for (int i = 0; i <= static_cast<int>(TDORNO::MAX_AVISOS); ++i)
        tramas += Trama(0x05, QByteArray("1\x01\x00\x00\x00", 5) + static_cast<char>(i / 100) + static_cast<char>(i % 100 + 1));
    m_peer->send(tramas);
    ASSERT_TRUE(PtyPeer::waitFor([&] { return !sin_sitio.empty(); }, 3000));
    PtyPeer::waitFor([] { return false; }, 100);
    EXPECT_EQ(Acks(), static_cast<int>(TDORNO::MAX_AVISOS));
    EXPECT_EQ(m_link->Avisos_Pendientes(), TDORNO::MAX_AVISOS);
    EXPECT_EQ(m_link->Avisos_Sin_Sitio(), 1u);
    EXPECT_EQ(sin_sitio, (std::vector<QByteArray>{"05 31 01 00 00 00 02 39"}));
    // Handed on, every acknowledged one is there; the refused one comes again.
    m_link->Activar_Aviso(true);
    ASSERT_TRUE(PtyPeer::waitFor([&] { return m_incidencias.size() == TDORNO::MAX_AVISOS; }, 2000));
    m_peer->send(Trama(0x05, QByteArray("1\x01\x00\x00\x00\x02\x39", 7)));
    ASSERT_TRUE(PtyPeer::waitFor([&] { return m_incidencias.size() == TDORNO::MAX_AVISOS + 1; }, 2000));
    EXPECT_EQ(m_incidencias.back(), QByteArray("05 31 01 00 00 00 02 39"));
}

TEST_F(EventoTest, IncidenceDeliveredFromTheNoticeTimer)
{
    m_link->SetActivar_NdemandRC(true);
    m_peer->send(Trama(0x05, EVENTO_TARJETA));
    ASSERT_TRUE(PtyPeer::waitFor([this] { return !m_incidencias.empty(); }, 2000));
    EXPECT_EQ(m_incidencias, (std::vector<QByteArray>{"05 31 01 00 12 34 56 78"}));
    EXPECT_EQ(Acks(), 1);
}

TEST_F(EventoTest, TwoEventsWithinOneNoticePeriodAreBothDelivered)
{
    m_link->SetActivar_NdemandRC(true);
    m_peer->send(Trama(0x05, EVENTO_TARJETA) + Trama(0x06, QByteArray("7\x01", 2)));
    ASSERT_TRUE(PtyPeer::waitFor([this] { return m_incidencias.size() == 2; }, 2000));
    EXPECT_EQ(m_incidencias[0], QByteArray("05 31 01 00 12 34 56 78"));
    EXPECT_EQ(m_incidencias[1], QByteArray("06 37 01"));
    EXPECT_EQ(Acks(), 2);
}

TEST_F(EventoTest, EchoOfOurAckDoesNotWipeTheEvent)
{
    m_link->SetActivar_NdemandRC(true);
    m_peer->onData = [this](const QByteArray &chunk) { m_peer->send(chunk); }; // a two-wire line
    m_peer->send(Trama(0x05, QByteArray("E\x00", 2)));
    ASSERT_TRUE(PtyPeer::waitFor([this] { return !m_incidencias.empty(); }, 2000));
    EXPECT_EQ(m_incidencias[0], QByteArray("05 45 00"));
}

TEST_F(EventoTest, OtherUnaskedFramesAreRaisedAtOnce)
{
    m_link->SetActivar_NdemandRC(true);
    m_peer->send(Trama(0x05, "\x06"));
    ASSERT_TRUE(PtyPeer::waitFor([this] { return !m_otras.empty(); }, 2000));
    EXPECT_EQ(m_otras[0], QByteArray("05 06"));
    EXPECT_EQ(Acks(), 0);
    EXPECT_TRUE(m_incidencias.empty());
}

TEST_F(EventoTest, DuringAnExchangeTheAwaitedReplyIsNotRaisedButAnEventIsKept)
{
    m_link->SetActivar_NdemandRC(true);
    Responder(Trama(0x07, QByteArray("5\x00", 2)) + Trama(0x05, "\x06"));
    m_link->Enviar_Comando(97, 1, 0x05);
    ASSERT_TRUE(PtyPeer::waitFor([this] { return !m_incidencias.empty(); }, 2000));
    EXPECT_EQ(m_incidencias[0], QByteArray("07 35 00"));
    EXPECT_TRUE(m_otras.empty());

    m_incidencias.clear();
    Responder(Trama(0x05, ",\x02"));
    m_link->Enviar_Comando(97, 1, 0x05);
    EXPECT_EQ(m_otras, (std::vector<QByteArray>{"05 2c 02"}));
}

} // namespace
