#include "tst_eco.h"

#include "platform/icmp.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using kv::Eco_Icmp;
Q_DECLARE_METATYPE(Eco_Icmp::Via)

void TestEcoIcmp::responde_data()
{
    QTest::addColumn<Eco_Icmp::Via>("via");
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("eco");
    const std::pair<const char *, Eco_Icmp::Via> vias[] = {
        {"auto", Eco_Icmp::Via::Automatica},
        {"dgram", Eco_Icmp::Via::Socket_Datagrama},
        {"raw", Eco_Icmp::Via::Socket_Crudo},
        {"ping", Eco_Icmp::Via::Programa_Ping},
    };
    for (const auto &[nombre, via] : vias) {
        QTest::addRow("%s loopback", nombre) << via << QStringLiteral("127.0.0.1") << true;
        QTest::addRow("%s test-net", nombre) << via << QStringLiteral("192.0.2.77") << false;
    }
}

void TestEcoIcmp::responde()
{
    QFETCH(Eco_Icmp::Via, via);
    QFETCH(QString, host);
    QFETCH(bool, eco);
    if (!Eco_Icmp::Disponible(via))
        QSKIP("this way is not open to this process here");
    Eco_Icmp e;
    e.setVia(via);
    QSignalSpy respuestas(&e, &Eco_Icmp::Respuesta);
    QElapsedTimer t;
    t.start();
    e.Envia(host, 1000);
    // Sent without waiting: nothing arrives before the event loop runs.
    QVERIFY(t.elapsed() < 300);
    QCOMPARE(respuestas.count(), 0);
    QVERIFY(respuestas.wait(3000));
    QCOMPARE(respuestas.count(), 1);
    const auto r = respuestas.at(0).at(0).value<Eco_Icmp::Resultado>();
    QCOMPARE(respuestas.at(0).at(1).toString(), host);
    QCOMPARE(r == Eco_Icmp::Resultado::Eco_Recibido, eco);
    // No answer is given past the deadline, whichever way was taken.
    QVERIFY2(t.elapsed() < 1800, qPrintable(QString::number(t.elapsed())));
    QVERIFY(!e.Pendiente());
    QTest::qWait(100);
    QCOMPARE(respuestas.count(), 1);
}

void TestEcoIcmp::no_ipv4_es_error()
{
    for (const QString &host : {QStringLiteral("192.168.100.2000"), QStringLiteral("256.1.1.1"), QStringLiteral("1.2.3"),
                               QStringLiteral("camera.local"), QString(), QStringLiteral("1..2.3")}) {
        Eco_Icmp e;
        QSignalSpy respuestas(&e, &Eco_Icmp::Respuesta);
        e.Envia(host, 1000);
        QCOMPARE(respuestas.count(), 0);
        QVERIFY(respuestas.wait(500));
        QCOMPARE(respuestas.at(0).at(0).value<Eco_Icmp::Resultado>(), Eco_Icmp::Resultado::Error);
    }
    QVERIFY(Eco_Icmp::Es_IPv4(QStringLiteral("192.168.100.200")));
}

void TestEcoIcmp::cancelada_no_responde()
{
    Eco_Icmp e;
    QSignalSpy respuestas(&e, &Eco_Icmp::Respuesta);
    e.Envia(QStringLiteral("127.0.0.1"), 500);
    e.Cancela();
    QVERIFY(!respuestas.wait(800));
}
