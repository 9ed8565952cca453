// Each fault a controller can be given changes its reply in the one way it
// names, leaves the other controllers alone, and goes away with "fault none".
#include "ptyclient.h"
#include "simprocess.h"
#include "wireframe.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using kv::test::SimProcess;
using wireframe::hex;
using wireframe::reply;
using wireframe::request;

namespace {

const QByteArray TestRequest = request(1, 27);
const QByteArray TestReply = reply(1, hex("2C 02 05 20 15 00 00"));

// XOR over everything between DLE STX and DLE ETX, doubled DLEs counted once.
int frameXor(const QByteArray &frame)
{
    if (!frame.startsWith("\x10\x02") || !frame.endsWith("\x10\x03"))
        return -1;
    const QByteArray body = frame.mid(2, frame.size() - 4).replace("\x10\x10", "\x10");
    int sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    return sum;
}

} // namespace

TEST(SimFault, EachFaultShowsOnTheLine)
{
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1,2")}, dir.path());
    PtyClient pc(sim.ptyPath());

    enum Check { Exactly, BadChecksum };
    struct Case {
        const char *fault;
        Check check;
        QByteArray expected;
        qint64 minDelayMs;
    } const cases[] = {
        {"none", Exactly, TestReply, 0},
        {"silence", Exactly, {}, 0},
        {"refuse", Exactly, reply(1, hex("15")), 0},
        {"badsum", BadChecksum, {}, 0},
        {"echo", Exactly, TestRequest + TestReply, 0},
        {"ack", Exactly, hex("06"), 0},
        {"slow 400", Exactly, TestReply, 350},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fault);
        sim.command(QStringLiteral("fault 1 ") + QLatin1String(c.fault));
        pc.write(TestRequest);
        qint64 first = -1;
        const QByteArray got = c.minDelayMs ? pc.readReply(2000, &first) : pc.readFor(300);
        if (c.check == Exactly) {
            EXPECT_EQ(got.toHex(' '), c.expected.toHex(' '));
        } else {
            // Same frame, wrong checksum, and never 0x10: the PC takes a doubled-DLE checksum untested.
            EXPECT_EQ(got.size(), TestReply.size()) << got.toHex(' ').constData();
            EXPECT_NE(frameXor(got), 0);
            EXPECT_NE(got.at(got.size() - 3), '\x10');
            EXPECT_EQ(got.left(got.size() - 3), TestReply.left(TestReply.size() - 3));
        }
        if (c.minDelayMs) {
            EXPECT_GE(first, c.minDelayMs);
        }
        // The neighbour on the same line is unaffected.
        EXPECT_EQ(pc.transact(request(2, 81)), reply(2, hex("06")));
        EXPECT_TRUE(sim.command(QStringLiteral("list")).value(0).endsWith(
            QStringLiteral("fault=") + QString::fromLatin1(c.fault).replace(QLatin1Char(' '), QLatin1Char(':'))));
    }
    sim.command(QStringLiteral("fault 1 none"));
    EXPECT_EQ(pc.transact(TestRequest), TestReply);
}

TEST(SimFault, SilentControllerStillCarriesOutTheCommand)
{
    // A reply lost on the wire does not undo the work: the PC retries, and the
    // controller must take the repeated card without storing it twice.
    QTemporaryDir dir;
    SimProcess sim(1, {QStringLiteral("--controllers"), QStringLiteral("1")}, dir.path());
    PtyClient pc(sim.ptyPath());
    sim.command(QStringLiteral("fault 1 silence"));
    pc.write(request(1, 97, hex("00 00 00 12 34")));
    pc.write(request(1, 97, hex("00 00 00 12 34")));
    EXPECT_TRUE(pc.readFor(300).isEmpty());
    EXPECT_EQ(sim.command(QStringLiteral("dump 1")), QStringList{QStringLiteral("0000001234")});
}
