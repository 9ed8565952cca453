// keyvane-cli's users commands as an installer scripts them: a real
// installation file, keyvane-sim on COM1 (readers 1 and 3) and COM2 (reader
// 2), the same workflows as the users page.
#include "cli_proceso.h"
#include "fbtest.h"
#include "simprocess.h"
#include "tempinstall.h"

#include <gtest/gtest.h>

#include <memory>

using kv::test::FbConnection;
using kv::test::SimProcess;

class CliUsuariosTest : public ::testing::Test {
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
              "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(2,2,'Garage','',2)"}) {
            ASSERT_TRUE(db.exec(sql)) << db.lastError().toStdString();
        }
    }

    Salida_Cli Cli(const QStringList &args) { return Ejecuta_Cli(inst, args); }

    QStringList Filas(const QString &sql)
    {
        FbConnection db(inst.installationFile(1));
        return db.rows(sql);
    }

    QStringList Asignaciones()
    {
        return Filas("select tarjeta, controlador, \"_STOREDINHW\" from zarvcontroladortarjeta "
                     "order by tarjeta, controlador");
    }

    // The new user's number, as user-add prints it; 0 when it failed.
    QString Nuevo(const QStringList &args)
    {
        const Salida_Cli s = Cli(QStringList{"user-add"} + args);
        EXPECT_EQ(s.estado, 0) << s.err.toStdString();
        EXPECT_EQ(s.lineas.size(), 1);
        return s.lineas.value(0);
    }

    kv::test::TempInstall inst;
    std::unique_ptr<SimProcess> com1;
    std::unique_ptr<SimProcess> com2;
};

TEST_F(CliUsuariosTest, AddsAUserWhoseCardsGoWhereTheReadersAnswerAndListsHim)
{
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    // Options before, between and after the names; a short code is padded.
    const Salida_Cli s = Cli({"user-add", "--reader", "1", "Ana María", "--card", "12345", " O'Hara  Pérez ",
                              "--reader", "2", "--card", "0000000099"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    ASSERT_EQ(s.lineas.size(), 1);
    const QString id = s.lineas[0];
    EXPECT_EQ(Filas("select id, nombre, apellidos from zarvusuario"), QStringList{id + "|Ana María| O'Hara  Pérez "});
    EXPECT_EQ(Filas("select codigo_tarjeta, usuario from zarvtarjeta order by 1"),
              (QStringList{"0000000099|" + id, "0000012345|" + id}));
    // Reader 2 was silent: its copies wait for the next send.
    EXPECT_EQ(Asignaciones(),
              (QStringList{"0000000099|1|S", "0000000099|2|N", "0000012345|1|S", "0000012345|2|N"}));
    QStringList memoria = com1->command("dump 1");
    memoria.sort();
    EXPECT_EQ(memoria, (QStringList{"0000000099", "0000012345"}));
    EXPECT_TRUE(com1->command("dump 3").isEmpty()) << "reader 3 was not named";

    const QString otro = Nuevo({"Luis", "Sin tarjeta"});
    const Salida_Cli lista = Cli({"users"});
    ASSERT_EQ(lista.estado, 0) << lista.err.toStdString();
    EXPECT_EQ(lista.lineas, (QStringList{id + "\tAna María\t O'Hara  Pérez \t0000012345,0000000099",
                                         otro + "\tLuis\tSin tarjeta\t"}));
}

TEST_F(CliUsuariosTest, AnotherUsersCardMovesOnlyWithTake)
{
    const QString eva = Nuevo({"Eva", "Duena", "--card", "77", "--reader", "3"});
    ASSERT_EQ(com1->command("dump 3"), QStringList{"0000000077"});

    const QString ana = Nuevo({"Ana", "Nueva", "--card", "77", "--reader", "1", "--take"});
    EXPECT_EQ(Filas("select usuario from zarvtarjeta"), QStringList{ana});
    // The card left the reader of its former owner before going to the new one's.
    EXPECT_TRUE(com1->command("dump 3").isEmpty());
    EXPECT_EQ(com1->command("dump 1"), QStringList{"0000000077"});
    EXPECT_EQ(Asignaciones(), QStringList{"0000000077|1|S"});
    EXPECT_EQ(Cli({"users"}).lineas, (QStringList{eva + "\tEva\tDuena\t", ana + "\tAna\tNueva\t0000000077"}));
}

struct Error_Caso {
    const char *name;
    QStringList args; // "{eva}" stands for the number of the user who owns card 77
    int estado;
    const char *mensaje;
};

class CliUsuariosErrorTest : public CliUsuariosTest, public ::testing::WithParamInterface<Error_Caso> {};

TEST_P(CliUsuariosErrorTest, WritesNothingAndSaysWhyInOneLine)
{
    const QString eva = Nuevo({"Eva", "Duena", "--card", "77"});
    QStringList args = GetParam().args;
    args.replaceInStrings("{eva}", eva);
    const Salida_Cli s = Cli(args);
    EXPECT_EQ(s.estado, GetParam().estado) << s.err.toStdString();
    EXPECT_TRUE(s.err.contains(QString::fromUtf8(GetParam().mensaje))) << s.err.toStdString();
    EXPECT_TRUE(s.lineas.isEmpty());
    EXPECT_EQ(Filas("select id from zarvusuario"), QStringList{eva});
    EXPECT_EQ(Filas("select codigo_tarjeta, usuario from zarvtarjeta"), QStringList{"0000000077|" + eva});
    EXPECT_TRUE(Asignaciones().isEmpty());
    EXPECT_TRUE(com1->command("dump 1").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CliUsuariosErrorTest,
    ::testing::Values(
        Error_Caso{"LettersInACard", {"user-add", "Ana", "P", "--card", "12A45", "--reader", "1"}, 2,
                   "Not a card code (digits only, ten at most): 12A45"},
        Error_Caso{"ElevenDigits", {"user-add", "Ana", "P", "--reader", "1", "--card", "12345678901"}, 2,
                   "Not a card code (digits only, ten at most): 12345678901"},
        Error_Caso{"NameOnTwoLines", {"user-add", "Ana\nMaria", "P", "--card", "1", "--reader", "1"}, 2,
                   "A name is written on one line"},
        Error_Caso{"UnknownReader", {"user-add", "Ana", "P", "--card", "1", "--reader", "1", "--reader", "9"}, 2,
                   "the installation has no reader 9"},
        Error_Caso{"AnotherUsersCardWithoutTake", {"user-add", "Ana", "P", "--card", "1", "--card", "77", "--reader", "1"},
                   1, "no (--take not given)"},
        Error_Caso{"UnknownOption", {"user-add", "Ana", "P", "--cards", "1"}, 2, "user-add takes no option --cards"},
        Error_Caso{"OptionWithoutValue", {"user-add", "Ana", "P", "--card"}, 2, "needs a value after --card"},
        Error_Caso{"ThreeNames", {"user-add", "Ana", "P", "Q"}, 2, "takes a name and the surnames"},
        Error_Caso{"UnknownUser", {"user-delete", "{eva}", "999"}, 2, "the installation has no user 999"},
        Error_Caso{"NotAUserNumber", {"user-delete", "{eva}", "x"}, 2, "x is not a user number"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CliUsuariosTest, AUserWhoseCardAReaderKeptIsDeletedOnlyWithForce)
{
    const QString a = Nuevo({"A", "Retenida", "--card", "1", "--reader", "1"});
    const QString b = Nuevo({"B", "Libre", "--card", "2", "--reader", "3"});
    ASSERT_TRUE(com1->ok("fault 1 refuse"));

    Salida_Cli s = Cli({"user-delete", a, b});
    EXPECT_EQ(s.estado, 1);
    EXPECT_TRUE(s.err.contains("a reader kept the cards of " + a + " (Retenida, A)")) << s.err.toStdString();
    EXPECT_FALSE(s.err.contains("Libre")) << s.err.toStdString();
    // B went; A stays with his card where the reader kept it.
    EXPECT_EQ(Filas("select id from zarvusuario"), QStringList{a});
    EXPECT_EQ(Filas("select codigo_tarjeta, usuario from zarvtarjeta order by 1"),
              (QStringList{"0000000001|" + a, "0000000002|-1"}));
    EXPECT_EQ(Asignaciones(), QStringList{"0000000001|1|S"});
    EXPECT_TRUE(com1->command("dump 3").isEmpty());

    s = Cli({"user-delete", "--force", a});
    EXPECT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_TRUE(Filas("select id from zarvusuario").isEmpty());
    EXPECT_EQ(Filas("select codigo_tarjeta, usuario from zarvtarjeta order by 1"),
              (QStringList{"0000000001|-1", "0000000002|-1"}));
    EXPECT_TRUE(Asignaciones().isEmpty());
    EXPECT_TRUE(Cli({"users"}).lineas.isEmpty());
}
