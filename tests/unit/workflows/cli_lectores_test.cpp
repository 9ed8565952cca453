// keyvane-cli's readers commands as an installer scripts them: a real
// installation file, keyvane-sim on COM1 (readers 1 and 3) and COM2 (reader
// 2), the same workflows as the readers page.
#include "cli_proceso.h"
#include "fbtest.h"
#include "servidortest.h"
#include "simprocess.h"
#include "tempinstall.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

using kv::test::FbConnection;
using kv::test::SimProcess;

class CliLectoresTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        com1 = std::make_unique<SimProcess>(1, QStringList{"--controllers", "1,3"}, inst.portsDir());
        com2 = std::make_unique<SimProcess>(2, QStringList{"--controllers", "2"}, inst.portsDir());
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.isOpen());
        for (const char *sql :
             {"INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(1,1,'Main door','',1)",
              "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(3,1,'Back door','',3)",
              "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(2,2,'Garage','',2)",
              "INSERT INTO zarvtarjeta VALUES('0000000011','N',NULL,NULL,-1,'N')",
              "INSERT INTO zarvcontroladortarjeta VALUES('0000000011',1,'S')"}) {
            ASSERT_TRUE(db.exec(sql)) << db.lastError().toStdString();
        }
    }

    Salida_Cli Cli(const QStringList &args) { return Ejecuta_Cli(inst, args); }

    QStringList Filas(const QString &sql)
    {
        FbConnection db(inst.installationFile(1));
        return db.rows(sql);
    }

    kv::test::TempInstall inst;
    std::unique_ptr<SimProcess> com1;
    std::unique_ptr<SimProcess> com2;
};

TEST_F(CliLectoresTest, ListsTestsClonesAndErasesLikeTheReadersPage)
{
    Salida_Cli s = Cli({"readers"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(s.lineas, (QStringList{"1\t1\t1\tMain door", "2\t2\t2\tGarage", "3\t1\t3\tBack door"}));

    // Reader 1 is to hold a card its memory lacks: a mismatch, exit 1.
    s = Cli({"readers-test"});
    EXPECT_EQ(s.estado, 1);
    ASSERT_EQ(s.lineas.size(), 3);
    EXPECT_TRUE(s.lineas[0].startsWith("1\tanswered\t")) << s.lineas[0].toStdString();
    EXPECT_TRUE(s.lineas[0].endsWith("\t0\t1\tmismatch")) << s.lineas[0].toStdString();
    ASSERT_TRUE(com1->ok("load 1 0000000011"));
    EXPECT_EQ(Cli({"readers-test", "1"}).estado, 0);

    s = Cli({"reader-clone", "1", "3"});
    EXPECT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(com1->command("dump 3"), QStringList{"0000000011"});
    EXPECT_EQ(Filas("select controlador,\"_STOREDINHW\" from zarvcontroladortarjeta order by controlador"),
              (QStringList{"1|S", "3|S"}));

    EXPECT_EQ(Cli({"reader-erase", "3"}).estado, 0);
    EXPECT_TRUE(com1->command("dump 3").isEmpty());
    EXPECT_EQ(Filas("select \"_STOREDINHW\" from zarvcontroladortarjeta where controlador=3"), QStringList{"N"});

    // A reader that does not answer: no erase, exit 1, nothing changed.
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    EXPECT_EQ(Cli({"reader-erase", "2"}).estado, 1);
    EXPECT_EQ(Cli({"readers-test", "2"}).lineas, QStringList{"2\tno-answer"});
}

TEST_F(CliLectoresTest, AddsEditsAndDeletesWithTheWindowsChecks)
{
    EXPECT_EQ(Cli({"reader-add", "7", "2", "5", "Side", "gate"}).estado, 0);
    EXPECT_TRUE(Cli({"readers"}).lineas.contains("7\t2\t5\tSide gate"));
    // The same address on the same port is refused, with the window's message.
    Salida_Cli s = Cli({"reader-add", "8", "2", "5", "Other"});
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(s.err.contains("Direccion controlador ya existente")) << s.err.toStdString();

    EXPECT_EQ(Cli({"reader-edit", "3", "Back gate", "9", "0"}).estado, 0);
    EXPECT_EQ(com1->command("list").filter(QRegularExpression("^3 .*lock=9 open=0")).size(), 1);
    EXPECT_EQ(Filas("select descripcion from zarvcontrolador where cod=3"), QStringList{"Back gate"});
    // A lock time of 0 is refused as the window refuses it.
    EXPECT_EQ(Cli({"reader-edit", "3", "Back gate", "0", "5"}).estado, 2);

    EXPECT_EQ(Cli({"reader-delete", "1"}).estado, 0);
    EXPECT_EQ(Filas("select count(*) from zarvcontroladortarjeta"), QStringList{"0"});
    EXPECT_EQ(Cli({"readers"}).lineas.size(), 3);
}

struct Error_Caso {
    const char *name;
    QStringList args;
    const char *mensaje;
};

class CliLectoresErrorTest : public CliLectoresTest, public ::testing::WithParamInterface<Error_Caso> {};

TEST_P(CliLectoresErrorTest, ExitsTwoWithOneClearLine)
{
    const Salida_Cli s = Cli(GetParam().args);
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(s.err.contains(QString::fromUtf8(GetParam().mensaje))) << s.err.toStdString();
    EXPECT_TRUE(s.lineas.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliLectoresErrorTest,
    ::testing::Values(Error_Caso{"UnknownReader", {"reader-master", "9"}, "the installation has no reader 9"},
                      Error_Caso{"NotANumber", {"reader-erase", "x"}, "x is not a reader number"},
                      Error_Caso{"NoSuchInstallation", {"--installation", "9", "readers"}, "there is no installation 9"},
                      Error_Caso{"MissingArguments", {"reader-clone", "1"}, "wrong number of arguments"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CliLectoresTest, AnInstallationARunningProgramHoldsIsToldInOneLine)
{
    // This process holds the file open embedded, as a running program would.
    FbConnection abierta(inst.installationFile(1));
    ASSERT_TRUE(abierta.isOpen());
    const Salida_Cli s = Cli({"readers"});
    if (!kv::test::cuentaServidor().host.isEmpty()) {
        // Through a server the file is shared, as it is for two stations.
        EXPECT_EQ(s.estado, 0) << s.err.toStdString();
        EXPECT_FALSE(s.lineas.isEmpty());
        return;
    }
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(s.err.contains("open in a running Keyvane")) << s.err.toStdString();
    EXPECT_EQ(s.err.count('\n'), 1);
}
