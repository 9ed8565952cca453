#include "tst_editar.h"

#include "banco.h"

#include "app/tf_edit_controller.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "app/ventanas_lectores.h"
#include "model/variables.h"
#include "ui/operador.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using kv::test::SimProcess;
using kv::ui::Operador;

namespace {

SimProcess &Linea(Banco &b, int codigo)
{
    return codigo == 3 ? *b.com2 : *b.com1;
}

int Direccion(int codigo)
{
    return codigo == 3 ? 170 : codigo;
}

// Opens the edit window on that reader from the readers page.
TF_edit_controller *Abre(Banco &b, int codigo)
{
    b.selecciona({codigo});
    QTest::mouseClick(b.m()->Lectores()->B_Editar_cx, Qt::LeftButton);
    return Ventanas::F_edit_controller;
}

QString Stats(SimProcess &sim)
{
    return sim.command("stats").join(' ').section(' ', 0, 0);
}

} // namespace

void TestEditarLector::tiemposLeidos_data()
{
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("ajustes");
    QTest::addColumn<QString>("cerradura");
    QTest::addColumn<QString>("abierta");

    QTest::newRow("reader 1") << 1 << "set 1 lock 12;set 1 open 5" << "12" << "5";
    // Reader 2's line is the one reader 1 listens on.
    QTest::newRow("second reader of a line") << 2 << "set 2 lock 99;set 2 open 0" << "99" << "0";
    QTest::newRow("address 0 as 170") << 3 << "" << "5" << "20";
    QTest::newRow("no answer") << 2 << "fault 2 silence" << "" << "";
}

void TestEditarLector::tiemposLeidos()
{
    QFETCH(int, codigo);
    QFETCH(QString, ajustes);
    QFETCH(QString, cerradura);
    QFETCH(QString, abierta);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    for (const QString &a : ajustes.split(';', Qt::SkipEmptyParts))
        QVERIFY(Linea(b, codigo).ok(a));
    TF_Main *m = b.m();
    QTreeWidgetItem *fila = m->Lectores()->L1_Contr->topLevelItem(codigo - 1);
    TF_edit_controller *w = Abre(b, codigo);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QVERIFY(w->isVisible());
    QCOMPARE(w->Edit1->text(), fila->text(0));
    QCOMPARE(w->Edit2->text(), fila->text(1));
    QCOMPARE(w->Edit3->text(), fila->text(2));
    QVERIFY(w->Edit1->isReadOnly());
    QVERIFY(w->Edit3->isReadOnly());
    QCOMPARE(w->Edit4->text(), cerradura);
    QCOMPARE(w->Edit5->text(), abierta);
    QCOMPARE(w->Edit4->isEnabled(), !cerradura.isEmpty());
    QCOMPARE(w->Edit5->isEnabled(), !cerradura.isEmpty());
    QCOMPARE(m->Lectores()->L2_Contr->topLevelItemCount(), 0);
    // The timer is held while the window is open, whatever else runs.
    QVERIFY(!m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());

    QTest::mouseClick(w->BitBtn2, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QCOMPARE(m->Lectores()->L1_Contr->topLevelItemCount(), 3);
    QVERIFY(Linea(b, codigo).ok(QStringLiteral("fault %1 none").arg(Direccion(codigo))));
    QVERIFY(b.en_reposo());
}

void TestEditarLector::limites_data()
{
    QTest::addColumn<QString>("cerradura");
    QTest::addColumn<QString>("abierta");
    QTest::addColumn<QString>("clave");

    QTest::newRow("lock 0") << "0" << "20" << "Variables_variables_F_edit_controller_2";
    QTest::newRow("lock empty") << "" << "20" << "Variables_variables_F_edit_controller_2";
    QTest::newRow("open empty") << "7" << "" << "Variables_variables_F_edit_controller_1";
    QTest::newRow("both wrong: lock first") << "0" << "" << "Variables_variables_F_edit_controller_2";
    QTest::newRow("open 0") << "7" << "0" << "";
    QTest::newRow("both 99") << "99" << "99" << "";
    QTest::newRow("lock 1") << "1" << "30" << "";
}

void TestEditarLector::limites()
{
    QFETCH(QString, cerradura);
    QFETCH(QString, abierta);
    QFETCH(QString, clave);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_edit_controller *w = Abre(b, 2);
    QVERIFY(w->Edit4->isEnabled());
    w->Edit4->setText(cerradura);
    w->Edit5->setText(abierta);
    w->Edit2->setText("Salida norte");
    Operador::clear();
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    const QString descripcion = b.filas("SELECT descripcion FROM zarvcontrolador WHERE cod = 2").value(0);
    if (!clave.isEmpty()) {
        QCOMPARE(mensajes(), QStringList({Variables::Mensaje(clave)}));
        // Nothing is stored or sent; the window waits for a correction.
        QVERIFY(w->isVisible());
        QCOMPARE(descripcion, QStringLiteral("Salida"));
        QCOMPARE(b.ajuste(*b.com1, 2, "lock"), QStringLiteral("5"));
        QCOMPARE(b.ajuste(*b.com1, 2, "open"), QStringLiteral("20"));
        w->close();
    } else {
        QVERIFY(mensajes().isEmpty());
        QVERIFY(!w->isVisible());
        QCOMPARE(descripcion, QStringLiteral("Salida norte"));
        QCOMPARE(b.ajuste(*b.com1, 2, "lock"), cerradura);
        QCOMPARE(b.ajuste(*b.com1, 2, "open"), abierta);
        // The role in attendance is kept.
        QCOMPARE(b.filas("SELECT tipo FROM zarvcontrolador WHERE cod = 2"), QStringList({"SALIDA"}));
        QCOMPARE(b.m()->Lectores()->L1_Contr->topLevelItem(1)->text(1), QStringLiteral("Salida norte"));
        // Read back as they were written.
        Abre(b, 2);
        QCOMPARE(w->Edit4->text(), cerradura);
        QCOMPARE(w->Edit5->text(), abierta);
        w->close();
    }
    QVERIFY(b.m()->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.en_reposo());
}

void TestEditarLector::sinRespuesta()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    QVERIFY(b.com2->ok("fault 170 silence"));
    TF_edit_controller *w = Abre(b, 3);
    QVERIFY(!w->Edit4->isEnabled());
    w->Edit2->setText("Garaje sur");
    const QString recibidas = Stats(*b.com2);
    QTest::mouseClick(w->BitBtn1, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    // The description is stored; no times go to the line.
    QVERIFY(mensajes().isEmpty());
    QCOMPARE(b.filas("SELECT descripcion FROM zarvcontrolador WHERE cod = 3"), QStringList({"Garaje sur"}));
    QCOMPARE(Stats(*b.com2), recibidas);
    QCOMPARE(b.ajuste(*b.com2, 170, "lock"), QStringLiteral("5"));
    QCOMPARE(b.m()->Lectores()->L1_Contr->topLevelItem(2)->text(1), QStringLiteral("Garaje sur"));
}

void TestEditarLector::otroLectorConLaVentanaAbierta()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    QVERIFY(b.com2->ok("set 170 lock 9"));
    TF_edit_controller *w = Abre(b, 1);
    QCOMPARE(w->Edit4->text(), QStringLiteral("5"));
    // Picking another reader while the window is open reads that reader's
    // times: "Editar" must never send one reader's times to another.
    Abre(b, 3);
    QVERIFY(w->isVisible());
    QCOMPARE(w->Edit1->text(), QStringLiteral("3"));
    QCOMPARE(w->Edit4->text(), QStringLiteral("9"));
    QTest::mouseClick(w->BitBtn2, Qt::LeftButton);
    // The timer held by the first opening runs again.
    QVERIFY(b.m()->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
}
