// The simulator answers the eight commands in the formats the PC judges them
// by, addresses the right controller, and keeps its footing on a noisy line.
#include "ptyclient.h"
#include "simprocess.h"
#include "wireframe.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using kv::test::SimProcess;
using wireframe::hex;
using wireframe::reply;
using wireframe::request;

namespace {

const QByteArray Ack("\x06", 1);
const QByteArray Nak("\x15", 1);

struct Step {
    const char *what;
    const char *control; // a control command run first, or nullptr
    QByteArray request;
    QByteArray expected; // empty: no answer at all
};

} // namespace

TEST(SimProtocol, AnswersEachCommandAsThePcExpects)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1,16,170")}, dir.path());
    PtyClient pc(sim.ptyPath());
    ASSERT_TRUE(pc.isOpen());

    // One line, run in order: later steps see what earlier ones stored.
    const Step steps[] = {
        {"erase, the frame link's own example", nullptr,
         hex("10 02 AA 81 51 7A 10 03"), hex("10 02 81 AA 06 2D 10 03")},
        {"times 16/5, the DLE-doubling example", nullptr,
         hex("10 02 AA 81 1A 10 10 05 24 10 03"), hex("10 02 81 AA 06 2D 10 03")},
        {"test shows the times as decimal digits, version 21, no cards", nullptr,
         request(170, 27), reply(170, hex("2C 02 16 05 15 00 00"))},
        {"times out of range are refused", nullptr, request(170, 26, hex("00 05")), reply(170, Nak)},
        {"add card 12345", nullptr, request(170, 97, hex("00 00 01 23 45")), reply(170, Ack)},
        {"adding it again stores no duplicate", nullptr, request(170, 97, hex("00 00 01 23 45")), reply(170, Ack)},
        {"load with the end-of-block mark", nullptr, request(170, 34, hex("01 00 00 00 00 77")), reply(170, Ack)},
        {"read position 1", nullptr, request(170, 113, hex("00 01")), reply(170, hex("2F 00 00 01 23 45"))},
        {"read position 2", nullptr, request(170, 113, hex("00 02")), reply(170, hex("2F 00 00 00 00 77"))},
        {"an empty position is refused", nullptr, request(170, 113, hex("00 03")), reply(170, Nak)},
        {"test counts two cards", nullptr, request(170, 27), reply(170, hex("2C 02 16 05 15 00 02"))},
        {"delete the first card", nullptr, request(170, 65, hex("00 00 01 23 45")), reply(170, Ack)},
        {"positions close up after a delete", nullptr, request(170, 113, hex("00 01")), reply(170, hex("2F 00 00 00 00 77"))},
        {"a full memory refuses a new card", "set 170 capacity 1", request(170, 97, hex("00 00 00 00 88")), reply(170, Nak)},
        {"an unknown command is refused", nullptr, request(170, 99), reply(170, Nak)},
        {"address 16 answers with its address doubled", nullptr, request(16, 81), hex("10 02 81 10 10 06 97 10 03")},
        {"controller 1 keeps its own memory", nullptr, request(1, 27), reply(1, hex("2C 02 05 20 15 00 00"))},
        {"a broadcast is answered by 170", nullptr, request(0x80, 27), reply(170, hex("2C 02 16 05 15 00 01"))},
        {"nobody answers an absent address", nullptr, request(2, 27), {}},
        {"a state code set by hand is reported", "set 1 state 7", request(1, 27), reply(1, hex("2C 07 05 20 15 00 00"))},
        {"a version set by hand is reported", "set 1 version 30", request(1, 27), reply(1, hex("2C 07 05 20 1E 00 00"))},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.what);
        if (s.control)
            sim.command(QString::fromLatin1(s.control));
        pc.write(s.request);
        const QByteArray got = s.expected.isEmpty() ? pc.readFor(300) : pc.readReply();
        EXPECT_EQ(got.toHex(' '), s.expected.toHex(' '));
    }
}

TEST(SimProtocol, BroadcastWithout170IsAnsweredByTheLowestAddress)
{
    QTemporaryDir dir;
    SimProcess sim(2, {QStringLiteral("--controllers"), QStringLiteral("9,3")}, dir.path());
    PtyClient pc(sim.ptyPath());
    // Every controller carries a broadcast out, though only one answers.
    EXPECT_EQ(pc.transact(request(0x80, 97, hex("00 00 00 00 42"))), reply(3, Ack));
    EXPECT_EQ(sim.command(QStringLiteral("dump 9")), QStringList{QStringLiteral("0000000042")});
}

TEST(SimProtocol, MasterChangeAnswersAfterItsDelay)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1")}, dir.path());
    sim.command(QStringLiteral("set 1 master-delay 400"));
    PtyClient pc(sim.ptyPath());
    pc.write(request(1, 29));
    qint64 firstByteMs = -1;
    EXPECT_EQ(pc.readReply(2000, &firstByteMs), reply(1, hex("2D 01")));
    EXPECT_GE(firstByteMs, 350);

    // Asked again while it waits for the card, it still answers once.
    pc.write(request(1, 29));
    pc.readFor(100);
    pc.write(request(1, 29));
    EXPECT_EQ(pc.readFor(800), reply(1, hex("2D 01")));
}

TEST(SimProtocol, KeepsItsFootingOnANoisyLine)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1")}, dir.path());
    PtyClient pc(sim.ptyPath());
    QByteArray badSum = request(1, 27);
    badSum[badSum.size() - 3] = char(badSum.at(badSum.size() - 3) ^ 0x01);

    struct Case {
        const char *what;
        QByteArray bytes;
    } const cases[] = {
        {"noise, the PC's own ACKs and a stray DLE", hex("55 06 06 10 41 FF")},
        {"a frame with a bad checksum", badSum},
        {"a frame broken off by a new start", hex("10 02 01 81")},
        {"a DLE followed by nothing valid", hex("10 02 01 81 1B 10 07")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        // Nothing answers the damage, and a request right behind it is answered.
        EXPECT_TRUE(pc.transact(c.bytes, 200).isEmpty());
        EXPECT_EQ(pc.transact(request(1, 81)), reply(1, Ack));
        EXPECT_EQ(pc.transact(c.bytes + request(1, 81)), reply(1, Ack));
    }

    // A request fed one byte at a time is still one request.
    for (char b : request(1, 81)) {
        pc.write(QByteArray(1, b));
        QThread::msleep(5);
    }
    EXPECT_EQ(pc.readReply(), reply(1, Ack));

    const QString stats = sim.command(QStringLiteral("stats")).value(0);
    EXPECT_TRUE(stats.contains(QLatin1String("bad_frames="))) << qPrintable(stats);
    EXPECT_FALSE(stats.contains(QLatin1String("bad_frames=0 "))) << qPrintable(stats);
}

TEST(SimProtocol, PacingTakesTheWireTimeOfEveryByte)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("170"), QStringLiteral("--pace")}, dir.path());
    PtyClient pc(sim.ptyPath());
    // Eight bytes out and eight back at 12 bits each on 9600 baud: 20 ms at least.
    // (How the reply's bytes spread is not checked: a late timer releases the
    // bytes that are due together, which keeps the average rate right.)
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(pc.transact(hex("10 02 AA 81 51 7A 10 03")), hex("10 02 81 AA 06 2D 10 03"));
    EXPECT_GE(clock.elapsed(), 20);

    sim.command(QStringLiteral("pace off"));
    EXPECT_EQ(pc.transact(hex("10 02 AA 81 51 7A 10 03")), hex("10 02 81 AA 06 2D 10 03"));
}
