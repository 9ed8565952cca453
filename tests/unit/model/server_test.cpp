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

TEST_F(ServerTest, NewInstallationNeverOverwritesAFileOfItsCode)
{
    // Some installation's data the main database lost track of, in either spelling.
    for (const char *spelling : {"INSTALACION_2.FDB", "instalacion_3.fdb"}) {
        SCOPED_TRACE(spelling);
        const QString path = inst.databaseDir() + "/" + spelling;
        QFile other(path);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("someone's data");
        other.close();
        EXPECT_THROW(server.Nueva_Instalacion(QStringLiteral("B"), inst.programDir()), ErrorBD);
        EXPECT_EQ(server.Lista_Instalaciones(), QStringList{"1.- Main site"});
        ASSERT_TRUE(other.open(QIODevice::ReadOnly));
        EXPECT_EQ(other.readAll(), QByteArray("someone's data"));
    }
    // The refused codes stay taken: the next one is free and works.
    ASSERT_EQ(server.Nueva_Instalacion(QStringLiteral("B"), inst.programDir()), 4);
    FbConnection c(inst.installationFile(4));
    EXPECT_TRUE(c.isOpen()) << c.lastError().toStdString();
}

TEST_F(ServerTest, AnInstallationFileIsTheSameFileWhateverItsLetterCase)
{
    // A file copied from a system whose names ignore case.
    const QString lower = inst.databaseDir() + "/instalacion_1.fdb";
    ASSERT_TRUE(QFile::rename(inst.installationFile(1), lower));
    EXPECT_EQ(ZARVServer::Fichero_Instalacion(Bdkv(), "1"), lower);
    {
        FbConnection c(lower);
        ASSERT_TRUE(c.exec("INSERT INTO zarvusuario(id,nombre) VALUES(1,'Kept')"));
    }
    const QString kvd = inst.root() + "/case.kvd";
    ASSERT_TRUE(server.Exporta_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    {
        FbConnection c(lower);
        ASSERT_TRUE(c.exec("DELETE FROM zarvusuario"));
    }
    // Restored over that very file, not beside it under the other spelling.
    ASSERT_TRUE(server.Importa_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    EXPECT_FALSE(QFileInfo::exists(inst.installationFile(1)));
    {
        FbConnection c(lower);
        EXPECT_EQ(c.rows("select nombre from zarvusuario"), QStringList{"Kept"});
    }
    // And the one deleted.
    ASSERT_EQ(server.Nueva_Instalacion("Dos", inst.programDir()), 2);
    ASSERT_TRUE(server.Borra_Instalacion("1", Bdkv()));
    EXPECT_FALSE(QFileInfo::exists(lower));
    EXPECT_EQ(server.Lista_Instalaciones(), QStringList{"2.- Dos"});
}

TEST_F(ServerTest, DeleteTakesTheRowAndTheFileOrNeither)
{
    ASSERT_EQ(server.Nueva_Instalacion("Dos", inst.programDir()), 2);
    ASSERT_EQ(server.Nueva_Instalacion("Tres", inst.programDir()), 3);
    const QString dos = inst.installationFile(2);
    {
        // Held by another connection: nothing changes.
        FbConnection holder(dos);
        ASSERT_TRUE(holder.isOpen());
        EXPECT_FALSE(server.Borra_Instalacion("2", Bdkv()));
        EXPECT_TRUE(QFileInfo::exists(dos));
        EXPECT_TRUE(server.Existe_Instalacion("2"));
    }
    {
        // A row the database will not delete keeps its file.
        FbConnection c(inst.mainDatabase());
        ASSERT_TRUE(c.exec("CREATE EXCEPTION KV_NO 'kept'"));
        ASSERT_TRUE(c.exec("CREATE TRIGGER KV_NO_BORRAR FOR instalacion BEFORE DELETE AS BEGIN "
                           "IF (OLD.COD = 2) THEN EXCEPTION KV_NO; END"));
    }
    {
        FbConnection c(dos);
        ASSERT_TRUE(c.exec("INSERT INTO zarvusuario(id,nombre) VALUES(1,'Dos')"));
    }
    EXPECT_THROW(server.Borra_Instalacion("2", Bdkv()), ErrorBD);
    EXPECT_TRUE(server.Existe_Instalacion("2"));
    {
        FbConnection c(dos);
        EXPECT_EQ(c.rows("select nombre from zarvusuario"), QStringList{"Dos"});
    }

    EXPECT_TRUE(server.Borra_Instalacion("3", Bdkv()));
    EXPECT_FALSE(server.Existe_Instalacion("3"));
    QStringList files = QDir(inst.databaseDir()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{"INSTALACION_1.FDB", "INSTALACION_2.FDB", "INSTALACION_B.FDB", "KEYVANE.FDB"}));
}

TEST_F(ServerTest, LooseInstallationFilesAreRegisteredAndTheirCodesNeverReused)
{
    const QString dir = inst.databaseDir() + "/";
    for (const char *name : {"instalacion_6.fdb", "INSTALACION_4.FDB", "INSTALACION_04.FDB", "INSTALACION_0.FDB",
                             "INSTALACION_9.FDB.tmp-1234", "INSTALACION_X.FDB"})
        ASSERT_TRUE(kv::test::copyFile(inst.installationFile(1), dir + name));

    EXPECT_EQ(server.Registra_Instalaciones_Sueltas(Bdkv(), "Recovered"), (QStringList{"4", "6"}));
    EXPECT_EQ(server.Lista_Instalaciones(),
              (QStringList{"1.- Main site", "4.- Recovered 4", "6.- Recovered 6"}));
    // Nothing left to register; the generator does not move back either.
    EXPECT_TRUE(server.Registra_Instalaciones_Sueltas(Bdkv(), "Recovered").isEmpty());
    EXPECT_EQ(server.Nueva_Instalacion("Siete", inst.programDir()), 7);
    EXPECT_TRUE(server.Registra_Instalaciones_Sueltas(Bdkv(), "Recovered").isEmpty());
    EXPECT_EQ(server.Nueva_Instalacion("Ocho", inst.programDir()), 8);
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
