// keyvane-cli's commands on the logins of the main database, run as a separate
// process on a fresh factory set the way a locked-out administrator would run
// them, and read back in this process as the program's login would.
#include "cli_proceso.h"
#include "fbtest.h"
#include "servidortest.h"
#include "tempinstall.h"

#include "model/zarvserver.h"

#include <QFile>

#include <gtest/gtest.h>

using kv::test::FbConnection;

class CliLoginsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        FbConnection db(inst.mainDatabase());
        ASSERT_TRUE(db.isOpen());
        // In plain text, as an older version kept it: the listing must not
        // show it, and opening the database hashes it.
        ASSERT_TRUE(db.exec("INSERT INTO usuario(COD,LOGIN,\"PASSWORD\",ROL) "
                            "VALUES(gen_id(GEN_USUARIO_ID, 1),'guard','guard-secret','USER')"))
            << db.lastError().toStdString();
    }

    Salida_Cli Cli(const QStringList &args, const QByteArray &entrada = {}) { return Ejecuta_Cli(inst, args, entrada); }

    // What the program's login window would answer, once keyvane-cli has gone.
    bool Entra(const QString &login, const QString &password)
    {
        const kv::test::CuentaServidor &cuenta = kv::test::cuentaServidor();
        ZARVServer servidor(nullptr);
        servidor.Configurar(cuenta.host, inst.mainDatabase(), cuenta.password, cuenta.usuario);
        return servidor.Comprueba_Login(login, password);
    }

    // set-password is the locked-out administrator's way in through the
    // files themselves: with the settings naming a server it refuses
    // everything, in one line, and changes nothing.
    static bool Por_Servidor() { return !kv::test::cuentaServidor().host.isEmpty(); }
    void Espera_Solo_Embebido(const Salida_Cli &s)
    {
        EXPECT_EQ(s.estado, 2);
        EXPECT_TRUE(s.err.contains("set-password works only on the embedded database files")) << s.err.toStdString();
        EXPECT_EQ(s.err.count('\n'), 1) << s.err.toStdString();
        EXPECT_TRUE(s.lineas.isEmpty());
        EXPECT_TRUE(Entra("admin", "admin"));
    }

    QString Guardado(const QString &login)
    {
        FbConnection db(inst.mainDatabase());
        return db.scalar(QStringLiteral("select \"PASSWORD\" from usuario where login='%1'").arg(login)).toString();
    }

    kv::test::TempInstall inst;
};

TEST_F(CliLoginsTest, ListsEachLoginWithItsLevelAndNoPasswordWithoutAnyInstallation)
{
    // Nothing of an installation is needed, not even its file.
    ASSERT_TRUE(QFile::remove(inst.installationFile(1)));
    Salida_Cli s = Cli({"logins"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    s.lineas.sort();
    EXPECT_EQ(s.lineas, (QStringList{"admin\tADMIN", "guard\tUSER"}));
    const QString salida = s.lineas.join('\n');
    EXPECT_FALSE(salida.contains("guard-secret"));
    EXPECT_FALSE(salida.contains("$argon2"));
    EXPECT_FALSE(salida.contains(Guardado("guard")));
    EXPECT_TRUE(s.err.isEmpty()) << s.err.toStdString();
}

struct Password_Caso {
    const char *name;
    const char *login;  // as typed on the command line
    QByteArray entrada; // standard input
    const char *nueva;  // the password it gives
    const char *antigua;
};

void PrintTo(const Password_Caso &c, std::ostream *os) { *os << c.name; }

class CliSetPasswordTest : public CliLoginsTest, public ::testing::WithParamInterface<Password_Caso> {};

TEST_P(CliSetPasswordTest, TakesTheFirstLineOfStandardInputAsTheNewPassword)
{
    const Password_Caso &c = GetParam();
    const QString login = QString::fromUtf8(c.login).toLower();
    const Salida_Cli s = Cli({"set-password", c.login}, c.entrada);
    if (Por_Servidor())
        return Espera_Solo_Embebido(s);
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(s.lineas, QStringList{QStringLiteral("password of %1 changed").arg(login)});
    EXPECT_TRUE(s.err.isEmpty()) << s.err.toStdString();
    EXPECT_TRUE(Guardado(login).startsWith("$argon2id$")) << Guardado(login).toStdString();
    EXPECT_TRUE(Entra(login, QString::fromUtf8(c.nueva)));
    EXPECT_FALSE(Entra(login, QString::fromUtf8(c.antigua)));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliSetPasswordTest,
    ::testing::Values(Password_Caso{"LineFeed", "admin", "Fresh-Start\n", "Fresh-Start", "admin"},
                      Password_Caso{"CarriageReturnLineFeed", "admin", "fresh start\r\n", "fresh start", "admin"},
                      Password_Caso{"NoLineEnd", "admin", "fresh", "fresh", "admin"},
                      Password_Caso{"OnlyTheFirstLine", "admin", "first\nsecond\n", "first", "admin"},
                      Password_Caso{"LoginInCapitals", "GUARD", "guard-new\n", "guard-new", "guard-secret"}),
    [](const auto &info) { return std::string(info.param.name); });

struct Rechazo_Caso {
    const char *name;
    const char *login;
    QByteArray entrada;
    const char *ajustes; // KEYVANE20.INI, when the case needs one
    int estado;
    const char *mensaje;
};

void PrintTo(const Rechazo_Caso &c, std::ostream *os) { *os << c.name; }

class CliSetPasswordRefusalTest : public CliLoginsTest, public ::testing::WithParamInterface<Rechazo_Caso> {};

TEST_P(CliSetPasswordRefusalTest, RefusesInOneLineAndChangesNothing)
{
    const Rechazo_Caso &c = GetParam();
    if (c.ajustes) {
        QFile ini(inst.systemDir() + QStringLiteral("/KEYVANE20.INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(c.ajustes);
    }
    const Salida_Cli s = Cli({"set-password", c.login}, c.entrada);
    if (Por_Servidor())
        return Espera_Solo_Embebido(s);
    EXPECT_EQ(s.estado, c.estado);
    EXPECT_TRUE(s.err.contains(QString::fromUtf8(c.mensaje))) << s.err.toStdString();
    EXPECT_EQ(s.err.count('\n'), 1) << s.err.toStdString();
    EXPECT_TRUE(s.lineas.isEmpty());
    EXPECT_TRUE(Entra("admin", "admin"));
    EXPECT_TRUE(Entra("guard", "guard-secret"));
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, CliSetPasswordRefusalTest,
    ::testing::Values(Rechazo_Caso{"UnknownLogin", "nobody", "fresh\n", nullptr, 1, "there is no login nobody"},
                      Rechazo_Caso{"EmptyLine", "admin", "\n", nullptr, 2, "the new password is empty"},
                      Rechazo_Caso{"NoInput", "admin", "", nullptr, 2, "the new password is empty"},
                      Rechazo_Caso{"Asterisk", "admin", "fresh*start\n", nullptr, 2, "cannot contain '*'"},
                      Rechazo_Caso{"DatabaseServer", "admin", "fresh\n", "[General]\nServidor_BD=somehost\n", 2,
                                   "set-password works only on the embedded database files, with the program "
                                   "closed"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CliLoginsTest, AMainDatabaseARunningProgramHoldsIsToldInOneLine)
{
    const struct {
        QStringList args;
        QByteArray entrada;
    } casos[] = {{{"logins"}, {}}, {{"set-password", "admin"}, "fresh\n"}};
    {
        // This process holds the file open embedded, as a running program would.
        FbConnection abierta(inst.mainDatabase());
        ASSERT_TRUE(abierta.isOpen());
        for (const auto &c : casos) {
            SCOPED_TRACE(c.args.join(' ').toStdString());
            const Salida_Cli s = Cli(c.args, c.entrada);
            if (Por_Servidor()) {
                // Through a server nobody holds the file: that is the point of one.
                if (c.args.first() == QLatin1String("logins"))
                    EXPECT_EQ(s.estado, 0) << s.err.toStdString();
                else
                    Espera_Solo_Embebido(s);
                continue;
            }
            EXPECT_EQ(s.estado, 2);
            EXPECT_TRUE(s.err.contains("the main database is open in a running Keyvane")) << s.err.toStdString();
            EXPECT_EQ(s.err.count('\n'), 1) << s.err.toStdString();
            EXPECT_TRUE(s.lineas.isEmpty());
        }
    }
    EXPECT_TRUE(Entra("admin", "admin"));
}

TEST_F(CliLoginsTest, TheReadersAdministrativeCommandsRunInTheConsolesSession)
{
    // On the factory installation 1 and no controller answering: none of
    // these talks to one.
    const struct {
        QStringList args;
        QStringList lineas;
    } pasos[] = {
        {{"reader-add", "9", "1", "9", "Door"}, {}},
        {{"reader-edit", "9", "Gate"}, {}},
        {{"readers"}, {"9\t1\t9\tGate"}},
        {{"reader-delete", "9"}, {}},
        {{"readers"}, {}},
    };
    for (const auto &p : pasos) {
        SCOPED_TRACE(p.args.join(' ').toStdString());
        const Salida_Cli s = Cli(QStringList{"--ports-dir", inst.portsDir(), "--installation", "1"} + p.args);
        EXPECT_EQ(s.estado, 0) << s.err.toStdString();
        EXPECT_EQ(s.lineas, p.lineas);
    }
}
