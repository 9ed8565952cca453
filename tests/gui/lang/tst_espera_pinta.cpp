#include "tst_espera_pinta.h"

#include "model/uzarv.h"

#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {

class Contador : public QWidget {
public:
    int pintadas = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++pintadas;
        QPainter(this).fillRect(rect(), Qt::white);
    }
};

} // namespace

void TestEsperaPinta::windowsRepaintWhileWaiting()
{
    Contador w;
    w.resize(100, 60);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(50);

    // Something on screen keeps changing (a progress animation, say).
    QTimer animacion;
    QObject::connect(&animacion, &QTimer::timeout, &w, qOverload<>(&QWidget::update));
    animacion.start(30);

    const int antes = w.pintadas;
    QCOMPARE(uzarv::Ejecuta_y_Espera(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 0.5")}), 0);
    QVERIFY2(w.pintadas - antes >= 3, qPrintable(QString::number(w.pintadas - antes)));
}
