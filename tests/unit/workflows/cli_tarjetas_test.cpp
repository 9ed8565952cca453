// keyvane-cli's cards commands as an installer scripts them: a real
// installation file, keyvane-sim on COM1 (readers 1 and 3) and COM2 (reader
// 2), the same workflows as the cards page.
#include "cli_proceso.h"
#include "fbtest.h"
#include "simprocess.h"
#include "tempinstall.h"

#include <gtest/gtest.h>

#include <memory>

using kv::test::FbConnection;
using kv::test::SimProcess;

class CliTarjetasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        com1 = std::make_unique<SimProcess>(1, QStringList{"--controllers", "1,3"}, inst.portsDir());
        com2 = std::make_unique<SimProcess>(2, QStringList{"--controllers", "2"}, inst.portsDir());
        Sql({"INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(1,1,'Main door','',1)",
             "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(3,1,'Back door','',3)",
             "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(2,2,'Garage','',2)"});
    }

    void Sql(const QStringList &sentencias)
    {
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.isOpen());
        for (const QString &sql : sentencias)
            ASSERT_TRUE(db.exec(sql)) << sql.toStdString() << ": " << db.lastError().toStdString();
    }

    // A free card stored in each reader named, as the readers page would have sent it.
    void Tarjeta_En_Lectores(const QString &codigo, const QList<int> &lectores)
    {
        Sql({QString("INSERT INTO zarvtarjeta VALUES ('%1', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', -1, 'N')")
                 .arg(codigo)});
        for (const int l : lectores) {
            Sql({QString("INSERT INTO zarvcontroladortarjeta VALUES ('%1', %2, 'S')").arg(codigo).arg(l)});
            SimProcess &sim = l == 2 ? *com2 : *com1;
            ASSERT_TRUE(sim.ok(QString("load %1 %2").arg(l).arg(codigo)));
        }
    }

    Salida_Cli Cli(const QStringList &args) { return Ejecuta_Cli(inst, args); }

    QStringList Filas(const QString &sql)
    {
        FbConnection db(inst.installationFile(1));
        return db.rows(sql);
    }

    QStringList Tarjetas() { return Filas("select codigo_tarjeta, usuario, usar_fecha_cad from zarvtarjeta order by 1"); }

    QStringList Asignaciones()
    {
        return Filas("select tarjeta, controlador, \"_STOREDINHW\" from zarvcontroladortarjeta "
                     "order by tarjeta, controlador");
    }

    kv::test::TempInstall inst;
    std::unique_ptr<SimProcess> com1;
    std::unique_ptr<SimProcess> com2;
};

TEST_F(CliTarjetasTest, RegistersFreeCardsAndListsEveryCardWithItsReaders)
{
    // A cardholder's card that reader 2 is still waiting for, next to the free ones.
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    const Salida_Cli alta = Cli({"user-add", "Ana", "Pérez", "--card", "500", "--reader", "2", "--reader", "1"});
    ASSERT_EQ(alta.estado, 0) << alta.err.toStdString();
    const QString ana = alta.lineas.value(0);

    // A short code is padded; one given twice is registered once.
    Salida_Cli s = Cli({"card-add", "12345", "0000000099", "7", "12345"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(Tarjetas(), (QStringList{"0000000007|-1|N", "0000000099|-1|N", "0000000500|" + ana + "|N",
                                       "0000012345|-1|N"}));
    EXPECT_EQ(Asignaciones(), (QStringList{"0000000500|1|S", "0000000500|2|N"}));

    s = Cli({"cards"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(s.lineas, (QStringList{"0000000007\t\t\t", "0000000099\t\t\t", "0000000500\t" + ana + "\t1,2*\t",
                                     "0000012345\t\t\t"}));
}

TEST_F(CliTarjetasTest, AnExistingCodeIsSkippedAndTheOthersRegistered)
{
    ASSERT_EQ(Cli({"card-add", "77"}).estado, 0);
    Tarjeta_En_Lectores("0000000088", {1});

    const Salida_Cli s = Cli({"card-add", "55", "77", "0000000088", "66"});
    EXPECT_EQ(s.estado, 1);
    EXPECT_TRUE(s.err.contains("the card 0000000077 exists already")) << s.err.toStdString();
    EXPECT_TRUE(s.err.contains("the card 0000000088 exists already")) << s.err.toStdString();
    EXPECT_EQ(Tarjetas(), (QStringList{"0000000055|-1|N", "0000000066|-1|N", "0000000077|-1|N", "0000000088|-1|N"}));
    // The existing card keeps its reader.
    EXPECT_EQ(Asignaciones(), QStringList{"0000000088|1|S"});
}

struct Error_Caso {
    const char *name;
    QStringList args;
    const char *mensaje;
};

class CliTarjetasErrorTest : public CliTarjetasTest, public ::testing::WithParamInterface<Error_Caso> {};

TEST_P(CliTarjetasErrorTest, ExitsTwoWritingNothingAndSaysWhy)
{
    ASSERT_EQ(Cli({"card-add", "77"}).estado, 0);
    const Salida_Cli s = Cli(GetParam().args);
    EXPECT_EQ(s.estado, 2) << s.err.toStdString();
    EXPECT_TRUE(s.err.contains(QString::fromUtf8(GetParam().mensaje))) << s.err.toStdString();
    EXPECT_TRUE(s.lineas.isEmpty());
    EXPECT_EQ(Tarjetas(), QStringList{"0000000077|-1|N"});
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliTarjetasErrorTest,
    ::testing::Values(
        // The good codes before the bad one are not registered either.
        Error_Caso{"Letters", {"card-add", "1", "12A45"}, "not a card code (digits only, ten at most): \"12A45\""},
        Error_Caso{"ElevenDigits", {"card-add", "12345678901", "2"}, "not a card code (digits only, ten at most): \"12345678901\""},
        Error_Caso{"Empty", {"card-add", "3", ""}, "not a card code (digits only, ten at most): \"\""},
        Error_Caso{"Signed", {"card-add", "-4"}, "not a card code (digits only, ten at most): \"-4\""},
        Error_Caso{"ExpiryOfAnUnknownCard", {"card-expiry", "78", "2030-01-01"}, "the installation has no card 0000000078"},
        Error_Caso{"ExpiryOfNoCode", {"card-expiry", "7x", "none"}, "not a card code"},
        Error_Caso{"ExpiryNotADate", {"card-expiry", "77", "31/12/2030"}, "31/12/2030 is not a date"},
        Error_Caso{"ExpiryNoSuchDay", {"card-expiry", "77", "2030-02-30"}, "2030-02-30 is not a date"},
        Error_Caso{"ExpiryHourWithoutMinutes", {"card-expiry", "77", "2030-01-01T10"}, "is not a date"},
        Error_Caso{"DeleteAnUnknownCard", {"card-delete", "77", "78"}, "the installation has no card 0000000078"},
        Error_Caso{"DeleteNoCode", {"card-delete", "77", "x"}, "not a card code"},
        Error_Caso{"DeleteUnknownOption", {"card-delete", "77", "--forced"}, "card-delete takes no option --forced"}),
    [](const auto &info) { return std::string(info.param.name); });

struct Caducidad_Caso {
    const char *name;
    const char *fecha;
    const char *guardada; // as the database reads it back
    const char *listada;  // as the cards command shows it
};

class CliTarjetasCaducidadTest : public CliTarjetasTest, public ::testing::WithParamInterface<Caducidad_Caso> {};

TEST_P(CliTarjetasCaducidadTest, SetsTheExpiryAndSwitchesItOff)
{
    ASSERT_EQ(Cli({"card-add", "77"}).estado, 0);
    const QString fecha = "select usar_fecha_cad, cast(fecha_caducidad as varchar(30)) from zarvtarjeta";

    Salida_Cli s = Cli({"card-expiry", "77", GetParam().fecha});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(Filas(fecha), QStringList{QString("S|") + GetParam().guardada});
    EXPECT_EQ(Cli({"cards"}).lineas, QStringList{QString("0000000077\t\t\t") + GetParam().listada});

    // Off, the date stays for when it is switched on again.
    s = Cli({"card-expiry", "0000000077", "none"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(Filas(fecha), QStringList{QString("N|") + GetParam().guardada});
    EXPECT_EQ(Cli({"cards"}).lineas, QStringList{"0000000077\t\t\t"});
}

INSTANTIATE_TEST_SUITE_P(
    Dates, CliTarjetasCaducidadTest,
    ::testing::Values(Caducidad_Caso{"DayAlone", "2030-12-31", "2030-12-31 00:00:00.0000", "2030-12-31T00:00:00"},
                      Caducidad_Caso{"Minutes", "2031-01-02T03:04", "2031-01-02 03:04:00.0000", "2031-01-02T03:04:00"},
                      Caducidad_Caso{"Seconds", "2031-01-02T23:59:58", "2031-01-02 23:59:58.0000",
                                     "2031-01-02T23:59:58"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CliTarjetasTest, ACardASilentReaderKeptIsDeletedOnlyWithForce)
{
    Tarjeta_En_Lectores("0000000555", {1, 2});
    Tarjeta_En_Lectores("0000000066", {3});
    ASSERT_TRUE(com2->ok("fault 2 silence"));

    Salida_Cli s = Cli({"card-delete", "555", "66"});
    EXPECT_EQ(s.estado, 1);
    EXPECT_TRUE(s.err.contains("a reader kept the cards 0000000555: not deleted")) << s.err.toStdString();
    EXPECT_FALSE(s.err.contains("0000000066")) << s.err.toStdString();
    // The other card went; this one keeps only the reader that did not answer.
    EXPECT_EQ(Tarjetas(), QStringList{"0000000555|-1|N"});
    EXPECT_EQ(Asignaciones(), QStringList{"0000000555|2|S"});
    EXPECT_TRUE(com1->command("dump 1").isEmpty());
    EXPECT_TRUE(com1->command("dump 3").isEmpty());
    EXPECT_EQ(Cli({"cards"}).lineas, QStringList{"0000000555\t\t2\t"});

    s = Cli({"card-delete", "--force", "555"});
    EXPECT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_TRUE(Tarjetas().isEmpty());
    EXPECT_TRUE(Asignaciones().isEmpty());
    EXPECT_TRUE(Cli({"cards"}).lineas.isEmpty());
}
