// Card-code conversions, event decoding and the incidence kinds: pure tables.
#include "link/tipoincidencia.h"
#include "link/zarvcomunicador.h"

#include <gtest/gtest.h>

namespace {

struct CasoCodigo {
    const char *codigo;
    const char *bcd;
    const char *hex;
};

class CodigoTest : public ::testing::TestWithParam<CasoCodigo> {};

TEST_P(CodigoTest, FiveBytesTwoDigitsEach)
{
    const CasoCodigo &c = GetParam();
    EXPECT_EQ(ZARVComunicador::Codigo_a_BCD(QString::fromUtf8(c.codigo)).toHex(' '), QByteArray(c.bcd));
    EXPECT_EQ(ZARVComunicador::Codigo_a_Hex(QString::fromUtf8(c.codigo)).toHex(' '), QByteArray(c.hex));
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CodigoTest,
    ::testing::Values(CasoCodigo{"12345", "00 00 01 23 45", "00 00 01 23 45"},
                      CasoCodigo{"0012345678", "00 12 34 56 78", "00 12 34 56 78"},
                      CasoCodigo{"00A1B2C3D4", "00 01 02 03 04", "00 a1 b2 c3 d4"},
                      CasoCodigo{"a1", "00 00 00 00 01", "00 00 00 00 a1"},
                      CasoCodigo{"123456789012", "12 34 56 78 90", "12 34 56 78 90"},
                      CasoCodigo{"", "00 00 00 00 00", "00 00 00 00 00"},
                      CasoCodigo{"12 4G-9", "00 01 20 40 09", "00 01 20 40 09"},
                      CasoCodigo{"99999\xc3\xb1""9999", "99 99 90 99 99", "99 99 90 99 99"}));

Trama_GenDorno Registro(std::initializer_list<std::uint8_t> bytes)
{
    Trama_GenDorno t = dorno::Trama_Vacia();
    std::size_t i = 0;
    for (std::uint8_t b : bytes)
        t[i++] = b;
    return t;
}

struct CasoEvento {
    const char *nombre;
    Trama_GenDorno trama;
    int tipo;
    const char *parametro_1;
    const char *parametro_7;
    const char *tarjeta;
};

class DecodificarTest : public ::testing::TestWithParam<CasoEvento> {};

TEST_P(DecodificarTest, Fields)
{
    const CasoEvento &c = GetParam();
    const TEventoInformacion e = ZARVComunicador::Decodificar(c.trama, QStringLiteral("4"));
    EXPECT_EQ(e.Tipo, c.tipo);
    EXPECT_EQ(e.Parametro_1, QString::fromLatin1(c.parametro_1));
    EXPECT_EQ(e.Parametro_7, QString::fromLatin1(c.parametro_7));
    EXPECT_EQ(e.Tarjeta, QString::fromLatin1(c.tarjeta));
    EXPECT_EQ(e.Puerto, QStringLiteral("4"));
}

INSTANTIATE_TEST_SUITE_P(
    Events, DecodificarTest,
    ::testing::Values(
        CasoEvento{"CardAccepted", Registro({0x05, '1', 0x01, 0x00, 0x12, 0x34, 0x56, 0x78}), 1, "01", "", "0012345678"},
        CasoEvento{"CardRefused", Registro({0x05, '1', 0x02, 0x00, 0x12, 0x34, 0x56, 0x78}), 2, "02", "", "0012345678"},
        CasoEvento{"CardParameterHexUppercase", Registro({0x05, '1', 0xAB}), 2, "AB", "", ""},
        CasoEvento{"Code5WithoutCard", Registro({0x05, '5', 0x00}), 3, "", "", ""},
        // Kind 4 is the '7' event with parameter 01, every other value kind 5.
        CasoEvento{"Code7Parameter01", Registro({0x05, '7', 0x01}), 4, "", "01", ""},
        CasoEvento{"Code7Parameter00", Registro({0x05, '7', 0x00}), 5, "", "00", ""},
        CasoEvento{"Code7Parameter10", Registro({0x05, '7', 0x10}), 5, "", "10", ""},
        CasoEvento{"CodeEWithoutCard", Registro({0x05, 'E'}), 6, "", "", ""},
        CasoEvento{"StarIsNoIncidence", Registro({0x05, '*', 0x00}), 0, "", "", ""},
        CasoEvento{"BareAckIsNoIncidence", Registro({0xAA, 0x06}), 0, "", "", ""},
        CasoEvento{"EmptyRecordIsNoIncidence", Registro({}), 0, "", "", ""},
        CasoEvento{"CardStopsAtFiller", Registro({0x05, '1', 0x01, 0x12, 0xFE, 0x34}), 1, "01", "", "12"}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(Decodificar_Incidencia, RaisesOnlyForTheSixKinds)
{
    ZARVComunicador c(nullptr, [](int) {});
    c.Puerto_Serie = QStringLiteral("3");
    std::vector<int> tipos;
    c.OnIncidencia = [&](ZARVComunicador *sender, const TEventoInformacion &e) {
        EXPECT_EQ(sender, &c);
        EXPECT_EQ(e.Puerto, QStringLiteral("3"));
        tipos.push_back(e.Tipo);
    };
    for (std::uint8_t codigo : std::initializer_list<std::uint8_t>{'1', '*', '5', 'E', 0x06, '7'})
        c.Decodificar_Incidencia(nullptr, Registro({0x05, codigo, 0x01}));
    c.Decodificar_Incidencia(nullptr, Registro({}));
    EXPECT_EQ(tipos, (std::vector<int>{1, 3, 6, 4}));
}

TEST(TipoIncidencia, IconsAndNameKeys)
{
    const int iconos[] = {0, 2, 1, 4, 9, 7, 8, 0};
    for (int tipo = 0; tipo <= 7; ++tipo)
        EXPECT_EQ(Icono_Incidencia(tipo), iconos[tipo]) << tipo;
    EXPECT_EQ(Icono_Incidencia(-1), 0);
    EXPECT_EQ(Clave_Tipo_Incidencia(1), QStringLiteral("Variables_variables_F_Main_28"));
    EXPECT_EQ(Clave_Tipo_Incidencia(6), QStringLiteral("Variables_variables_F_Main_33"));
    EXPECT_TRUE(Clave_Tipo_Incidencia(0).isEmpty());
    EXPECT_TRUE(Clave_Tipo_Incidencia(7).isEmpty());
}

TEST(ZARVComunicador, DefaultsAndAddressZeroTravelsAs170)
{
    ZARVComunicador c(nullptr, [](int) {});
    EXPECT_EQ(c.Direccion(), 170);
    EXPECT_FALSE(c.Conectado());
    EXPECT_EQ(c.Enlace()->Velocidad(), 350);
    EXPECT_FALSE(c.Enlace()->Activar_NdemandRC());
    c.SetDireccion(0);
    EXPECT_EQ(c.Direccion(), 170);
    c.SetDireccion(12);
    EXPECT_EQ(c.Direccion(), 12);
}

TEST(ZARVComunicador, TimesOutOfRangeSendNothing)
{
    std::vector<int> pausas;
    ZARVComunicador c(nullptr, [&](int ms) { pausas.push_back(ms); });
    // No such port: anything sent would raise "Error en el puerto".
    c.Puerto_Serie = QStringLiteral("/nonexistent/port");
    pausas.clear();
    EXPECT_FALSE(c.Enviar_Tiempos(100, 5, 170));
    EXPECT_FALSE(c.Enviar_Tiempos(5, 100, 170));
    EXPECT_FALSE(c.Enviar_Tiempos(-1, 5, 170));
    EXPECT_EQ(pausas, (std::vector<int>{200, 200, 200}));
}

TEST(ZARVComunicador, LinkOwnedByTheOwnerOutlivesTheCommandLayerSafely)
{
    QObject owner;
    QPointer<TDORNO> link;
    {
        ZARVComunicador c(&owner, [](int) {});
        link = c.Enlace();
        c.OnIncidencia = [](ZARVComunicador *, const TEventoInformacion &) { FAIL(); };
    }
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->OnDORNORecibedNotDemandRxInc);
}

} // namespace
