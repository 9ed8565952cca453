#include "tst_envio.h"

#include "banco.h"

#include "app/pagina_tarjetas.h"
#include "app/tf_main.h"
#include "app/tf_send_card.h"
#include "app/ventanas_envio.h"
#include "ui/imagenes.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>

using kv::ui::Operador;

namespace {

QStringList Tarjetas(std::initializer_list<int> numeros)
{
    QStringList r;
    for (int n : numeros)
        r << tarjeta(n);
    return r;
}

QStringList Ordenada(QStringList l)
{
    std::sort(l.begin(), l.end());
    return l;
}

} // namespace

void TestEnvio::conUnLectorMudo()
{
    // Garaje holds 555 and should hold 111 too.
    Banco b({"INSERT INTO zarvtarjeta VALUES ('0000000555', 'N', '2024-01-02 03:04:05', NULL, 1, 'N')",
             "INSERT INTO zarvcontroladortarjeta VALUES ('0000000555', 3, 'S')",
             "INSERT INTO zarvcontroladortarjeta VALUES ('0000000111', 3, 'N')"});
    QVERIFY(b.listo());
    QVERIFY(b.com2->ok("load 170 555"));
    b.arranca();
    QVERIFY(b.com2->ok("fault 170 silence"));
    TF_Main *m = b.m();
    TF_Send_Card *w = Ventanas::F_Send_Card;
    QVERIFY(w);
    Operador::clear();
    Operador::setNextDialogAction([&](QDialog *) { QTest::mouseClick(w->B_Aceptar, Qt::LeftButton); });
    QTest::mouseClick(m->B_Send, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(w->B_Aceptar->isEnabled());

    const struct {
        int controlador;
        QStringList asignaciones;
    } casos[] = {
        {1, {tarjeta(111) + "|S", tarjeta(222) + "|S"}},
        {2, {tarjeta(333) + "|S", tarjeta(444) + "|S"}},
        // Silent all along: nothing it was sent counts as stored.
        {3, {tarjeta(111) + "|N", tarjeta(555) + "|N"}},
    };
    for (const auto &c : casos)
        QCOMPARE(b.asignaciones(c.controlador), c.asignaciones);
    QCOMPARE(Ordenada(b.memoria(*b.com1, 1)), Tarjetas({111, 222}));
    QCOMPARE(Ordenada(b.memoria(*b.com1, 2)), Tarjetas({333, 444}));
    // Its replies were lost, not the commands: it holds the cards all the
    // same, yet unconfirmed they stay pending until a retry or a receive.
    QVERIFY(b.com2->ok("fault 170 none"));
    QCOMPARE(Ordenada(b.memoria(*b.com2, 170)), Tarjetas({111, 555}));

    // The cards list was rebuilt after the window closed.
    QTreeWidget *l = m->Tarjetas()->Lista3;
    QCOMPARE(kv::ui::Icono_De(fila(l, tarjeta(111)), 0), int(kv::ui::Icono_Pendiente));
    QCOMPARE(kv::ui::Icono_De(fila(l, tarjeta(444)), 0), int(kv::ui::Icono_Tarjeta));
    QCOMPARE(kv::wf::Coordinacion::Retenciones(), 0);
}

void TestEnvio::cancelar_data()
{
    QTest::addColumn<bool>("enviando");
    QTest::addColumn<QStringList>("entrada");
    QTest::addColumn<QStringList>("salida");
    QTest::addColumn<QStringList>("memoria_entrada");
    QTest::addColumn<QStringList>("memoria_salida");
    QTest::newRow("instead of Aceptar")
        << false << QStringList{tarjeta(111) + "|S", tarjeta(222) + "|S"}
        << QStringList{tarjeta(333) + "|S", tarjeta(444) + "|N"} << Tarjetas({111, 222}) << Tarjetas({333});
    // Stopped before the first card: the readers were emptied already, and
    // no card claims to be in them.
    QTest::newRow("during the send") << true << QStringList{tarjeta(111) + "|N", tarjeta(222) + "|N"}
                                     << QStringList{tarjeta(333) + "|N", tarjeta(444) + "|N"} << QStringList{}
                                     << QStringList{};
}

void TestEnvio::cancelar()
{
    QFETCH(bool, enviando);
    QFETCH(QStringList, entrada);
    QFETCH(QStringList, salida);
    QFETCH(QStringList, memoria_entrada);
    QFETCH(QStringList, memoria_salida);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Send_Card *w = Ventanas::F_Send_Card;
    bool abierta_al_cancelar = false;
    Operador::clear();
    Operador::setNextDialogAction([&](QDialog *) {
        auto cancela = [&] {
            QTest::mouseClick(w->B_Cancelar, Qt::LeftButton);
            abierta_al_cancelar = w->isVisible();
        };
        if (!enviando) {
            cancela();
            return;
        }
        // Runs at the send's first wait on a line.
        QTimer::singleShot(0, w, cancela);
        QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    });
    QTest::mouseClick(b.m()->B_Send, Qt::LeftButton);
    // During the send Cancelar only stops it; the window closes once it has.
    QCOMPARE(abierta_al_cancelar, enviando);
    QVERIFY(!w->isVisible());
    QCOMPARE(b.asignaciones(1), entrada);
    QCOMPARE(b.asignaciones(2), salida);
    QCOMPARE(Ordenada(b.memoria(*b.com1, 1)), memoria_entrada);
    QCOMPARE(Ordenada(b.memoria(*b.com1, 2)), memoria_salida);
    QCOMPARE(kv::wf::Coordinacion::Retenciones(), 0);
}
