// The serial channel on a real pseudo-terminal: naming, exclusive open,
// reads that never wait, and what closing throws away.
#include "link/ecomport.h"
#include "link/nombrepuerto.h"
#include "link/tcomport.h"
#include "link/tdorno.h"
#include "platform/paths.h"
#include "ptypeer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kv::Paths::setPortsDir(m_dir.path());
    }
    void TearDown() override { kv::Paths::reset(); }
    QString link(int n) const { return m_dir.path() + QStringLiteral("/COM%1").arg(n); }

    QTemporaryDir m_dir;
};

// The message of the general open error, checked to be no EComPort.
QString OpenError(TCustomComPort &port)
{
    try {
        port.Open();
    } catch (const EComPort &e) {
        return QStringLiteral("EComPort: ") + QString::fromUtf8(e.what());
    } catch (const std::runtime_error &e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("opened");
}

TEST_F(ComPortTest, NameResolvesToLinkElseBuiltInPort)
{
    EXPECT_EQ(Ruta_Puerto(QStringLiteral("COM3")), QStringLiteral("/dev/ttyS2"));
    EXPECT_EQ(Ruta_Puerto(QStringLiteral("COM12")), QStringLiteral("/dev/ttyS11"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link(3)));
    EXPECT_EQ(Ruta_Puerto(QStringLiteral("COM3")), link(3));
    // A link whose device is gone still names the port: no fallback to a UART.
    ASSERT_TRUE(QFile::link(m_dir.path() + QStringLiteral("/gone"), link(4)));
    EXPECT_EQ(Ruta_Puerto(QStringLiteral("COM4")), link(4));
    EXPECT_EQ(Ruta_Puerto(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
}

TEST_F(ComPortTest, MissingPortRaisesTheGeneralError)
{
    ASSERT_TRUE(QFile::link(m_dir.path() + QStringLiteral("/gone"), link(7)));
    TComPort port;
    port.SetPort(QStringLiteral("COM7"));
    EXPECT_EQ(OpenError(port), QStringLiteral("Error en el puerto COM7"));
    EXPECT_FALSE(port.Connected());
}

TEST_F(ComPortTest, OpenIsExclusive)
{
    PtyPeer peer(link(5));
    ASSERT_TRUE(peer.isValid());
    TComPort a, b;
    a.SetPort(QStringLiteral("COM5"));
    b.SetPort(QStringLiteral("COM5"));
    a.Open();
    EXPECT_TRUE(a.Connected());
    EXPECT_EQ(OpenError(b), QStringLiteral("Error en el puerto COM5"));
    a.Open(); // a second open of an open port changes nothing
    a.Close();
    EXPECT_EQ(OpenError(b), QStringLiteral("opened"));
}

TEST_F(ComPortTest, ReadReturnsWhatIsQueuedWithoutWaiting)
{
    PtyPeer peer(link(2));
    ASSERT_TRUE(peer.isValid());
    TComPort port;
    int avisos = 0;
    port.OnRxChar = [&](QObject *sender, int count) {
        EXPECT_EQ(sender, &port);
        EXPECT_GT(count, 0);
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        ++avisos;
    };
    port.SetPort(QStringLiteral("COM2"));
    port.Open();
    peer.send("abc");
    ASSERT_TRUE(PtyPeer::waitFor([&] { return port.InputCount() == 3; }, 2000));
    EXPECT_GE(avisos, 1);
    char buf[16];
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(port.Read(buf, sizeof buf), 3);
    EXPECT_EQ(port.Read(buf, sizeof buf), 0);
    EXPECT_LT(t.elapsed(), 500) << "a read waited for bytes that were not there";
    EXPECT_EQ(QByteArray(buf, 3), QByteArray("abc"));
}

TEST_F(ComPortTest, SameNameKeepsThePortAnotherNameReopens)
{
    PtyPeer peer(link(2));
    PtyPeer other(link(3));
    ASSERT_TRUE(peer.isValid() && other.isValid());
    TComPort port;
    port.SetPort(QStringLiteral("COM2"));
    port.Open();
    peer.send("xyz");
    ASSERT_TRUE(PtyPeer::waitFor([&] { return port.InputCount() == 3; }, 2000));
    port.SetPort(QStringLiteral("COM2"));
    EXPECT_EQ(port.InputCount(), 3) << "setting the same name reopened the port";
    port.SetPort(QStringLiteral("COM3"));
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(port.InputCount(), 0);
    const char hola[] = "hi";
    port.Write(hola, 2);
    EXPECT_TRUE(PtyPeer::waitFor([&] { return other.received() == "hi"; }, 2000));
}

TEST_F(ComPortTest, CloseDiscardsQueuedInput)
{
    PtyPeer peer(link(2));
    ASSERT_TRUE(peer.isValid());
    TComPort port;
    port.SetPort(QStringLiteral("COM2"));
    port.Open();
    peer.send("queued");
    ASSERT_TRUE(PtyPeer::waitFor([&] { return port.InputCount() > 0; }, 2000));
    port.Close();
    EXPECT_EQ(port.InputCount(), 0);
    port.Open();
    PtyPeer::waitFor([] { return false; }, 100);
    EXPECT_EQ(port.InputCount(), 0);
}

TEST_F(ComPortTest, FarEndVanishingClosesThePort)
{
    auto peer = std::make_unique<PtyPeer>(link(2));
    ASSERT_TRUE(peer->isValid());
    TDORNO port;
    QString error;
    port.OnLineaPerdida = [&](QObject *, const QString &e) { error = e; };
    port.SetPort(QStringLiteral("COM2"));
    port.Open();
    peer->vanish();
    EXPECT_TRUE(PtyPeer::waitFor([&] { return !port.Connected(); }, 3000));
    EXPECT_TRUE(error.startsWith(QStringLiteral("COM2: "))) << error.toStdString();
    const char x = 0;
    EXPECT_THROW(port.Write(&x, 1), EComPort);
}

TEST_F(ComPortTest, LinkSettingsAreEvenParityTwoStopBits)
{
    TDORNO link;
    EXPECT_EQ(link.Parity(), QSerialPort::EvenParity);
    EXPECT_EQ(link.StopBits(), QSerialPort::TwoStop);
    EXPECT_EQ(TCustomComPort::BaudRate, 9600);
    TComPort plain;
    EXPECT_EQ(plain.Port(), QStringLiteral("COM1"));
    EXPECT_FALSE(plain.Connected());
}

} // namespace
