// Operators' logins: hashed passwords, the upgrade of a main database from an
// earlier version, the administrator level checked where the action runs.
#include "modelfixture.h"

#include "model/clave.h"
#include "model/errorbd.h"
#include "model/nivel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using kv::test::FbConnection;

namespace {

// A main database as the earlier version made it: a password column of 30
// characters holding plain text, and no check on the level.
const char *const kOlderMain = R"(
CREATE TABLE instalacion (COD INTEGER NOT NULL, NOMBRE VARCHAR(100), CONSTRAINT PK_INSTALACION PRIMARY KEY (COD));
CREATE TABLE usuario (COD INTEGER NOT NULL, LOGIN VARCHAR(30) NOT NULL, "PASSWORD" VARCHAR(30), ROL VARCHAR(10),
  CONSTRAINT PK_USUARIO PRIMARY KEY (COD), CONSTRAINT UQ_USUARIO_LOGIN UNIQUE (LOGIN));
CREATE TABLE LANGREP (Idioma VARCHAR(60), campo_1 VARCHAR(200));
CREATE GENERATOR INSTALACION_ID;
CREATE GENERATOR GEN_USUARIO_ID;
INSERT INTO instalacion VALUES (gen_id(INSTALACION_ID, 1), 'Main site');
INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'admin', 'admin', 'ADMIN');
INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'luis', 'clave', 'USER');
INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'rosa', 'rosa', 'admin');
INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'nulo', 'nulo', NULL);
COMMIT;
)";

// Replaces file with a database made by the database tool from kOlderMain.
void Crea_Principal_Antigua(const QString &file)
{
    QFile::remove(file);
    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    ASSERT_FALSE(isql.isEmpty());
    QProcess p;
    p.start(isql, {QStringLiteral("-q"), QStringLiteral("-b")});
    ASSERT_TRUE(p.waitForStarted());
    p.write(QStringLiteral("SET SQL DIALECT 3;\nCREATE DATABASE '%1' USER 'SYSDBA' PASSWORD 'x' PAGE_SIZE 8192 "
                           "DEFAULT CHARACTER SET UTF8;\n")
                .arg(file)
                .toUtf8());
    p.write(kOlderMain);
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(30000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}

QString Guardado(FbConnection &c, const QString &login)
{
    return c.scalar(QStringLiteral("SELECT \"PASSWORD\" FROM usuario WHERE LOGIN='%1'").arg(login)).toString();
}

} // namespace

class LoginsTest : public ModelTest {};

TEST_F(LoginsTest, ANewLoginStoresAHashAndPasswordsStayCaseInsensitive)
{
    server.Nuevo_Login("luis", "Secreto", "USER");
    FbConnection c(inst.mainDatabase());
    const QString stored = Guardado(c, "luis");
    EXPECT_TRUE(stored.startsWith("$argon2id$")) << stored.toStdString();
    EXPECT_FALSE(stored.contains("secreto", Qt::CaseInsensitive));
    // Two logins with one password get different hashes (salted).
    server.Nuevo_Login("ana", "Secreto", "USER");
    EXPECT_NE(Guardado(c, "ana"), stored);

    EXPECT_TRUE(server.Comprueba_Login("luis", "SECRETO"));
    EXPECT_TRUE(server.Comprueba_Login("luis", "secreto"));
    EXPECT_EQ(server.Lista_Logins(), (QStringList{"admin*ADMIN", "luis*USER", "ana*USER"}));
}

TEST_F(LoginsTest, APlainTextRowLogsInOnceAndIsAHashAfterwards)
{
    FbConnection c(inst.mainDatabase());
    // As an older station on a shared server would have written it.
    ASSERT_TRUE(c.exec("INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'ana', 'tulipan', 'USER')"));
    EXPECT_FALSE(server.Comprueba_Login("ana", "wrong"));
    EXPECT_EQ(Guardado(c, "ana"), "tulipan");

    EXPECT_TRUE(server.Comprueba_Login("ana", "Tulipan"));
    const QString stored = Guardado(c, "ana");
    EXPECT_TRUE(Clave::Es_Cifrada(stored)) << stored.toStdString();
    EXPECT_TRUE(server.Comprueba_Login("ana", "tulipan"));
    EXPECT_EQ(Guardado(c, "ana"), stored);
    EXPECT_FALSE(server.Comprueba_Login("ana", stored));
}

TEST_F(LoginsTest, AWrongPasswordAndAnUnknownLoginAreRefusedAlike)
{
    ASSERT_TRUE(server.Comprueba_Login("admin", "admin"));
    for (const auto &[login, password] : {std::pair{"admin", "wrong"}, {"nadie", "admin"}, {"nadie", ""},
                                          {"admin", ""}, {"", ""}}) {
        EXPECT_FALSE(server.Comprueba_Login(login, password)) << login << "/" << password;
        EXPECT_EQ(server.Login_Actual(), "admin");
        EXPECT_EQ(server.Rol(), "ADMIN");
    }
}

TEST_F(LoginsTest, AnOlderMainDatabaseIsBackedUpThenUpgradedInPlace)
{
    Crea_Principal_Antigua(inst.mainDatabase());
    const QString copia = server.Actualiza_Esquema();
    ASSERT_FALSE(copia.isEmpty());
    EXPECT_EQ(QFileInfo(copia).absolutePath(), inst.databaseDir());
    EXPECT_GT(QFileInfo(copia).size(), 0);
    EXPECT_EQ(QFileInfo(copia).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

    FbConnection c(inst.mainDatabase());
    for (const char *login : {"admin", "luis", "rosa", "nulo"})
        EXPECT_TRUE(Clave::Es_Cifrada(Guardado(c, login))) << login;
    // Only the two levels from now on; a level that counted as USER reads so.
    EXPECT_FALSE(c.exec("INSERT INTO usuario VALUES (9, 'x', 'x', 'SUPER')"));
    EXPECT_FALSE(c.exec("INSERT INTO usuario VALUES (9, 'x', 'x', NULL)"));
    EXPECT_TRUE(c.exec("INSERT INTO usuario VALUES (9, 'x', 'x', 'USER')"));
    EXPECT_EQ(c.rows("SELECT LOGIN, ROL FROM usuario ORDER BY COD"),
              (QStringList{"admin|ADMIN", "luis|USER", "rosa|USER", "nulo|USER", "x|USER"}));

    EXPECT_TRUE(server.Comprueba_Login("luis", "clave"));
    EXPECT_TRUE(server.Comprueba_Login("admin", "admin"));
    // Up to date: nothing more to do, no second backup.
    EXPECT_TRUE(server.Actualiza_Esquema().isEmpty());
    EXPECT_EQ(QDir(inst.databaseDir()).entryList({"*.kvd"}).size(), 1);
}

TEST_F(LoginsTest, OnlyALevelOfExactlyAdminIsAnAdministrator)
{
    Crea_Principal_Antigua(inst.mainDatabase());
    FbConnection c(inst.mainDatabase());
    ASSERT_TRUE(c.exec("INSERT INTO usuario VALUES (10, 'blanco', 'b', '')"));
    ASSERT_TRUE(c.exec("INSERT INTO usuario VALUES (11, 'espacio', 'e', 'ADMIN ')"));
    struct Caso {
        const char *login;
        bool admin;
    };
    for (const Caso caso : {Caso{"admin", true}, {"luis", false}, {"rosa", false}, {"nulo", false},
                            {"blanco", false}, {"espacio", false}}) {
        ASSERT_TRUE(server.Comprueba_Login(caso.login, c.scalar(QStringLiteral("SELECT \"PASSWORD\" FROM usuario "
                                                                               "WHERE LOGIN='%1'")
                                                                    .arg(caso.login))
                                                           .toString()))
            << caso.login;
        EXPECT_EQ(server.Es_Administrador(), caso.admin) << caso.login;
    }
    EXPECT_FALSE(ZARVServer().Es_Administrador()) << "nobody logged in";
}

TEST_F(LoginsTest, AUserCannotManageLoginsOrInstallations)
{
    server.Nuevo_Login("luis", "clave", "USER");
    ASSERT_TRUE(server.Comprueba_Login("luis", "clave"));
    FbConnection c(inst.mainDatabase());
    const QStringList antes = c.rows("SELECT * FROM usuario");

    EXPECT_THROW(server.Nuevo_Login("eva", "e", "ADMIN"), Nivel::Sin_Permiso);
    EXPECT_THROW(server.Elimina_Login("admin"), Nivel::Sin_Permiso);
    EXPECT_THROW(server.Pon_Password("admin", "mia"), Nivel::Sin_Permiso);
    EXPECT_THROW(server.Nueva_Instalacion("Otra", inst.programDir()), Nivel::Sin_Permiso);
    EXPECT_THROW(server.Elimina_Instalacion("instalacion_1"), Nivel::Sin_Permiso);
    const QString kvd = inst.root() + "/copia.kvd";
    EXPECT_FALSE(server.Exporta_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    EXPECT_FALSE(QFileInfo::exists(kvd));
    EXPECT_FALSE(server.Importa_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);

    EXPECT_EQ(c.rows("SELECT * FROM usuario"), antes);
    EXPECT_EQ(server.Lista_Instalaciones(), QStringList{"1.- Main site"});
    EXPECT_FALSE(QFileInfo::exists(inst.installationFile(2)));
}

TEST_F(LoginsTest, ThePasswordChangesWithTheOldOneOrByAnAdministrator)
{
    EXPECT_TRUE(server.Clave_De_Fabrica());
    EXPECT_FALSE(server.Cambia_Password("admin", "wrong", "nueva"));
    EXPECT_FALSE(server.Cambia_Password("nadie", "admin", "nueva"));
    EXPECT_TRUE(server.Clave_De_Fabrica());
    EXPECT_TRUE(server.Cambia_Password("ADMIN", "Admin", "Nueva"));
    EXPECT_FALSE(server.Clave_De_Fabrica());
    EXPECT_FALSE(server.Comprueba_Login("admin", "admin"));
    EXPECT_TRUE(server.Comprueba_Login("admin", "nueva"));

    EXPECT_FALSE(server.Pon_Password("nadie", "x"));
    EXPECT_TRUE(server.Pon_Password("admin", "admin"));
    EXPECT_TRUE(server.Clave_De_Fabrica());
}
