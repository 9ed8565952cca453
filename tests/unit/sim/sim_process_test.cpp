// The simulator as a process: its link and control socket, its state file
// across a restart, and the control language on both of its inputs.
#include "ptyclient.h"
#include "simprocess.h"
#include "tempinstall.h"
#include "wireframe.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::test::SimError;
using kv::test::SimProcess;
using wireframe::hex;
using wireframe::reply;
using wireframe::request;

TEST(SimProcessLife, KeepsCardsAndSettingsAcrossARestart)
{
    QTemporaryDir dir;
    const QStringList args{QStringLiteral("--controllers"), QStringLiteral("1,170"), QStringLiteral("--state-dir"),
                           dir.filePath(QStringLiteral("state"))};
    QStringList listed;
    {
        SimProcess sim(4, args, dir.path());
        sim.command(QStringLiteral("load 1 1 22 0000000333"));
        sim.command(QStringLiteral("set 1 lock 9"));
        sim.command(QStringLiteral("add 7 capacity=10 version=30"));
        PtyClient pc(sim.ptyPath());
        EXPECT_EQ(pc.transact(request(170, 97, hex("00 00 00 44 44"))), reply(170, hex("06")));
        listed = sim.command(QStringLiteral("list"));
    }
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("state/COM4.json"))));

    // Started again with only some of them named, the line keeps every controller it had.
    SimProcess sim(4, {QStringLiteral("--state-dir"), dir.filePath(QStringLiteral("state"))}, dir.path());
    EXPECT_EQ(sim.command(QStringLiteral("list")), listed);
    EXPECT_EQ(sim.command(QStringLiteral("dump 1")),
              (QStringList{QStringLiteral("0000000001"), QStringLiteral("0000000022"), QStringLiteral("0000000333")}));
    EXPECT_EQ(sim.command(QStringLiteral("dump 170")), QStringList{QStringLiteral("0000004444")});
}

TEST(SimProcessLife, LinkFollowsTheProcess)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("COM3"));
    // A link left by a killed run is taken over.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/pts/no-such-pty"), link));
    {
        SimProcess sim(3, {}, dir.path());
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.ptyPath());
        EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("COM3.ctl"))));
        // One line, one simulator: a second one on the same port refuses to start.
        EXPECT_THROW(SimProcess second(3, {}, dir.path()), SimError);
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.ptyPath());
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("COM3.ctl"))));

    // A link to a real device belongs to an installation and is left alone.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
    EXPECT_THROW(SimProcess onDevice(3, {}, dir.path()), SimError);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QStringLiteral("/dev/null"));
}

TEST(SimProcessLife, RejectsBadControlCommands)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1")}, dir.path());
    const char *const bad[] = {
        "frobnicate", "add 40", "add 1", "add 2 colour=3", "add 3 lock=0", "remove 9", "card 9 123",
        "card 1 12G45", "card 1 12345678901", "event 1 55 00", "event 1 1 100", "door 1 ajar",
        "fault 1 sometimes", "fault 1 slow", "set 1 lock 100", "set 1 open -1", "set 1 colour 3",
        "set 1 capacity 0", "pace maybe", "load 1", "dump 2",
    };
    for (const char *b : bad)
        EXPECT_FALSE(sim.ok(QString::fromLatin1(b))) << b;
    // None of them changed anything.
    EXPECT_EQ(sim.command(QStringLiteral("list")),
              QStringList{QStringLiteral("1 cards=0 capacity=2000 version=21 state=2 lock=5 open=20 fault=none")});

    sim.command(QStringLiteral("set 1 capacity 2"));
    EXPECT_FALSE(sim.ok(QStringLiteral("load 1 1 2 3")));
    EXPECT_FALSE(sim.ok(QStringLiteral("set 1 capacity 1")));
    EXPECT_EQ(sim.command(QStringLiteral("dump 1")).size(), 2);
    EXPECT_TRUE(sim.ok(QStringLiteral("remove 1")));
    EXPECT_TRUE(sim.command(QStringLiteral("list")).isEmpty());
}

TEST(SimProcessLife, TakesCommandsOnStandardInputAndQuits)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(kv::test::binary(QStringLiteral("keyvane-sim")),
            {QStringLiteral("--ports-dir"), dir.path(), QStringLiteral("--port"), QStringLiteral("6"),
             QStringLiteral("--controllers"), QStringLiteral("0")});
    ASSERT_TRUE(p.waitForStarted());
    p.write("list\nbogus\nquit\n");
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << qPrintable(lines.join(QLatin1Char('|')));
    EXPECT_TRUE(lines.at(0).startsWith(QLatin1String("ready COM6 /dev/pts/")));
    // Address 0 on the command line is the controller that answers to 170.
    EXPECT_TRUE(lines.at(1).startsWith(QLatin1String("170 cards=0 ")));
    EXPECT_EQ(lines.at(2), QStringLiteral("ok"));
    EXPECT_TRUE(lines.at(3).startsWith(QLatin1String("error: ")));
    EXPECT_EQ(lines.at(4), QStringLiteral("ok"));
    EXPECT_FALSE(QFileInfo(dir.filePath(QStringLiteral("COM6"))).isSymLink());
}

TEST(SimProcessLife, LogsEveryFrameInHexAndWords)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("170")}, dir.path());
    PtyClient pc(sim.ptyPath());
    pc.transact(hex("10 02 AA 81 51 7A 10 03"));
    const QString log = sim.log();
    EXPECT_TRUE(log.contains(QLatin1String(" in 10 02 AA 81 51 7A 10 03 | to 170 from 129 cmd 81 erase"))) << qPrintable(log);
    EXPECT_TRUE(log.contains(QLatin1String(" out 10 02 81 AA 06 2D 10 03 | to 129 from 170 ACK"))) << qPrintable(log);
}
