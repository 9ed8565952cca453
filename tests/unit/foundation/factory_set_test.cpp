// The factory set as the build generates it: every file opens embedded through
// QIBASE and holds exactly the tables, column order, generators, keys and rows
// the program relies on.
#include "fbtest.h"
#include "tempinstall.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using kv::test::FbConnection;

namespace {

QString factory(const QString &file)
{
    return QStringLiteral(KEYVANE_FACTORY_DIR) + QLatin1Char('/') + file;
}

// Column names of a table in declaration order, upper case.
QStringList columns(FbConnection &c, const QString &table)
{
    QStringList out;
    for (const QString &r : c.rows(QStringLiteral(
             "select trim(rdb$field_name) from rdb$relation_fields where rdb$relation_name = '%1' "
             "order by rdb$field_position").arg(table.toUpper())))
        out << r;
    return out;
}

QStringList userTables(FbConnection &c)
{
    QStringList out = c.rows(QStringLiteral(
        "select trim(rdb$relation_name) from rdb$relations where coalesce(rdb$system_flag, 0) = 0 "
        "and rdb$view_blr is null"));
    out.sort();
    return out;
}

QStringList generators(FbConnection &c)
{
    QStringList out = c.rows(QStringLiteral(
        "select trim(rdb$generator_name) from rdb$generators where coalesce(rdb$system_flag, 0) = 0"));
    out.sort();
    return out;
}

// "PRIMARY KEY:COL1,COL2" / "UNIQUE:..." for each constraint of a table.
QStringList keyConstraints(FbConnection &c, const QString &table)
{
    QStringList out = c.rows(QStringLiteral(
        "select ctype, list(fld) from (select trim(rc.rdb$constraint_type) ctype, rc.rdb$index_name idx, "
        "trim(s.rdb$field_name) fld from rdb$relation_constraints rc join rdb$index_segments s "
        "on s.rdb$index_name = rc.rdb$index_name where rc.rdb$relation_name = '%1' "
        "and rc.rdb$constraint_type in ('PRIMARY KEY', 'UNIQUE') order by idx, s.rdb$field_position) "
        "group by ctype, idx").arg(table.toUpper()));
    for (QString &s : out)
        s.replace(QLatin1Char('|'), QLatin1Char(':'));
    out.sort();
    return out;
}

// Indexed columns of a table (any index), e.g. "TIMESTAMP".
QStringList indexedColumns(FbConnection &c, const QString &table)
{
    QStringList out = c.rows(QStringLiteral(
        "select distinct trim(s.rdb$field_name) from rdb$indices i join rdb$index_segments s "
        "on s.rdb$index_name = i.rdb$index_name where i.rdb$relation_name = '%1' and s.rdb$field_position = 0")
                                 .arg(table.toUpper()));
    out.sort();
    return out;
}

void expectInstallationSchema(const QString &file)
{
    SCOPED_TRACE(file.toStdString());
    FbConnection c(file);
    ASSERT_TRUE(c.isOpen()) << c.lastError().toStdString();

    EXPECT_EQ(userTables(c), (QStringList{"ZARVCONTROLADOR", "ZARVCONTROLADORTARJETA", "ZARVINCIDENCIA",
                                          "ZARVTARJETA", "ZARVUSUARIO"}));
    EXPECT_EQ(columns(c, "zarvcontrolador"),
              (QStringList{"COD", "PUERTO_SERIE", "TIEMPO_PTA_ABIERTA", "TIPO", "DESCRIPCION", "DIRECCION"}));
    EXPECT_EQ(columns(c, "zarvtarjeta"), (QStringList{"CODIGO_TARJETA", "BLOQUEADO", "FECHA_ALTA",
                                                      "FECHA_CADUCIDAD", "USUARIO", "USAR_FECHA_CAD"}));
    EXPECT_EQ(columns(c, "zarvcontroladortarjeta"), (QStringList{"TARJETA", "CONTROLADOR", "_STOREDINHW"}));
    EXPECT_EQ(columns(c, "zarvusuario"), (QStringList{"ID", "NOMBRE", "APELLIDOS", "PERMANENTE", "FOTOGRAFIA"}));
    EXPECT_EQ(columns(c, "zarvincidencia"),
              (QStringList{"COD", "CONTROLADOR", "HIST_CONTROLADOR", "TARJETA", "HIST_TARJETA", "TIMESTAMP",
                           "DESCRIPCION", "EVENTO", "USR"}));
    EXPECT_EQ(generators(c), (QStringList{"GEN_ZARVINCIDENCIA_ID", "GEN_ZARVUSUARIO_ID"}));

    EXPECT_EQ(keyConstraints(c, "zarvcontrolador"), QStringList{"PRIMARY KEY:COD"});
    EXPECT_EQ(keyConstraints(c, "zarvtarjeta"), QStringList{"PRIMARY KEY:CODIGO_TARJETA"});
    EXPECT_EQ(keyConstraints(c, "zarvusuario"), QStringList{"PRIMARY KEY:ID"});
    EXPECT_EQ(keyConstraints(c, "zarvincidencia"), QStringList{"PRIMARY KEY:COD"});
    EXPECT_EQ(keyConstraints(c, "zarvcontroladortarjeta"), QStringList{"UNIQUE:TARJETA,CONTROLADOR"});
    EXPECT_TRUE(indexedColumns(c, "zarvcontroladortarjeta").contains("CONTROLADOR"));
    EXPECT_TRUE(indexedColumns(c, "zarvtarjeta").contains("USUARIO"));
    EXPECT_TRUE(indexedColumns(c, "zarvincidencia").contains("TIMESTAMP"));
    EXPECT_TRUE(indexedColumns(c, "zarvincidencia").contains("USR"));

    for (const char *t : {"zarvcontrolador", "zarvtarjeta", "zarvcontroladortarjeta", "zarvusuario",
                          "zarvincidencia"})
        EXPECT_EQ(c.scalar(QStringLiteral("select count(*) from %1").arg(t)).toLongLong(), 0) << t;
}

} // namespace

TEST(FactorySet, MainDatabaseHasTablesGeneratorsAndFirstRows)
{
    FbConnection c(factory("KEYVANE.FDB"));
    ASSERT_TRUE(c.isOpen()) << c.lastError().toStdString();

    EXPECT_EQ(userTables(c), (QStringList{"INSTALACION", "LANGREP", "USUARIO"}));
    EXPECT_EQ(columns(c, "instalacion"), (QStringList{"COD", "NOMBRE"}));
    EXPECT_EQ(columns(c, "usuario"), (QStringList{"COD", "LOGIN", "PASSWORD", "ROL"}));
    QStringList langrep{"IDIOMA"};
    for (int i = 1; i <= 13; ++i)
        langrep << QStringLiteral("CAMPO_%1").arg(i);
    EXPECT_EQ(columns(c, "LANGREP"), langrep);
    EXPECT_EQ(generators(c), (QStringList{"GEN_USUARIO_ID", "INSTALACION_ID"}));

    EXPECT_EQ(keyConstraints(c, "instalacion"), QStringList{"PRIMARY KEY:COD"});
    EXPECT_EQ(keyConstraints(c, "usuario"), (QStringList{"PRIMARY KEY:COD", "UNIQUE:LOGIN"}));

    const QStringList inst = c.rows("select COD,NOMBRE from instalacion  ORDER BY COD asc");
    ASSERT_EQ(inst.size(), 1);
    EXPECT_TRUE(inst.first().startsWith("1|")) << inst.first().toStdString();
    EXPECT_EQ(c.scalar("SELECT gen_id(INSTALACION_ID, 0) FROM rdb$database").toInt(), 1);
    EXPECT_TRUE(QFileInfo::exists(factory("INSTALACION_1.FDB")));

    EXPECT_EQ(c.rows("SELECT *  from usuario"), QStringList{"1|admin|admin|ADMIN"});
    EXPECT_EQ(c.scalar("SELECT gen_id(GEN_USUARIO_ID, 0) FROM rdb$database").toInt(), 1);

    // Login and password take up to 30 characters, no more.
    const QString thirty(30, QLatin1Char('x'));
    EXPECT_TRUE(c.exec(QStringLiteral("INSERT INTO usuario VALUES(99,'%1','%1','USER')").arg(thirty)));
    EXPECT_FALSE(c.exec(QStringLiteral("INSERT INTO usuario VALUES(100,'%1y','p','USER')").arg(thirty)));
    // Logins are unique.
    EXPECT_FALSE(c.exec("INSERT INTO usuario VALUES(101,'admin','x','USER')"));
    c.exec("DELETE FROM usuario WHERE COD=99");
}

TEST(FactorySet, InstallationFilesHoldTheEmptySchema)
{
    expectInstallationSchema(factory("INSTALACION_B.FDB"));
    expectInstallationSchema(factory("INSTALACION_1.FDB"));
}

TEST(FactorySet, InstallationColumnsBehaveAsTheModelExpects)
{
    kv::test::TempInstall inst;
    ASSERT_TRUE(inst.isValid());
    FbConnection c(inst.installationFile(1));
    ASSERT_TRUE(c.isOpen()) << c.lastError().toStdString();

    // A controller inserted the way the program does it gets a non-null door time.
    ASSERT_TRUE(c.exec("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion)VALUES(1,3,'Door','Null',0)"));
    EXPECT_EQ(c.rows("select cod,puerto_serie,tiempo_pta_abierta,tipo,descripcion,direccion from zarvcontrolador"),
              QStringList{"1|3|0|Null|Door|0"});
    // tipo may be null.
    EXPECT_TRUE(c.exec("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion)VALUES(2,3,'Exit',NULL,1)"));

    // The assignment insert names no columns; a pair is stored once.
    EXPECT_TRUE(c.exec("INSERT INTO zarvcontroladortarjeta values('0000012345',1,'S')"));
    EXPECT_FALSE(c.exec("INSERT INTO zarvcontroladortarjeta values('0000012345',1,'N')"));

    // Generators count from 1.
    EXPECT_TRUE(c.exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) "
                       "VALUES(gen_id(GEN_ZARVUSUARIO_ID, 1),'Ana','O''Brien','S','')"));
    EXPECT_EQ(c.rows("select id,apellidos from zarvusuario"), QStringList{"1|O'Brien"});
}

TEST(FactorySet, WorkingCopyAndFoldersSitBesideTheExecutable)
{
    const QString bin = QStringLiteral(KEYVANE_BIN_DIR);
    for (const char *f : {"KEYVANE.FDB", "INSTALACION_B.FDB", "INSTALACION_1.FDB"})
        EXPECT_TRUE(QFileInfo::exists(bin + "/BDKV/" + f)) << f;
    EXPECT_TRUE(QFileInfo(bin + "/Pictures").isDir());
    EXPECT_TRUE(QFileInfo(bin + "/Data").isDir());
}
