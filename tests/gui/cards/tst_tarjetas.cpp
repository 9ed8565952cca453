#include "tst_tarjetas.h"

#include "banco.h"

#include "app/dialogo_buscar.h"
#include "app/pagina_tarjetas.h"
#include "app/tf_editar_card.h"
#include "app/tf_main.h"
#include "app/tf_new_card.h"
#include "app/ventanas_tarjetas.h"
#include "model/variables.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

TF_New_Card *Abre(Banco &b)
{
    TF_Main *m = b.m();
    m->Muestra(*m->Tarjetas());
    QTest::mouseClick(m->Tarjetas()->B_New_Card, Qt::LeftButton);
    TF_New_Card *w = Ventanas::F_New_Card;
    return w->isVisible() ? w : nullptr;
}

void Selecciona(QTreeWidget *l, const QStringList &codigos)
{
    l->clearSelection();
    for (const QString &c : codigos)
        fila(l, c)->setSelected(true);
}

} // namespace

void TestPaginaTarjetas::registra()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_New_Card *w = Abre(b);
    QVERIFY(w);
    QTest::keyClicks(w->E_Tarjeta, "77");
    QTest::keyClick(w->E_Tarjeta, Qt::Key_Return);
    QVERIFY(w->E_Tarjeta->text().isEmpty());
    QCOMPARE(b.filas("select usuario, usar_fecha_cad from zarvtarjeta where codigo_tarjeta='0000000077'"),
             QStringList{"-1|N"});
    QVERIFY(b.filas("select * from zarvcontroladortarjeta where tarjeta='0000000077'").isEmpty());
    // Again: nothing stored, the padded code stays.
    QTest::keyClicks(w->E_Tarjeta, "77");
    QTest::keyClick(w->E_Tarjeta, Qt::Key_Return);
    QCOMPARE(w->E_Tarjeta->text(), QStringLiteral("0000000077"));
    QCOMPARE(b.filas("select count(*) from zarvtarjeta where codigo_tarjeta='0000000077'"), QStringList{"1"});
    // Letters and an eleventh digit cannot be typed.
    w->E_Tarjeta->clear();
    QTest::keyClicks(w->E_Tarjeta, "1a23456789012");
    QCOMPARE(w->E_Tarjeta->text(), QStringLiteral("1234567890"));
    QVERIFY(mensajes().isEmpty());
    w->close();
    QCOMPARE(kv::wf::Coordinacion::Retenciones(), 0);
}

void TestPaginaTarjetas::lectorDeLectura()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    // No reading reader in use: reader 0 or any other is left alone.
    TF_New_Card *w = Abre(b);
    QVERIFY(w);
    QVERIFY(!b.com2->lineHeld());
    w->close();

    Variables::USA_LECTOR = "3";
    Variables::Lector_Activo = true;
    Variables::Lector_Codigo = 3;
    w = Abre(b);
    QVERIFY(w);
    QVERIFY(b.com2->ok("card 170 8812345678"));
    QTRY_COMPARE_WITH_TIMEOUT(w->E_Tarjeta->text(), QStringLiteral("8812345678"), 5000);
    QTest::keyClick(w->E_Tarjeta, Qt::Key_Return);
    QCOMPARE(b.filas("select count(*) from zarvtarjeta where codigo_tarjeta='8812345678'"), QStringList{"1"});
    QCOMPARE(b.filas("select count(*) from zarvincidencia"), QStringList{"0"});
    w->close();
    QTRY_VERIFY_WITH_TIMEOUT(!b.com2->lineHeld(), 3000);
    Variables::USA_LECTOR.clear();
    Variables::Lector_Activo = false;
}

void TestPaginaTarjetas::borraConUnLectorMudo()
{
    Banco b({"INSERT INTO zarvtarjeta VALUES ('0000000555', 'N', '2024-01-02 03:04:05', NULL, -1, 'N')",
             "INSERT INTO zarvcontroladortarjeta VALUES ('0000000555', 1, 'S')",
             "INSERT INTO zarvcontroladortarjeta VALUES ('0000000555', 3, 'S')"});
    QVERIFY(b.listo());
    QVERIFY(b.com1->ok("load 1 111 222 555"));
    QVERIFY(b.com2->ok("load 170 555"));
    b.arranca();
    QVERIFY(b.com2->ok("fault 170 silence"));
    TF_Main *m = b.m();
    m->Muestra(*m->Tarjetas());
    Selecciona(m->Tarjetas()->Lista3, {"0000000555"});
    kv::ui::Operador::clear();
    kv::ui::Operador::setNextAnswer(1); // delete 1 card?
    kv::ui::Operador::setNextAnswer(0); // a reader kept it: Cancelar
    QTest::mouseClick(m->Tarjetas()->B_Delete_Cards, Qt::LeftButton);
    int preguntas = 0;
    for (const auto &h : kv::ui::Operador::history())
        preguntas += h.titulo == "F_Pregunta_Elimina";
    QCOMPARE(preguntas, 1);
    // The card stays with the one assignment the silent reader kept.
    QCOMPARE(b.asignaciones(3), QStringList{"0000000555|S"});
    QVERIFY(b.asignaciones(1).filter("0000000555").isEmpty());
    QVERIFY(!b.memoria(*b.com1, 1).contains("0000000555"));
    QVERIFY(b.com2->ok("fault 170 none"));
    QVERIFY(b.memoria(*b.com2, 170).contains("0000000555"));
    QVERIFY(fila(m->Tarjetas()->Lista3, "0000000555"));
}

void TestPaginaTarjetas::caducidad()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    m->Muestra(*m->Tarjetas());
    Selecciona(m->Tarjetas()->Lista3, {tarjeta(111)});
    m->Tarjetas()->Lista3->setCurrentItem(fila(m->Tarjetas()->Lista3, tarjeta(111)));
    m->Tarjetas()->B_Edit_CardClick();
    TF_Editar_Card *w = Ventanas::F_Editar_Card;
    QVERIFY(w->isVisible());
    QVERIFY(!w->CH_Usar_Caducidad->isChecked());
    QVERIFY(!w->E_Fecha_cad->isEnabled());
    w->CH_Usar_Caducidad->click();
    QVERIFY(w->E_Fecha_cad->isEnabled());
    w->E_Fecha_cad->setDate(QDate(2030, 5, 6));
    w->E_Hora_cad->setTime(QTime(7, 8));
    QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QCOMPARE(b.filas("select usar_fecha_cad, fecha_caducidad from zarvtarjeta where codigo_tarjeta='0000000111'"),
             QStringList{"S|2030-05-06T07:08:00.000"});
}

void TestPaginaTarjetas::buscar()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    m->Muestra(*m->Tarjetas());
    Pagina_Tarjetas *p = m->Tarjetas();
    QTest::mouseClick(p->SpeedButton21, Qt::LeftButton);
    QVERIFY(p->Find_cards()->isVisible());
    QTest::keyClicks(p->Find_cards()->Texto, "33");
    QTest::mouseClick(p->Find_cards()->B_Buscar, Qt::LeftButton);
    QCOMPARE(p->Lista3->selectedItems().size(), 1);
    QCOMPARE(p->Lista3->selectedItems().first()->text(0), tarjeta(333));
    // The holder's names and the readers are searched too.
    QVERIFY(p->Find_cardsFind("garcia"));
    QCOMPARE(p->Lista3->selectedItems().size(), 4);
    QVERIFY(!p->Find_cardsFind("zzz"));
    QVERIFY(p->Lista3->selectedItems().isEmpty());
}
