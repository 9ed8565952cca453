// Events go out as frames to the PC, again and again until a lone ACK comes back.
#include "ptyclient.h"
#include "simprocess.h"
#include "wireframe.h"

#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using kv::test::SimProcess;
using wireframe::hex;
using wireframe::reply;

TEST(SimEvent, EachCommandSendsItsFrame)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1,5")}, dir.path());
    PtyClient pc(sim.ptyPath());

    struct Case {
        const char *command;
        QByteArray frame;
    } const cases[] = {
        {"card 1 12345", reply(1, hex("31 01 00 00 01 23 45"))},
        {"card 5 0012345678", reply(5, hex("31 01 00 12 34 56 78"))},
        {"refused 1 99", reply(1, hex("31 02 00 00 00 00 99"))},
        {"door 1 opened", reply(1, hex("37 01"))},
        {"door 1 closed", reply(1, hex("37 00"))},
        {"door 1 alarm", reply(1, hex("45 00"))},
        {"door 1 button", reply(1, hex("35 00"))},
        {"event 1 * 07 12", reply(1, hex("2A 07 00 00 00 00 12"))},
        {"event 1 0x10 10", reply(1, hex("10 10"))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        sim.command(QString::fromLatin1(c.command));
        EXPECT_EQ(pc.readReply().toHex(' '), c.frame.toHex(' '));
        pc.write(hex("06"));
    }
    // The door state follows the door events.
    EXPECT_TRUE(sim.command(QStringLiteral("list")).value(0).contains(QLatin1String(" state=2 ")));
}

TEST(SimEvent, RepeatsUntilTheAckAndQueuesTheNext)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1")}, dir.path());
    PtyClient pc(sim.ptyPath());
    const QByteArray first = reply(1, hex("31 01 00 00 01 23 45"));
    const QByteArray second = reply(1, hex("37 01"));

    sim.command(QStringLiteral("card 1 12345"));
    sim.command(QStringLiteral("door 1 opened"));
    // Unacknowledged, the first goes out about every 300 ms and the second waits behind it.
    const QByteArray repeats = pc.readFor(750);
    EXPECT_GE(repeats.count(first), 2) << repeats.toHex(' ').constData();
    EXPECT_EQ(repeats.size() % first.size(), 0);
    EXPECT_FALSE(repeats.contains(second));
    EXPECT_TRUE(sim.command(QStringLiteral("stats")).value(0).contains(QLatin1String("events_pending=2")));

    pc.write(hex("06"));
    EXPECT_EQ(pc.readReply(), second);
    pc.write(hex("06"));
    EXPECT_TRUE(pc.readFor(500).isEmpty());
    EXPECT_TRUE(sim.command(QStringLiteral("stats")).value(0).contains(QLatin1String("events_pending=0")));
}

TEST(SimEvent, WaitsWhileThePortIsClosed)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1")}, dir.path());
    sim.command(QStringLiteral("card 1 777"));
    QThread::msleep(700);
    // Opened later, the port gets the event once, not a backlog of repeats.
    PtyClient pc(sim.ptyPath());
    EXPECT_EQ(pc.readFor(200), reply(1, hex("31 01 00 00 00 07 77")));
    pc.write(hex("06"));

    // A reply the PC can no longer receive is lost, not delivered to its next open.
    sim.command(QStringLiteral("fault 1 slow 200"));
    pc.write(wireframe::request(1, 27));
    pc.readFor(50);
    pc.close();
    QThread::msleep(400);
    PtyClient again(sim.ptyPath());
    EXPECT_TRUE(again.readFor(200).isEmpty());
}

TEST(SimEvent, ResendIntervalAndLostAcksAreSetByTheTester)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1"), QStringLiteral("--resend"), QStringLiteral("150")},
                   dir.path());
    PtyClient pc(sim.ptyPath());
    const QByteArray frame = reply(1, hex("35 00"));
    EXPECT_TRUE(sim.command(QStringLiteral("stats")).value(0).contains(QLatin1String("resend_ms=150")));

    // Sent at 0, 150, 300 and 450 ms.
    sim.command(QStringLiteral("door 1 button"));
    EXPECT_GE(pc.readFor(520).count(frame), 3);

    // Two ACKs lost on the line: the frame keeps coming until the third.
    sim.command(QStringLiteral("resend 100"));
    sim.command(QStringLiteral("dropack 2"));
    for (int i = 0; i < 3; ++i) {
        pc.write(hex("06"));
        EXPECT_EQ(pc.readFor(160).left(frame.size()), i < 2 ? frame : QByteArray()) << i;
    }
    const QString stats = sim.command(QStringLiteral("stats")).value(0);
    EXPECT_TRUE(stats.contains(QLatin1String("acks_dropped=2 "))) << stats.toStdString();
    EXPECT_TRUE(stats.contains(QLatin1String("events_pending=0 "))) << stats.toStdString();

    for (const char *bad : {"resend 0", "resend x", "dropack -1", "dropack"})
        EXPECT_FALSE(sim.ok(QString::fromLatin1(bad))) << bad;
}
