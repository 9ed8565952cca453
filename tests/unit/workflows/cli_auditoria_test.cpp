// keyvane-cli's audit command, run as a separate process on a fresh factory
// set: what the other commands changed, one tab-separated line per entry,
// newest first, filtered, and saved to a workbook; bad options refused.
#include "cli_proceso.h"
#include "tempinstall.h"

#include <QDate>
#include <QFile>

#include <gtest/gtest.h>

class CliAuditoriaTest : public ::testing::Test {
protected:
    Salida_Cli Cli(const QStringList &args) { return Ejecuta_Cli(inst, args); }
    kv::test::TempInstall inst;
};

TEST_F(CliAuditoriaTest, ListsWhatTheOtherCommandsChangedNewestFirst)
{
    ASSERT_EQ(Cli({"card-add", "11", "22"}).estado, 0);
    ASSERT_EQ(Cli({"card-delete", "11"}).estado, 0);

    const Salida_Cli todo = Cli({"audit"});
    ASSERT_EQ(todo.estado, 0) << todo.err.toStdString();
    ASSERT_EQ(todo.lineas.size(), 3) << todo.lineas.join('\n').toStdString();
    const QString hoy = QDate::currentDate().toString(Qt::ISODate);
    const QStringList campos = todo.lineas[0].split('\t');
    ASSERT_EQ(campos.size(), 9);
    EXPECT_TRUE(campos[0].startsWith(hoy));
    EXPECT_EQ(campos.mid(1, 3), (QStringList{"console", "card deleted", "0000000011"}));
    EXPECT_EQ(campos[7], "done");
    EXPECT_TRUE(todo.lineas[2].contains("card added\t0000000011"));

    struct Caso {
        QStringList args;
        int lineas;
    } casos[] = {
        {{"audit", "--object", "22"}, 1},
        {{"audit", "--login", "CONSOLE", "--from", hoy, "--to", hoy}, 3},
        {{"audit", "--login", "admin"}, 0},
        {{"audit", "--to", QDate::currentDate().addDays(-1).toString(Qt::ISODate)}, 0},
    };
    for (const Caso &c : casos) {
        const Salida_Cli s = Cli(c.args);
        EXPECT_EQ(s.estado, 0) << c.args.join(' ').toStdString();
        EXPECT_EQ(s.lineas.size(), c.lineas) << c.args.join(' ').toStdString();
    }
}

TEST_F(CliAuditoriaTest, WritesTheFilteredLogToAWorkbookAndLogsThat)
{
    ASSERT_EQ(Cli({"card-add", "11"}).estado, 0);
    const QString libro = inst.root() + "/log.xlsx";
    const Salida_Cli s = Cli({"audit", "--xlsx", libro});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_TRUE(s.err.contains("1 entries written"));
    QFile f(libro);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(2) == "PK");
    const Salida_Cli despues = Cli({"audit", "--object", "log.xlsx"});
    ASSERT_EQ(despues.lineas.size(), 1);
    EXPECT_TRUE(despues.lineas[0].contains("workbook exported"));
}

TEST_F(CliAuditoriaTest, BadOptionsAreRefusedWithTheReason)
{
    struct Caso {
        QStringList args;
        const char *motivo;
    } casos[] = {
        {{"audit", "--from", "31/12/2026"}, "yyyy-MM-dd"},
        {{"audit", "--to", "2026-02-30"}, "yyyy-MM-dd"},
        {{"audit", "--from", "2026-12-02", "--to", "2026-12-01"}, "before"},
        {{"audit", "--login"}, "takes a value"},
        {{"audit", "--who", "x"}, "not an option"},
        {{"audit", "--xlsx", "/nonexistent/dir/log.xlsx"}, "/nonexistent/dir/log.xlsx"},
    };
    for (const Caso &c : casos) {
        const Salida_Cli s = Cli(c.args);
        EXPECT_EQ(s.estado, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains(c.motivo)) << s.err.toStdString();
    }
}
