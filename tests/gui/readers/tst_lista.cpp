#include "tst_lista.h"

#include "banco.h"

#include "app/tf_main.h"
#include "link/textoestado.h"
#include "ui/imagenes.h"
#include "ui/operador.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using kv::ui::Icono_De;

namespace {

QStringList Columna(QTreeWidget *lista, int col)
{
    QStringList r;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        r << lista->topLevelItem(i)->text(col);
    return r;
}

QList<int> Iconos(QTreeWidget *lista, int col)
{
    QList<int> r;
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        r << Icono_De(lista->topLevelItem(i), col);
    return r;
}

} // namespace

void TestListaLectores::filasYResultados()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));

    QCOMPARE(m->Lectores()->L1_Contr->topLevelItemCount(), 3);
    QCOMPARE(textos(m->Lectores()->L1_Contr->topLevelItem(0)), QStringList({"1", "Entrada", "1", " ", "1"}));
    QCOMPARE(textos(m->Lectores()->L1_Contr->topLevelItem(1)), QStringList({"2", "Salida", "1", " ", "2"}));
    // The address as stored, though the line knows it as 170.
    QCOMPARE(textos(m->Lectores()->L1_Contr->topLevelItem(2)), QStringList({"3", "Garaje", "2", " ", "0"}));
    QCOMPARE(Iconos(m->Lectores()->L1_Contr, 0), QList<int>({3, 3, 3}));

    // With registering on, the test suspends listening and gives it back.
    b.registra();
    QTest::mouseClick(m->B_Test_TODOS, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    const QString cerrada = Texto_Estado(2);
    QVERIFY(!cerrada.isEmpty());
    QCOMPARE(m->Lectores()->L2_Contr->topLevelItemCount(), 3);
    QCOMPARE(textos(m->Lectores()->L2_Contr->topLevelItem(0)), QStringList({"1", "Entrada", cerrada, "5", "20", "2.1", "2", "2"}));
    // Two cards assigned in the database, one in the controller.
    QCOMPARE(textos(m->Lectores()->L2_Contr->topLevelItem(1)), QStringList({"2", "Salida", cerrada, "5", "20", "2.1", "1", "2"}));
    QCOMPARE(textos(m->Lectores()->L2_Contr->topLevelItem(2)), QStringList({"3", "Garaje", cerrada, "5", "20", "2.1", "0", "0"}));
    QCOMPARE(Iconos(m->Lectores()->L2_Contr, 0), QList<int>({kv::ui::Icono_Responde, kv::ui::Icono_Diferencia, kv::ui::Icono_Responde}));
    QCOMPARE(Iconos(m->Lectores()->L1_Contr, 3), QList<int>(3, kv::ui::Icono_Responde));

    // The test shows the readers page and gives everything back.
    QCOMPARE(m->Arbol1->currentItem(), m->Nodo_De(*m->Lectores()));
    QVERIFY(!m->Lectores()->Panel()->isHidden());
    QVERIFY(m->B_Test_TODOS->isEnabled());
    QVERIFY(m->Lectores()->B_Test_Cx->isEnabled());
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.escuchando());
}

void TestListaLectores::columnaDeResultado_data()
{
    QTest::addColumn<QString>("ajuste");
    QTest::addColumn<int>("columna");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("version 21") << "version 21" << 5 << "2.1";
    QTest::newRow("one-digit version") << "version 5" << 5 << "5.";
    QTest::newRow("version 10") << "version 10" << 5 << "1.0";
    // The controller keeps its times as packed decimal: 12 s reads 12, not 18.
    QTest::newRow("lock time") << "lock 12" << 3 << "12";
    QTest::newRow("open time 0") << "open 0" << 4 << "0";
    QTest::newRow("open time 99") << "open 99" << 4 << "99";
    QTest::newRow("door open") << "state 7" << 2 << Texto_Estado(7);
}

void TestListaLectores::columnaDeResultado()
{
    QFETCH(QString, ajuste);
    QFETCH(int, columna);
    QFETCH(QString, esperado);
    Banco b;
    QVERIFY(b.listo());
    // The reader stored with address 0 answers at 170.
    QVERIFY(b.com2->ok("set 170 " + ajuste));
    b.arranca();
    QTest::mouseClick(b.m()->B_Test_TODOS, Qt::LeftButton);
    QTreeWidgetItem *f = b.m()->Lectores()->L2_Contr->topLevelItem(2);
    QVERIFY(f);
    QCOMPARE(f->text(0), QStringLiteral("3"));
    QCOMPARE(f->text(columna), esperado);
}

void TestListaLectores::lectorSinRespuesta()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    QVERIFY(b.com1->ok("fault 2 silence"));
    QTest::mouseClick(b.m()->B_Test_TODOS, Qt::LeftButton);
    TF_Main *m = b.m();
    QCOMPARE(m->Lectores()->L2_Contr->topLevelItemCount(), 3);
    QCOMPARE(textos(m->Lectores()->L2_Contr->topLevelItem(1)), QStringList({"2", "???", "???", "???", "???", "???", "???", "???"}));
    QCOMPARE(Iconos(m->Lectores()->L2_Contr, 0), QList<int>({kv::ui::Icono_Responde, kv::ui::Icono_Alarma, kv::ui::Icono_Responde}));
    QCOMPARE(Iconos(m->Lectores()->L1_Contr, 3),
             QList<int>({kv::ui::Icono_Responde, kv::ui::Icono_Sin_Respuesta, kv::ui::Icono_Responde}));
    // Silence is a result, not an error.
    QVERIFY(erroresMostrados().isEmpty());
}

void TestListaLectores::probarSeleccionados()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    QCOMPARE(m->Lectores()->L2_Contr->topLevelItemCount(), 3);
    // Reader 2 shares its line with reader 1, whose open line listens for
    // both: the test must stop listening to reach reader 2.
    b.registra();
    b.selecciona({2, 3});
    QVERIFY(b.com1->ok("set 2 version 30"));
    QTest::mouseClick(m->Lectores()->B_Test_Cx, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QCOMPARE(Columna(m->Lectores()->L2_Contr, 0), QStringList({"2", "3"}));
    QCOMPARE(m->Lectores()->L2_Contr->topLevelItem(0)->text(5), QStringLiteral("3.0"));
    QVERIFY(m->Lectores()->B_Test_Cx->isEnabled());
    QVERIFY(m->B_Test_TODOS->isEnabled());
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.escuchando());
}

void TestListaLectores::dobleClic_data()
{
    QTest::addColumn<bool>("sinLectores");
    QTest::newRow("below the last reader") << false;
    QTest::newRow("empty list") << true;
}

void TestListaLectores::dobleClic()
{
    QFETCH(bool, sinLectores);
    Banco b(sinLectores ? QStringList{"DELETE FROM zarvcontroladortarjeta", "DELETE FROM zarvcontrolador"}
                        : QStringList{});
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    m->show();
    QVERIFY(QTest::qWaitForWindowExposed(m));
    m->Lectores()->L2_Contr->clear();
    m->Lectores()->L2_Contr->addTopLevelItem(new QTreeWidgetItem({"old"}));
    QWidget *vista = m->Lectores()->L1_Contr->viewport();
    QTest::mouseDClick(vista, Qt::LeftButton, {}, QPoint(10, vista->height() - 5));
    QCOMPARE(Columna(m->Lectores()->L2_Contr, 0), sinLectores ? QStringList() : QStringList({"1", "2", "3"}));
    QVERIFY(m->B_Test_TODOS->isEnabled());
    m->hide();
}

void TestListaLectores::puertoQueNoAbre()
{
    // Reader 4's port names a device that is gone.
    Banco b({"INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (4, 7, '', 'Patio', 1)"});
    QVERIFY(b.listo());
    QVERIFY(QFile::link(b.e.inst.portsDir() + "/ttyGone", b.e.inst.portsDir() + "/COM7"));
    b.arranca();
    TF_Main *m = b.m();
    // Its row stays, so that it can still be edited or deleted.
    QCOMPARE(Columna(m->Lectores()->L1_Contr, 1), QStringList({"Entrada", "Salida", "Garaje", "Patio"}));

    kv::ui::Operador::clear();
    QTest::mouseClick(m->B_Test_TODOS, Qt::LeftButton);
    QCOMPARE(erroresMostrados(), QStringList({"Error en el puerto COM7"}));
    // The test ended at reader 4; what it did before stays, and the clean-up ran.
    QCOMPARE(Columna(m->Lectores()->L2_Contr, 0), QStringList({"1", "2", "3"}));
    QVERIFY(m->B_Test_TODOS->isEnabled());
    QVERIFY(m->Lectores()->B_Test_Cx->isEnabled());
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.en_reposo());

    // A workflow on reader 4 ends the same way.
    kv::ui::Operador::clear();
    b.selecciona({4});
    kv::ui::Operador::setNextAnswer(1);
    QTest::mouseClick(m->Lectores()->B_vacia_Cards, Qt::LeftButton);
    QCOMPARE(erroresMostrados(), QStringList({"Error en el puerto COM7"}));
    QVERIFY(m->Lectores()->B_vacia_Cards->isEnabled());
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.en_reposo());
}
