// Frame building and the receive state machine, byte sequence by byte sequence.
// Every receive case is fed whole, byte by byte, and cut at random points: the
// outcome must not depend on how the line happened to chunk the bytes.
#include "link/dornoprotocolo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;
using namespace dorno;

namespace {

std::string Hex(const Bytes &b)
{
    std::string s;
    char buf[4];
    for (std::uint8_t x : b) {
        std::snprintf(buf, sizeof buf, "%02X ", x);
        s += buf;
    }
    return s;
}

struct Resultado {
    std::vector<Bytes> tramas; // accepted frames: sender, then data bytes up to the first 0xFE
    int acks = 0;
    int acks_sueltos = 0;
};

Bytes Contenido(const Trama_GenDorno &r)
{
    Bytes b;
    for (std::uint8_t x : r) {
        if (x == RELLENO)
            break;
        b.push_back(x);
    }
    return b;
}

// Feeds the reads as the link does: one Comenzar/Terminar pair per read.
Resultado Alimentar(TDORNOProtocolo &p, const std::vector<Bytes> &lecturas)
{
    Resultado r;
    for (const Bytes &l : lecturas) {
        p.Comenzar_Lectura();
        for (std::uint8_t b : l) {
            const auto paso = p.Recibir_Byte(b);
            r.acks += paso.ack;
            if (paso.trama)
                r.tramas.push_back(Contenido(p.Registro()));
        }
        if (p.Terminar_Lectura(l.data(), l.size())) {
            ++r.acks_sueltos;
            EXPECT_EQ(Contenido(p.Registro()), (Bytes{0xAA, 0x06}));
        }
    }
    return r;
}

enum class Corte { Entero, Byte_a_Byte, Aleatorio };

std::vector<Bytes> Cortar(const Bytes &b, Corte corte, unsigned semilla_aleatoria)
{
    std::vector<Bytes> lecturas;
    if (corte == Corte::Entero) {
        lecturas.push_back(b);
    } else if (corte == Corte::Byte_a_Byte) {
        for (std::uint8_t x : b)
            lecturas.push_back({x});
    } else {
        std::mt19937 gen(semilla_aleatoria);
        std::size_t i = 0;
        while (i < b.size()) {
            const std::size_t n = std::uniform_int_distribution<std::size_t>(1, 5)(gen);
            lecturas.emplace_back(b.begin() + i, b.begin() + std::min(b.size(), i + n));
            i += n;
        }
    }
    return lecturas;
}

struct CasoRecepcion {
    const char *nombre;
    Bytes entrada;
    std::vector<Bytes> tramas;
    int acks;
    int acks_sueltos = 0;
};

Bytes Concat(std::initializer_list<Bytes> partes)
{
    Bytes r;
    for (const Bytes &p : partes)
        r.insert(r.end(), p.begin(), p.end());
    return r;
}

const Bytes RESPUESTA_ACK_AA = {0x10, 0x02, 0x81, 0xAA, 0x06, 0x2D, 0x10, 0x03};
// '1' 01 and card 00 12 34 56 78 from controller 5: 81^05^31^01^00^12^34^56^78 = 0xBC
const Bytes EVENTO_TARJETA_5 = {0x10, 0x02, 0x81, 0x05, 0x31, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78, 0xBC, 0x10, 0x03};

Bytes Trama_Larga(std::size_t datos)
{
    Bytes d(datos, 0x41);
    return TDORNOProtocolo::Construir_Trama(0x81, 0x07, 0x2F, Bytes(d.begin() + 1, d.end()));
}

const std::vector<CasoRecepcion> &Casos()
{
    static const std::vector<CasoRecepcion> casos = {
        {"ReplyAckFrom170", RESPUESTA_ACK_AA, {{0xAA, 0x06}}, 0},
        // Sender 16 comes doubled: 81^10^06 = 0x97.
        {"ReplyFromSender16", {0x10, 0x02, 0x81, 0x10, 0x10, 0x06, 0x97, 0x10, 0x03}, {{0x10, 0x06}}, 0},
        {"TwoFramesInOneRead", Concat({RESPUESTA_ACK_AA, EVENTO_TARJETA_5}),
         {{0xAA, 0x06}, {0x05, 0x31, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78}}, 1},
        // Test reply with a data byte 0x10, doubled: 81^AA^2C^02^10^05^15^00^0C = 0x09
        {"DoubledDleInData", {0x10, 0x02, 0x81, 0xAA, 0x2C, 0x02, 0x10, 0x10, 0x05, 0x15, 0x00, 0x0C, 0x09, 0x10, 0x03},
         {{0xAA, 0x2C, 0x02, 0x10, 0x05, 0x15, 0x00, 0x0C}}, 0},
        {"LoneAck", {0x06}, {}, 0, 1},
        {"EchoOfOwnRequestIgnored", {0x10, 0x02, 0xAA, 0x81, 0x51, 0x7A, 0x10, 0x03}, {}, 0},
        {"OtherStationIgnored", {0x10, 0x02, 0x82, 0x05, 0x31, 0x01, 0xB7, 0x10, 0x03}, {}, 0},
        {"BadChecksumDropped", {0x10, 0x02, 0x81, 0xAA, 0x06, 0x2E, 0x10, 0x03}, {}, 0},
        {"EventWithBadChecksumNotAcknowledged",
         {0x10, 0x02, 0x81, 0x05, 0x31, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78, 0xBD, 0x10, 0x03}, {}, 0},
        {"CardEventAcknowledged", EVENTO_TARJETA_5, {{0x05, 0x31, 0x01, 0x00, 0x12, 0x34, 0x56, 0x78}}, 1},
        // '*' is acknowledged though no event is decoded from it: 81^05^2A = 0xAE
        {"StarAcknowledged", {0x10, 0x02, 0x81, 0x05, 0x2A, 0xAE, 0x10, 0x03}, {{0x05, 0x2A}}, 1},
        {"GarbageBeforeFrame", Concat({{0xFF, 0x00, 0x10, 0x10, 0x02, 0x03, 0x07, 0x10, 0x10}, RESPUESTA_ACK_AA}),
         {{0xAA, 0x06}}, 0},
        {"TruncatedFrameRestartedByDleStx", Concat({{0x10, 0x02, 0x81, 0xAA, 0x2C, 0x02}, RESPUESTA_ACK_AA}),
         {{0xAA, 0x06}}, 0},
        {"DleEtxAfterAddressIsNoFrame", Concat({RESPUESTA_ACK_AA, {0x10, 0x02, 0x81, 0x10, 0x03}}), {{0xAA, 0x06}}, 0},
        // An undoubled DLE inside the data is taken as a data byte 0x10: 81^AA^06^10^07 = 0x3A
        {"UndoubledDleTakenAsData", {0x10, 0x02, 0x81, 0xAA, 0x06, 0x10, 0x07, 0x3A, 0x10, 0x03},
         {{0xAA, 0x06, 0x10, 0x07}}, 0},
        // A checksum byte that came as a doubled DLE is not tested.
        {"DoubledDleChecksumAcceptedUntested", {0x10, 0x02, 0x81, 0xAA, 0x06, 0x10, 0x10, 0x10, 0x03}, {{0xAA, 0x06}}, 0},
        {"FrameOf255DataBytesAccepted", Trama_Larga(254), {Concat({{0x07, 0x2F}, Bytes(253, 0x41)})}, 0},
        {"FrameOver255DataBytesDropped", Concat({Trama_Larga(255), RESPUESTA_ACK_AA}), {{0xAA, 0x06}}, 0},
    };
    return casos;
}

class RecepcionTest : public ::testing::TestWithParam<std::tuple<int, Corte>> {};

TEST_P(RecepcionTest, SameOutcomeWhateverTheReads)
{
    const auto [indice, corte] = GetParam();
    const CasoRecepcion &caso = Casos().at(static_cast<std::size_t>(indice));
    for (unsigned semilla_aleatoria = 1; semilla_aleatoria <= (corte == Corte::Aleatorio ? 20u : 1u); ++semilla_aleatoria) {
        SCOPED_TRACE("random start value " + std::to_string(semilla_aleatoria) + ", input " + Hex(caso.entrada));
        TDORNOProtocolo p;
        const Resultado r = Alimentar(p, Cortar(caso.entrada, corte, semilla_aleatoria));
        ASSERT_EQ(r.tramas.size(), caso.tramas.size());
        for (std::size_t i = 0; i < r.tramas.size(); ++i)
            EXPECT_EQ(Hex(r.tramas[i]), Hex(caso.tramas[i])) << "frame " << i;
        EXPECT_EQ(r.acks, caso.acks);
        EXPECT_EQ(r.acks_sueltos, caso.acks_sueltos);
        EXPECT_TRUE(p.Reposo());
    }
}

std::string Nombre(const ::testing::TestParamInfo<std::tuple<int, Corte>> &info)
{
    static const char *cortes[] = {"Whole", "ByteByByte", "RandomSplits"};
    return std::string(Casos().at(static_cast<std::size_t>(std::get<0>(info.param))).nombre) + "_"
        + cortes[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(ByteExamples, RecepcionTest,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(Casos().size())),
                                            ::testing::Values(Corte::Entero, Corte::Byte_a_Byte, Corte::Aleatorio)),
                         Nombre);

struct CasoTrama {
    const char *nombre;
    std::uint8_t destino, origen, comando;
    Bytes datos;
    Bytes esperado;
};

class ConstruirTramaTest : public ::testing::TestWithParam<CasoTrama> {};

TEST_P(ConstruirTramaTest, WireBytes)
{
    const CasoTrama &c = GetParam();
    EXPECT_EQ(Hex(TDORNOProtocolo::Construir_Trama(c.destino, c.origen, c.comando, c.datos)), Hex(c.esperado));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, ConstruirTramaTest,
    ::testing::Values(
        CasoTrama{"Erase170", 0xAA, 0x81, 81, {}, {0x10, 0x02, 0xAA, 0x81, 0x51, 0x7A, 0x10, 0x03}},
        CasoTrama{"TimesWithDlePayload", 0xAA, 0x81, 26, {0x10, 0x05},
                  {0x10, 0x02, 0xAA, 0x81, 0x1A, 0x10, 0x10, 0x05, 0x24, 0x10, 0x03}},
        // 10^81^1B = 0x8A
        CasoTrama{"DestinationDle", 0x10, 0x81, 27, {}, {0x10, 0x02, 0x10, 0x10, 0x81, 0x1B, 0x8A, 0x10, 0x03}},
        // AA^81^3B = 0x10: the checksum itself is doubled.
        CasoTrama{"ChecksumDle", 0xAA, 0x81, 0x3B, {}, {0x10, 0x02, 0xAA, 0x81, 0x3B, 0x10, 0x10, 0x10, 0x03}},
        // AA^81^10 = 0x3B
        CasoTrama{"CommandDle", 0xAA, 0x81, 0x10, {}, {0x10, 0x02, 0xAA, 0x81, 0x10, 0x10, 0x3B, 0x10, 0x03}}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(ConstruirTrama, PayloadAbove255BytesIsRefused)
{
    EXPECT_NO_THROW(TDORNOProtocolo::Construir_Trama(0xAA, 0x81, 97, Bytes(255, 0x10)));
    EXPECT_THROW(TDORNOProtocolo::Construir_Trama(0xAA, 0x81, 97, Bytes(256, 0x00)), std::length_error);
}

// Any frame the builder makes, addressed to us, is taken back unchanged,
// whatever its bytes (0x10 and 0x02/0x03 included) and however it is cut.
TEST(Recepcion, EveryBuiltFrameRoundTrips)
{
    std::mt19937 gen(20240);
    for (int vuelta = 0; vuelta < 300; ++vuelta) {
        const unsigned semilla_aleatoria = gen();
        std::mt19937 g(semilla_aleatoria);
        auto byte = [&] { return static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(g)); };
        const auto pequenyo = [&] {
            static const std::uint8_t v[] = {0x10, 0x02, 0x03, 0x06, 0x00};
            if (g() % 3 == 0)
                return v[g() % 5];
            return byte();
        };
        Bytes datos(std::uniform_int_distribution<std::size_t>(0, 40)(g));
        for (auto &d : datos) {
            d = pequenyo();
            if (d == RELLENO)
                d = 0x00;
        }
        std::uint8_t origen = pequenyo(), codigo = pequenyo();
        if (codigo == RELLENO || codigo == 0x01)
            codigo = 0x06;
        const Bytes trama = TDORNOProtocolo::Construir_Trama(0x81, origen, codigo, datos);
        SCOPED_TRACE("random start value " + std::to_string(semilla_aleatoria) + ", frame " + Hex(trama));
        TDORNOProtocolo p;
        const Resultado r = Alimentar(p, Cortar(trama, Corte::Aleatorio, semilla_aleatoria));
        ASSERT_EQ(r.tramas.size(), 1u);
        EXPECT_EQ(Hex(r.tramas[0]), Hex(Concat({{origen, codigo}, datos})));
        EXPECT_EQ(p.Remitente(), origen);
    }
}

TEST(Recepcion, LoneAckFollowedByFillerIsBareAck)
{
    TDORNOProtocolo p;
    const Resultado r = Alimentar(p, {{0x06, 0xFE}});
    EXPECT_EQ(r.acks_sueltos, 1);
}

TEST(Recepcion, BareAckKeepsTheSenderOfTheFrameBefore)
{
    TDORNOProtocolo p;
    Alimentar(p, {RESPUESTA_ACK_AA, {0x06}});
    EXPECT_EQ(p.Remitente(), 0xAA);
    EXPECT_EQ(p.Registro()[0], MARCA_ACK);
}

TEST(Recepcion, ReplyCode01KeepsOnlyTheSender)
{
    // 81^AA^01 = 0x2A
    TDORNOProtocolo p;
    p.Comenzar_Lectura();
    bool trama = false;
    for (std::uint8_t b : Bytes{0x10, 0x02, 0x81, 0xAA, 0x01, 0x2A, 0x10, 0x03})
        trama |= p.Recibir_Byte(b).trama;
    EXPECT_TRUE(trama);
    EXPECT_EQ(p.Codigo(), 0x01);
    EXPECT_EQ(Contenido(p.Registro()), Bytes{0xAA});
}

TEST(Recepcion, OwnAddressIsSettable)
{
    TDORNOProtocolo p(0x82);
    const Resultado r = Alimentar(p, {{0x10, 0x02, 0x82, 0x05, 0x31, 0x01, 0xB7, 0x10, 0x03}, RESPUESTA_ACK_AA});
    ASSERT_EQ(r.tramas.size(), 1u);
    EXPECT_EQ(r.tramas[0], (Bytes{0x05, 0x31, 0x01}));
}

struct CasoEsperada {
    std::uint8_t comando, codigo;
    bool esperada;
};

class RespuestaEsperadaTest : public ::testing::TestWithParam<CasoEsperada> {};

TEST_P(RespuestaEsperadaTest, ByCommand)
{
    const CasoEsperada &c = GetParam();
    EXPECT_EQ(TDORNOProtocolo::Es_Respuesta_Esperada(c.comando, c.codigo), c.esperada)
        << "command " << int(c.comando) << " code " << int(c.codigo);
}

INSTANTIATE_TEST_SUITE_P(Table, RespuestaEsperadaTest,
                         ::testing::Values(CasoEsperada{26, 0x06, true}, CasoEsperada{34, 0x06, true},
                                           CasoEsperada{65, 0x06, true}, CasoEsperada{81, 0x06, true},
                                           CasoEsperada{85, 0x06, true}, CasoEsperada{97, 0x06, true},
                                           CasoEsperada{97, ',', false}, CasoEsperada{27, ',', true},
                                           CasoEsperada{27, 0x06, false}, CasoEsperada{29, '-', true},
                                           CasoEsperada{37, '&', true}, CasoEsperada{113, '/', true},
                                           CasoEsperada{113, 0x06, false}, CasoEsperada{50, 0x06, false}));

} // namespace
