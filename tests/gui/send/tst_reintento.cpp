#include "tst_reintento.h"

#include "banco.h"

#include "app/pagina_tarjetas.h"
#include "app/tf_error_insert.h"
#include "app/tf_main.h"
#include "app/ventanas_envio.h"
#include "ui/imagenes.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using kv::ui::Operador;

namespace {

// "<entry> [x]" or "<entry> [ ]" for each entry of a check list.
QStringList Marcas(const QListWidget *l)
{
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text() + (l->item(i)->checkState() == Qt::Checked ? " [x]" : " [ ]");
    return r;
}

void Doble_Clic(QTreeWidget *lista, const QString &codigo)
{
    QTreeWidgetItem *f = fila(lista, codigo);
    QVERIFY(f);
    lista->clearSelection();
    lista->setCurrentItem(f);
    f->setSelected(true);
    emit lista->itemDoubleClicked(f, 0);
}

} // namespace

void TestReintento::reintenta()
{
    // 444 waits for Entrada too.
    Banco b({"INSERT INTO zarvcontroladortarjeta VALUES ('0000000444', 1, 'N')"});
    QVERIFY(b.listo());
    b.arranca();
    QVERIFY(b.com1->ok("fault 2 silence"));
    TF_Main *m = b.m();
    m->Muestra(*m->Tarjetas());
    TF_Error_insert *w = Ventanas::F_Error_insert;
    QVERIFY(w);
    QString codigo;
    QStringList antes_ch1, antes_ch2, tras_fallo_ch1, tras_fallo_ch2;
    bool abierta_tras_fallo = false;
    Operador::clear();
    Operador::setNextDialogAction([&](QDialog *) {
        codigo = w->Label3->text();
        antes_ch1 = Marcas(w->CH1);
        antes_ch2 = Marcas(w->CH2);
        QTest::mouseClick(w->B_yes, Qt::LeftButton);
        abierta_tras_fallo = w->isVisible();
        tras_fallo_ch1 = Marcas(w->CH1);
        tras_fallo_ch2 = Marcas(w->CH2);
        QVERIFY(b.com1->ok("fault 2 none"));
        QTest::mouseClick(w->B_yes, Qt::LeftButton);
    });
    Doble_Clic(m->Tarjetas()->Lista3, tarjeta(444));
    QCOMPARE(codigo, tarjeta(444));

    // Shown, then redrawn after a retry Salida missed and Entrada took.
    QCOMPARE(antes_ch1, QStringList({"1 Entrada [ ]", "2 Salida [ ]", "3 Garaje [ ]"}));
    QCOMPARE(tras_fallo_ch1, QStringList({"1 Entrada [x]", "2 Salida [ ]", "3 Garaje [ ]"}));
    const QStringList debe = {"1 Entrada [x]", "2 Salida [x]", "3 Garaje [ ]"};
    QCOMPARE(antes_ch2, debe);
    QCOMPARE(tras_fallo_ch2, debe);
    QVERIFY(abierta_tras_fallo);
    QVERIFY(!w->isVisible());

    QCOMPARE(b.asignaciones(1), QStringList({tarjeta(111) + "|S", tarjeta(222) + "|S", tarjeta(444) + "|S"}));
    QCOMPARE(b.asignaciones(2), QStringList({tarjeta(333) + "|S", tarjeta(444) + "|S"}));
    QVERIFY(b.memoria(*b.com1, 1).contains(tarjeta(444)));
    QCOMPARE(b.memoria(*b.com1, 2), QStringList({tarjeta(333), tarjeta(444)}));
    // The list was rebuilt: nothing is pending any more.
    QCOMPARE(kv::ui::Icono_De(fila(m->Tarjetas()->Lista3, tarjeta(444)), 0), int(kv::ui::Icono_Tarjeta));
    QCOMPARE(kv::wf::Coordinacion::Retenciones(), 0);
}

void TestReintento::filaNoPendiente_data()
{
    QTest::addColumn<int>("numero");
    QTest::newRow("stored in one reader") << 111;
    QTest::newRow("stored, in another") << 333;
    QTest::newRow("in no reader") << 555;
}

void TestReintento::filaNoPendiente()
{
    QFETCH(int, numero);
    Banco b({"INSERT INTO zarvtarjeta VALUES ('0000000555', 'N', '2024-01-02 03:04:05', NULL, -1, 'N')"});
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    m->Muestra(*m->Tarjetas());
    Operador::clear();
    Doble_Clic(m->Tarjetas()->Lista3, tarjeta(numero));
    for (const auto &h : Operador::history())
        QVERIFY2(h.tipo != "modal", qPrintable(h.titulo));
    QVERIFY(!Ventanas::F_Error_insert->isVisible());
}
