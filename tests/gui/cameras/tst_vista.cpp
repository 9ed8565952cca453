#include "tst_vista.h"

#include "servidor_mjpeg.h"

#include "cameras/analizador_mjpeg.h"
#include "cameras/vista_mjpeg.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(Servidor_Mjpeg::Modo)
Q_DECLARE_METATYPE(Vista_Mjpeg::Estado)

namespace {

QByteArray Flujo(const QList<QByteArray> &partes, bool con_longitud, const QByteArray &fin = "--b--\r\n")
{
    QByteArray f = "preamble\r\n";
    for (const QByteArray &p : partes) {
        f += "--b\r\nContent-Type: image/jpeg\r\n";
        if (con_longitud)
            f += "Content-Length: " + QByteArray::number(p.size()) + "\r\n";
        f += "\r\n" + p + "\r\n";
    }
    return f + fin;
}

QList<QByteArray> Trocea(const QByteArray &flujo, int modo)
{
    Analizador_Mjpeg a("b");
    QList<QByteArray> cuadros;
    if (modo == 0) {
        a.Alimenta(flujo, cuadros);
    } else if (modo == 1) {
        for (char c : flujo)
            a.Alimenta(QByteArrayView(&c, 1), cuadros);
    } else {
        QRandomGenerator azar(modo);
        for (qsizetype i = 0; i < flujo.size();) {
            const qsizetype n = azar.bounded(1, 40);
            a.Alimenta(QByteArrayView(flujo.constData() + i, qMin(n, flujo.size() - i)), cuadros);
            i += n;
        }
    }
    return a.Terminado() ? cuadros : QList<QByteArray>{"not ended"};
}

// Runs the event loop until cond holds or ms pass.
bool Hasta(const std::function<bool()> &cond, int ms)
{
    return QTest::qWaitFor(cond, ms);
}

} // namespace

void TestVistaMjpeg::analizador_troceado_data()
{
    QTest::addColumn<bool>("con_longitud");
    QTest::addColumn<int>("modo");
    for (bool l : {true, false})
        for (int m : {0, 1, 7, 8, 9})
            QTest::addRow("%s split %d", l ? "length" : "bare", m) << l << m;
}

void TestVistaMjpeg::analizador_troceado()
{
    QFETCH(bool, con_longitud);
    QFETCH(int, modo);
    // Bodies that contain line ends and dashes, the way JPEG bytes can.
    const QList<QByteArray> partes = {"\xff\xd8one\r\n--x\xff\xd9", "two", QByteArray(3000, '\0'), "\r\n-\r\n"};
    QCOMPARE(Trocea(Flujo(partes, con_longitud), modo), partes);
}

void TestVistaMjpeg::analizador_limitado()
{
    // A part that never ends is dropped at the limit, and what follows its
    // next boundary still comes through.
    Analizador_Mjpeg a("b", 4096);
    QList<QByteArray> cuadros;
    a.Alimenta("--b\r\n\r\n", cuadros);
    for (int i = 0; i < 1000; ++i) {
        a.Alimenta(QByteArray(1000, 'x'), cuadros);
        QVERIFY(a.Retenidos() <= 4096 + 1000);
    }
    QCOMPARE(a.Toma_Fallo(), Analizador_Mjpeg::Fallo::Cuadro_Demasiado_Grande);
    a.Alimenta("\r\n--b\r\nContent-Length: 2\r\n\r\nok\r\n--b\r\nContent-Length: 99999999999\r\n\r\nzz", cuadros);
    QCOMPARE(cuadros, QList<QByteArray>{"ok"});
    QCOMPARE(a.Toma_Fallo(), Analizador_Mjpeg::Fallo::Cuadro_Demasiado_Grande);
    // Endless headers too.
    Analizador_Mjpeg b("b");
    b.Alimenta("--b\r\n", cuadros);
    for (int i = 0; i < 100; ++i)
        b.Alimenta(QByteArray(1000, 'h'), cuadros);
    QVERIFY(b.Retenidos() <= Analizador_Mjpeg::Limite_Cabecera + 1000);
    QCOMPARE(b.Toma_Fallo(), Analizador_Mjpeg::Fallo::Cabecera_Demasiado_Grande);
}

void TestVistaMjpeg::limite_de_data()
{
    QTest::addColumn<QByteArray>("tipo");
    QTest::addColumn<QByteArray>("limite");
    QTest::newRow("plain") << QByteArray("multipart/x-mixed-replace; boundary=myboundary") << QByteArray("myboundary");
    QTest::newRow("quoted") << QByteArray("Multipart/X-Mixed-Replace;Boundary=\"--a b\"") << QByteArray("--a b");
    QTest::newRow("other param") << QByteArray("multipart/x-mixed-replace; charset=x; boundary=z") << QByteArray("z");
    QTest::newRow("no boundary") << QByteArray("multipart/x-mixed-replace") << QByteArray();
    QTest::newRow("dashes only") << QByteArray("multipart/x-mixed-replace; boundary=--") << QByteArray();
    QTest::newRow("html") << QByteArray("text/html; boundary=x") << QByteArray();
    QTest::newRow("single jpeg") << QByteArray("image/jpeg") << QByteArray();
}

void TestVistaMjpeg::limite_de()
{
    QFETCH(QByteArray, tipo);
    QFETCH(QByteArray, limite);
    QCOMPARE(Analizador_Mjpeg::Limite_De(tipo), limite);
}

void TestVistaMjpeg::muestra_entre_play_y_stop()
{
    Servidor_Mjpeg camara;
    QVERIFY(camara.Escucha());
    camara.setCuadros(Servidor_Mjpeg::Cuadros_De_Prueba(5, 160, 120));
    camara.setPeriodo(20);
    Vista_Mjpeg v(QStringLiteral("ORVIK1"));
    v.resize(320, 240);
    v.show();
    v.setMediaURL(camara.Url());
    QCOMPARE(camara.Conexiones(), 0); // nothing before Play
    v.Play();
    QVERIFY(Hasta([&] { return v.Cuadros_Mostrados() >= 20; }, 5000));
    QCOMPARE(v.estado(), Vista_Mjpeg::Estado::Reproduciendo);
    // Once the camera pauses, the view shows the last picture it sent.
    camara.Pausa();
    QVERIFY(Hasta([&] { return v.Ultimo_Jpeg() == camara.Ultimo(); }, 2000));
    const QImage visto = v.Ultimo_Cuadro();
    const QImage enviado = QImage::fromData(v.Ultimo_Jpeg(), "JPEG");
    QCOMPARE(visto.size(), QSize(160, 120));
    QCOMPARE(visto.convertToFormat(QImage::Format_RGB32), enviado.convertToFormat(QImage::Format_RGB32));
    // and paints it: away from the digit, the view has the picture's colour.
    const QColor pintado = v.grab().toImage().pixelColor(v.width() / 2 + 60, v.height() / 2 + 40);
    const QColor esperado = enviado.pixelColor(enviado.width() / 2 + 30, enviado.height() / 2 + 20);
    QVERIFY(qAbs(pintado.hue() - esperado.hue()) <= 8);

    const int antes = v.Cuadros_Mostrados();
    v.Stop();
    QCOMPARE(v.estado(), Vista_Mjpeg::Estado::Parada);
    QVERIFY(v.Ultimo_Cuadro().isNull());
    QVERIFY(Hasta([&] { return camara.Abiertas() == 0; }, 2000));
    QTest::qWait(100);
    QCOMPARE(v.Cuadros_Mostrados(), antes);
}

void TestVistaMjpeg::reconecta_tras_corte()
{
    Servidor_Mjpeg camara;
    QVERIFY(camara.Escucha());
    camara.setCuadros(Servidor_Mjpeg::Cuadros_De_Prueba(3, 64, 48));
    camara.setPeriodo(20);
    camara.setCorte(5);
    Vista_Mjpeg v(QStringLiteral("ORVIK1"));
    v.setEspera_Reconexion(200);
    v.show();
    v.setMediaURL(camara.Url());
    QSignalSpy estados(&v, &Vista_Mjpeg::Estado_Cambiado);
    v.Play();
    QVERIFY(Hasta([&] { return camara.Conexiones() >= 3; }, 5000));
    // Between the connections the view said so, and dropped the old picture.
    QVERIFY(estados.contains(QVariantList{QVariant::fromValue(Vista_Mjpeg::Estado::Sin_Senal)}));
    QVERIFY(v.Cuadros_Mostrados() >= 5);
    camara.setCorte(0);
    QVERIFY(Hasta([&] { return v.estado() == Vista_Mjpeg::Estado::Reproduciendo; }, 3000));

    // A camera that stops sending without closing is not left as a still picture.
    v.setEspera_Cuadro(300);
    camara.Pausa();
    QVERIFY(Hasta([&] { return v.estado() == Vista_Mjpeg::Estado::Sin_Senal; }, 2000));
    QVERIFY(v.Ultimo_Cuadro().isNull());
    QCOMPARE(v.Texto_Estado(), QStringLiteral("no signal"));
}

void TestVistaMjpeg::entrada_mala_data()
{
    QTest::addColumn<Servidor_Mjpeg::Modo>("modo");
    QTest::addColumn<QString>("url"); // empty: the loopback camera
    QTest::addColumn<Vista_Mjpeg::Estado>("estado");
    QTest::addColumn<QString>("texto");
    QTest::newRow("http error") << Servidor_Mjpeg::Modo::Http_404 << QString() << Vista_Mjpeg::Estado::Error_Http
                                << QStringLiteral("HTTP error 404");
    QTest::newRow("not mjpeg") << Servidor_Mjpeg::Modo::No_Mjpeg << QString() << Vista_Mjpeg::Estado::No_Mjpeg
                               << QStringLiteral("not an MJPEG stream");
    QTest::newRow("not jpeg") << Servidor_Mjpeg::Modo::Cuadro_No_Jpeg << QString()
                              << Vista_Mjpeg::Estado::Cuadro_No_Jpeg << QStringLiteral("not a JPEG picture");
    QTest::newRow("endless frame") << Servidor_Mjpeg::Modo::Cuadro_Sin_Fin << QString()
                                   << Vista_Mjpeg::Estado::Cuadro_Grande << QStringLiteral("picture too large");
    QTest::newRow("not an address") << Servidor_Mjpeg::Modo::Normal << QStringLiteral("http:///orvik-cgi")
                                    << Vista_Mjpeg::Estado::Error_Http << QStringLiteral("invalid address");
    QTest::newRow("nobody there") << Servidor_Mjpeg::Modo::Normal << QStringLiteral("http://127.0.0.1:1/x")
                                  << Vista_Mjpeg::Estado::Sin_Senal << QStringLiteral("no signal");
}

void TestVistaMjpeg::entrada_mala()
{
    QFETCH(Servidor_Mjpeg::Modo, modo);
    QFETCH(QString, url);
    QFETCH(Vista_Mjpeg::Estado, estado);
    QFETCH(QString, texto);
    Servidor_Mjpeg camara;
    QVERIFY(camara.Escucha());
    camara.setModo(modo);
    camara.setPeriodo(5);
    Vista_Mjpeg v(QStringLiteral("ORVIK1"));
    v.show();
    v.setMediaURL(url.isEmpty() ? camara.Url() : url);
    v.Play();
    QVERIFY(Hasta([&] { return v.estado() == estado; }, 5000));
    QCOMPARE(v.Texto_Estado(), texto);
    QVERIFY(v.Ultimo_Cuadro().isNull());
    QCOMPARE(v.Cuadros_Mostrados(), 0);
    // The view paints its state; nothing crashes while the camera goes on.
    QTest::qWait(300);
    QVERIFY(!v.grab().isNull());
    v.Stop();
}

void TestVistaMjpeg::oculta_no_transmite()
{
    Servidor_Mjpeg camara;
    QVERIFY(camara.Escucha());
    camara.setCuadros(Servidor_Mjpeg::Cuadros_De_Prueba(2, 64, 48));
    QWidget panel;
    auto *v = new Vista_Mjpeg(QStringLiteral("ORVIK5"), &panel);
    v->setMediaURL(camara.Url());
    v->Play(); // the panel is not shown yet
    QTest::qWait(200);
    QCOMPARE(camara.Conexiones(), 0);
    panel.show();
    QVERIFY(Hasta([&] { return v->Cuadros_Mostrados() > 0; }, 3000));
    panel.hide();
    QVERIFY(Hasta([&] { return camara.Abiertas() == 0; }, 2000));
    QVERIFY(!v->Conectada());
    QVERIFY(v->Activa());
    panel.show();
    QVERIFY(Hasta([&] { return v->estado() == Vista_Mjpeg::Estado::Reproduciendo; }, 3000));
    QCOMPARE(camara.Conexiones(), 2);
}
