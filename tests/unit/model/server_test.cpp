// The main database: installations, logins, and the quoting that keeps any
// operator text from changing a statement.
#include "modelfixture.h"

#include "model/clave.h"
#include "model/errorbd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using kv::test::FbConnection;

namespace {

// Texts that would break or change a statement if pasted between quotes.
const QString kTexts[] = {
    QStringLiteral("O'Brien"),
    QStringLiteral("''"),
    QStringLiteral("x'); DELETE FROM usuario; --"),
    QStringLiteral("' OR '1'='1"),
    QStringLiteral("a:b :nombre"),
    QStringLiteral("%1 %2"),
    QString::fromUtf8("Núñez ç"),
};

} // namespace

class ServerTest : public ModelTest {};

TEST_F(ServerTest, ListsTheShippedInstallation)
{
    EXPECT_EQ(server.Lista_Instalaciones(), QStringList{"1.- Main site"});
    FbConnection c(inst.mainDatabase());
    ASSERT_TRUE(c.exec("DELETE FROM instalacion"));
    EXPECT_TRUE(server.Lista_Instalaciones().isEmpty());
}

TEST_F(ServerTest, NewInstallationGetsARowAndAWorkingCopyOfTheTemplate)
{
    const int code = server.Nueva_Instalacion(QStringLiteral("Oficina"), inst.programDir());
    EXPECT_EQ(code, 2);
    EXPECT_EQ(server.Lista_Instalaciones(), (QStringList{"1.- Main site", "2.- Oficina"}));
    const QString file = inst.databaseDir() + "/INSTALACION_2.FDB";
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(file, ZARVServer::Fichero_Instalacion(Bdkv(), "2"));
    EXPECT_EQ(file, ZARVServer::Fichero_Instalacion(inst.databaseDir(), "2"));
    // The copy is an installation that opens and takes writes, whatever the
    // permissions of the template.
    FbConnection c(file);
    ASSERT_TRUE(c.isOpen()) << c.lastError().toStdString();
    EXPECT_TRUE(c.exec("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion)VALUES(1,3,'d','Null',0)"));
    // Only the canonical spelling exists on this case-sensitive file system.
    EXPECT_FALSE(QFileInfo::exists(inst.databaseDir() + "/instalacion_2.FDB"));
}

TEST_F(ServerTest, NewInstallationOverwritesAStaleFileOfTheSameName)
{
    QFile stale(inst.databaseDir() + "/INSTALACION_2.FDB");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("left over");
    stale.close();
    ASSERT_EQ(server.Nueva_Instalacion(QStringLiteral("B"), inst.programDir()), 2);
    FbConnection c(inst.databaseDir() + "/INSTALACION_2.FDB");
    EXPECT_TRUE(c.isOpen()) << c.lastError().toStdString();
}

TEST_F(ServerTest, CodesAreNeverReusedAfterADelete)
{
    ASSERT_EQ(server.Nueva_Instalacion(QStringLiteral("Dos"), inst.programDir()), 2);
    server.Elimina_Instalacion(QStringLiteral("instalacion_2"));
    EXPECT_FALSE(server.Existe_Instalacion("2"));
    EXPECT_EQ(server.Nueva_Instalacion(QStringLiteral("Tres"), inst.programDir()), 3);
    EXPECT_EQ(server.Lista_Instalaciones(), (QStringList{"1.- Main site", "3.- Tres"}));
}

TEST_F(ServerTest, FailedTemplateCopyRaisesAndLeavesNoRow)
{
    ASSERT_TRUE(QFile::remove(inst.databaseDir() + "/INSTALACION_B.FDB"));
    EXPECT_THROW(server.Nueva_Instalacion(QStringLiteral("Sin plantilla"), inst.programDir()), ErrorBD);
    EXPECT_EQ(server.Lista_Instalaciones(), QStringList{"1.- Main site"});
    EXPECT_FALSE(QFileInfo::exists(inst.databaseDir() + "/INSTALACION_2.FDB"));
    // No stray partial copy beside the installations either.
    EXPECT_EQ(QDir(inst.databaseDir()).entryList(QDir::Files).size(), 2);
}

TEST_F(ServerTest, DeleteTakesTheCodeAfterTheUnderscore)
{
    FbConnection c(inst.mainDatabase());
    ASSERT_TRUE(c.exec("INSERT INTO instalacion VALUES(12,'Doce')"));
    server.Elimina_Instalacion(QStringLiteral("instalacion_12"));
    EXPECT_EQ(c.scalar("SELECT count(*) FROM instalacion WHERE COD=12").toInt(), 0);
    EXPECT_EQ(c.scalar("SELECT count(*) FROM instalacion").toInt(), 1);
    // The installation file is the caller's to delete.
}

TEST_F(ServerTest, ExistsIsExactAndRejectsWhatIsNotANumber)
{
    EXPECT_TRUE(server.Existe_Instalacion("1"));
    EXPECT_FALSE(server.Existe_Instalacion("0"));
    EXPECT_FALSE(server.Existe_Instalacion("7"));
    for (const char *bad : {"abc", "", "1 OR 1=1", "1; DELETE FROM instalacion"})
        EXPECT_THROW(server.Existe_Instalacion(bad), ErrorBD) << bad;
    EXPECT_THROW(server.Elimina_Instalacion("instalacion_1 OR 1=1"), ErrorBD);
    EXPECT_THROW(server.Elimina_Instalacion("instalacion"), ErrorBD);
    EXPECT_TRUE(server.Existe_Instalacion("1"));
}

TEST_F(ServerTest, LoginRemembersTheAccountAndAWrongPasswordKeepsIt)
{
    EXPECT_TRUE(server.Comprueba_Login("admin", "admin"));
    EXPECT_EQ(server.Cod_Login(), 1);
    EXPECT_EQ(server.Login_Actual(), "admin");
    EXPECT_EQ(server.Rol(), "ADMIN");

    server.Nuevo_Login("luis", "clave", "USER");
    EXPECT_FALSE(server.Comprueba_Login("luis", "wrong"));
    EXPECT_FALSE(server.Comprueba_Login("admin", "' OR '1'='1"));
    EXPECT_FALSE(server.Comprueba_Login("' OR '1'='1", "' OR '1'='1"));
    EXPECT_EQ(server.Cod_Login(), 1);
    EXPECT_EQ(server.Login_Actual(), "admin");
    EXPECT_EQ(server.Rol(), "ADMIN");

    EXPECT_TRUE(server.Comprueba_Login("luis", "clave"));
    EXPECT_EQ(server.Cod_Login(), 2);
    EXPECT_EQ(server.Rol(), "USER");
}

TEST_F(ServerTest, LoginListAdminChecksAndDeletes)
{
    server.Nuevo_Login("ana", "a", "ADMIN");
    server.Nuevo_Login("luis", "l", "USER");
    EXPECT_EQ(server.Lista_Logins(), (QStringList{"admin*ADMIN", "ana*ADMIN", "luis*USER"}));
    EXPECT_TRUE(server.Es_Admin("ana"));
    EXPECT_FALSE(server.Es_Admin("luis"));
    EXPECT_FALSE(server.Es_Admin("nadie"));
    EXPECT_FALSE(server.Ultimo_Admin());

    EXPECT_TRUE(server.Existe_Login("ANA"));
    server.Elimina_Login("ANA");
    EXPECT_FALSE(server.Existe_Login("ana"));
    EXPECT_TRUE(server.Ultimo_Admin());
    EXPECT_EQ(server.Lista_Logins(), (QStringList{"admin*ADMIN", "luis*USER"}));
}

TEST_F(ServerTest, NewLoginForAnExistingLoginStoresNothing)
{
    server.Nuevo_Login("admin", "other", "USER");
    server.Nuevo_Login("ADMIN", "other", "USER");
    FbConnection c(inst.mainDatabase());
    EXPECT_EQ(c.rows("SELECT *  from usuario"), QStringList{"1|admin|admin|ADMIN"});
}

TEST_F(ServerTest, UnconfiguredOrMissingDatabaseRaisesOnFirstStatement)
{
    ZARVServer none;
    EXPECT_THROW(none.Lista_Instalaciones(), ErrorBD);
    ZARVServer missing;
    missing.Configurar(QString(), inst.databaseDir() + "/NOPE.FDB", "quillpond", "sysdba");
    EXPECT_THROW(missing.Lista_Logins(), ErrorBD);
}

TEST_F(ServerTest, AHostNameReachesThatServerInsteadOfTheFile)
{
    // Nothing listens on port 1: with the host honoured the statement fails,
    // where an embedded opening of the same file would have worked.
    ZARVServer remote;
    remote.Configurar("127.0.0.1/1", inst.mainDatabase(), "quillpond", "sysdba");
    EXPECT_EQ(remote.Parametros().host, "127.0.0.1/1");
    EXPECT_THROW(remote.Lista_Instalaciones(), ErrorBD);
    const ZARVResultadoCopia r =
        remote.Exporta_Instalacion("instalacion_1", inst.root() + "/remote.kvd", Bdkv());
    EXPECT_FALSE(r.Correcto);
    EXPECT_FALSE(r.Mensaje.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(inst.root() + "/remote.kvd"));
}

class ServerQuotedText : public ModelTest, public ::testing::WithParamInterface<QString> {};

TEST_P(ServerQuotedText, InstallationNameIsStoredExactly)
{
    const QString name = GetParam();
    const int code = server.Nueva_Instalacion(name, inst.programDir());
    EXPECT_EQ(server.Lista_Instalaciones().last(), QString::number(code) + ".- " + name);
    FbConnection c(inst.mainDatabase());
    EXPECT_EQ(c.scalar("SELECT count(*) FROM instalacion").toInt(), 2);
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT NOMBRE FROM instalacion WHERE COD=%1").arg(code)).toString(), name);
}

TEST_P(ServerQuotedText, LoginAndPasswordAreStoredExactlyAndMatchOnlyThemselves)
{
    const QString text = GetParam().toLower().left(30);
    server.Nuevo_Login(text, text, "USER");
    FbConnection c(inst.mainDatabase());
    EXPECT_EQ(c.scalar("SELECT count(*) FROM usuario").toInt(), 2);
    EXPECT_EQ(c.scalar("SELECT LOGIN FROM usuario WHERE COD=2").toString(), text);
    EXPECT_TRUE(Clave::Coincide(c.scalar("SELECT \"PASSWORD\" FROM usuario WHERE COD=2").toString(), text));

    EXPECT_TRUE(server.Existe_Login(text));
    EXPECT_FALSE(server.Es_Admin(text));
    EXPECT_FALSE(server.Comprueba_Login(text, "x"));
    EXPECT_TRUE(server.Comprueba_Login(text, text));
    EXPECT_EQ(server.Login_Actual(), text);
    server.Abre_Sesion_Consola();
    server.Elimina_Login(text);
    EXPECT_EQ(c.rows("SELECT *  from usuario"), QStringList{"1|admin|admin|ADMIN"});
}

INSTANTIATE_TEST_SUITE_P(Texts, ServerQuotedText, ::testing::ValuesIn(kTexts));
