// keyvane-cli's installations, backup and restore as an installer scripts
// them: the backups are the database tool's own (its gbak reads ours, ours
// reads its), a file that is no good backup changes nothing and says why,
// and an installation another process holds is left alone.
#include "cli_proceso.h"
#include "fbtest.h"
#include "servidortest.h"
#include "tempinstall.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using kv::test::FbConnection;

class CliInstalacionesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        ASSERT_TRUE(kv::test::copyFile(inst.databaseDir() + "/INSTALACION_B.FDB", inst.installationFile(2)));
        FbConnection principal(inst.mainDatabase());
        ASSERT_TRUE(principal.exec("INSERT INTO instalacion VALUES (gen_id(INSTALACION_ID, 1), 'O''Brien''s site')"));
        Names(1, {"Uno"});
    }

    // Replaces installation n's cardholders by these names.
    void Names(int n, const QStringList &names)
    {
        FbConnection c(inst.installationFile(n));
        ASSERT_TRUE(c.exec("DELETE FROM zarvusuario"));
        for (int i = 0; i < names.size(); ++i)
            ASSERT_TRUE(
                c.exec(QStringLiteral("INSERT INTO zarvusuario(id,nombre) VALUES(%1,'%2')").arg(i + 1).arg(names[i])));
    }
    QStringList Names(const QString &file)
    {
        FbConnection c(file);
        return c.rows("select nombre from zarvusuario order by id");
    }

    // The database's own tool; the exit status, or -1 when it is not installed.
    int Gbak(const QStringList &args)
    {
        const QString gbak = QStandardPaths::findExecutable("gbak");
        if (gbak.isEmpty())
            return -1;
        QProcess p;
        p.start(gbak, QStringList{"-user", "SYSDBA", "-password", "x"} + args);
        p.waitForFinished(60000);
        return p.exitCode();
    }

    QString File(const QString &name) const { return inst.root() + "/" + name; }

    kv::test::TempInstall inst;
};

TEST_F(CliInstalacionesTest, ListsEveryInstallationByCodeAndName)
{
    const Salida_Cli s = Ejecuta_Cli(inst, {"installations"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(s.lineas, (QStringList{"1 Main site", "2 O'Brien's site"}));
}

TEST_F(CliInstalacionesTest, BackupAndRestoreAreTheDatabaseToolsOwn)
{
    if (QStandardPaths::findExecutable("gbak").isEmpty())
        GTEST_SKIP() << "gbak is not installed";
    // Ours, read by the tool.
    const QString ours = File("ours.kvd");
    Salida_Cli s = Ejecuta_Cli(inst, {"--installation", "1", "backup", ours});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(s.lineas, QStringList{"installation 1 backed up to " + ours});
    ASSERT_EQ(Gbak({"-c", ours, File("by-gbak.fdb")}), 0);
    EXPECT_EQ(Names(File("by-gbak.fdb")), QStringList{"Uno"});

    // The tool's, from an installation file, read by us: installation 2
    // gets installation 1's contents and keeps its code and name.
    ASSERT_EQ(Gbak({"-b", inst.installationFile(1), File("theirs.kvd")}), 0);
    s = Ejecuta_Cli(inst, {"--installation", "2", "restore", File("theirs.kvd")});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(s.lineas, QStringList{"installation 2 restored from " + File("theirs.kvd")});
    EXPECT_EQ(Names(inst.installationFile(2)), QStringList{"Uno"});
    EXPECT_EQ(Ejecuta_Cli(inst, {"installations"}).lineas, (QStringList{"1 Main site", "2 O'Brien's site"}));

    // And our own back over a changed installation.
    Names(1, {"Later"});
    s = Ejecuta_Cli(inst, {"--installation", "1", "restore", ours});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(Names(inst.installationFile(1)), QStringList{"Uno"});
}

TEST_F(CliInstalacionesTest, WhatIsNotAGoodBackupChangesNothingAndSaysWhy)
{
    QFile text(File("text.kvd"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a backup\n");
    text.close();
    // A good backup of a database that is not an installation.
    if (Gbak({"-b", inst.mainDatabase(), File("main.kvd")}) != 0)
        GTEST_SKIP() << "gbak is not installed";
    // One cut short: the tool's prompt for the next volume must not reach
    // the lines a script reads.
    ASSERT_EQ(Ejecuta_Cli(inst, {"--installation", "1", "backup", File("whole.kvd")}).estado, 0);
    QFile whole(File("whole.kvd"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    QFile cut(File("cut.kvd"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(whole.size() / 2));
    cut.close();

    struct Caso {
        QStringList args;
        int estado;
        const char *dice;
    };
    const Caso casos[] = {
        {{"restore", File("text.kvd")}, 1, "The file is not a backup of the database."},
        {{"restore", File("main.kvd")}, 1, "The backup holds another database, not an installation."},
        {{"restore", File("cut.kvd")}, 1, "The backup is incomplete: the file was cut short."},
        {{"restore", File("none.kvd")}, 2, "none.kvd cannot be read"},
        {{"backup", "/nonexistent/dir/x.kvd"}, 2, "The installation could not be backed up."},
        {{"restore"}, 2, "wrong number of arguments"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Salida_Cli s = Ejecuta_Cli(inst, QStringList{"--installation", "1"} + c.args);
        EXPECT_EQ(s.estado, c.estado) << s.err.toStdString();
        EXPECT_TRUE(s.err.contains(QLatin1String(c.dice))) << s.err.toStdString();
        EXPECT_TRUE(s.lineas.isEmpty());
        EXPECT_EQ(Names(inst.installationFile(1)), QStringList{"Uno"});
    }
    EXPECT_FALSE(QFileInfo::exists("/nonexistent/dir/x.kvd"));
}

TEST_F(CliInstalacionesTest, AnInstallationAnotherProcessHoldsIsLeftAlone)
{
    ASSERT_EQ(Ejecuta_Cli(inst, {"--installation", "1", "backup", File("one.kvd")}).estado, 0);
    Names(1, {"Held"});
    // This process holds the file open, as a running program would.
    FbConnection held(inst.installationFile(1));
    ASSERT_TRUE(held.isOpen());
    // Embedded, the file is this process's alone: neither backup nor restore
    // may touch it. Through a server, the backup is taken while the other
    // station works (the server's copy is consistent); the restore is refused.
    const bool servidor = !kv::test::cuentaServidor().host.isEmpty();
    struct Caso {
        QStringList args;
        int estado;
        const char *dice;
    };
    const Caso casos[] = {
        {{"backup", File("two.kvd")}, servidor ? 0 : 2,
         servidor ? "" : "the installation is open in a running Keyvane"},
        {{"restore", File("one.kvd")}, 2,
         servidor ? "The installation is open in another program or station"
                  : "the installation is open in a running Keyvane"},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Salida_Cli s = Ejecuta_Cli(inst, QStringList{"--installation", "1"} + c.args);
        EXPECT_EQ(s.estado, c.estado) << s.err.toStdString();
        EXPECT_TRUE(s.err.contains(QLatin1String(c.dice))) << s.err.toStdString();
    }
    EXPECT_EQ(QFileInfo::exists(File("two.kvd")), servidor);
    EXPECT_EQ(held.rows("select nombre from zarvusuario"), QStringList{"Held"});
}
