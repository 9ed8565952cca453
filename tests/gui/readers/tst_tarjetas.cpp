#include "tst_tarjetas.h"

#include "banco.h"

#include "app/tf_clone_controller.h"
#include "app/tf_delete_conf.h"
#include "app/tf_main.h"
#include "app/controles_progreso.h"
#include "app/tf_muestra_recep.h"
#include "app/ventanas.h"
#include "app/ventanas_lectores.h"
#include "model/variables.h"
#include "ui/imagenes.h"
#include "ui/operador.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using kv::ui::Operador;

namespace {

QStringList Elementos(const QListWidget *lista)
{
    QStringList r;
    for (int i = 0; i < lista->count(); ++i)
        r << lista->item(i)->text() + (lista->item(i)->checkState() == Qt::Checked ? " [x]" : " [ ]");
    return r;
}

} // namespace

void TestTarjetasLector::tarjetaMaestra_data()
{
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("fallo");
    QTest::addColumn<QString>("clave");
    QTest::newRow("changed") << 1 << "" << "Variables_variables_F_Main_2";
    QTest::newRow("address 0 as 170") << 3 << "" << "Variables_variables_F_Main_2";
    // Reader 2 shares its line with reader 1, which listens on it.
    QTest::newRow("refused") << 2 << "fault 2 refuse" << "Variables_variables_F_Main_3";
}

void TestTarjetasLector::tarjetaMaestra()
{
    QFETCH(int, codigo);
    QFETCH(QString, fallo);
    QFETCH(QString, clave);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    if (!fallo.isEmpty())
        QVERIFY(b.com1->ok(fallo));
    Operador::clear();
    b.selecciona({codigo});
    QTest::mouseClick(b.m()->Lectores()->B_Master_Card, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QCOMPARE(mensajes(), QStringList({Variables::Mensaje(clave)}));
    QVERIFY(b.m()->Lectores()->B_Master_Card->isEnabled());
    QVERIFY(b.m()->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.en_reposo());
}

void TestTarjetasLector::vaciar_data()
{
    QTest::addColumn<int>("codigo");
    QTest::addColumn<int>("respuesta");
    QTest::addColumn<QStringList>("memoria");
    QTest::addColumn<QStringList>("asignaciones");

    QTest::newRow("yes") << 1 << 1 << QStringList() << QStringList({tarjeta(111) + "|N", tarjeta(222) + "|N"});
    QTest::newRow("no") << 1 << 0 << QStringList({tarjeta(111), tarjeta(222)})
                        << QStringList({tarjeta(111) + "|S", tarjeta(222) + "|S"});
    // Reader 2's line is the one reader 1 listens on.
    QTest::newRow("second reader of a line") << 2 << 1 << QStringList()
                                             << QStringList({tarjeta(333) + "|N", tarjeta(444) + "|N"});
}

void TestTarjetasLector::vaciar()
{
    QFETCH(int, codigo);
    QFETCH(int, respuesta);
    QFETCH(QStringList, memoria);
    QFETCH(QStringList, asignaciones);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    const QStringList otro = b.memoria(*b.com1, 3 - codigo);
    const QStringList otras = b.asignaciones(3 - codigo);
    m->Lectores()->L2_Contr->clear();
    b.selecciona({codigo});
    Operador::setNextAnswer(respuesta);
    QTest::mouseClick(m->Lectores()->B_vacia_Cards, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));

    const QString descripcion = codigo == 1 ? "Entrada" : "Salida";
    QCOMPARE(Ventanas::F_Delete_Conf->Label1->text(),
             Variables::Mensaje("Variables_variables_F_Main_12") + " " + descripcion + "?");
    QCOMPARE(b.memoria(*b.com1, codigo), memoria);
    // The assignments stay, marked for the next send.
    QCOMPARE(b.asignaciones(codigo), asignaciones);
    QCOMPARE(b.memoria(*b.com1, 3 - codigo), otro);
    QCOMPARE(b.asignaciones(3 - codigo), otras);
    // An erased reader is tested again with the others; "no" tests nothing.
    QCOMPARE(m->Lectores()->L2_Contr->topLevelItemCount(), respuesta == 1 ? 3 : 0);
    if (respuesta == 1)
        QCOMPARE(m->Lectores()->L2_Contr->topLevelItem(codigo - 1)->text(6), QStringLiteral("0"));
    QVERIFY(m->Lectores()->B_vacia_Cards->isEnabled());
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.en_reposo());
}

void TestTarjetasLector::clonar_data()
{
    QTest::addColumn<int>("capacidad");
    QTest::addColumn<QStringList>("asignaciones");
    QTest::newRow("every card taken") << 2000 << QStringList({tarjeta(111) + "|S", tarjeta(222) + "|S"});
    // The second card finds the target's memory full.
    QTest::newRow("memory full") << 1 << QStringList({tarjeta(111) + "|S", tarjeta(222) + "|N"});
}

void TestTarjetasLector::clonar()
{
    QFETCH(int, capacidad);
    QFETCH(QStringList, asignaciones);
    // Reader 3 holds a card of its own and does not answer.
    Banco b({"INSERT INTO zarvcontroladortarjeta VALUES ('0000000444', 3, 'S')"});
    QVERIFY(b.listo());
    QVERIFY(b.com2->ok("load 170 444"));
    b.arranca();
    QVERIFY(b.com1->ok(QStringLiteral("set 2 capacity %1").arg(capacidad)));
    QVERIFY(b.com2->ok("fault 170 silence"));
    TF_Main *m = b.m();
    TF_Clone_Controller *w = Ventanas::F_Clone_Controller;
    QStringList ofrecidos;
    QStringList destinos;
    bool clonar_habilitado_al_abrir = true;
    Operador::setNextDialogAction([&](QDialog *) {
        clonar_habilitado_al_abrir = w->B_Clonar->isEnabled();
        ofrecidos = Elementos(w->CH1);
        // Arrow keys pick from the list; typed letters would be dropped.
        w->CB1->setFocus();
        QTest::keyClick(w->CB1, Qt::Key_Down);
        destinos = Elementos(w->CH1);
        QTest::mouseClick(w->B_Clonar, Qt::LeftButton);
    });
    QTest::mouseClick(m->Lectores()->B_Clone_cx, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));

    // Before a source is chosen every reader is offered, and nothing can start.
    QVERIFY(!clonar_habilitado_al_abrir);
    QCOMPARE(ofrecidos, QStringList({"1 Entrada [x]", "2 Salida [x]", "3 Garaje [x]"}));
    QCOMPARE(w->CB1->currentText(), QStringLiteral("Entrada"));
    QCOMPARE(destinos, QStringList({"2 Salida [x]", "3 Garaje [x]"}));

    // The answering target holds the source's cards, in order, and only those.
    const QStringList memoria = b.memoria(*b.com1, 2);
    QCOMPARE(memoria, capacidad == 1 ? QStringList({tarjeta(111)}) : QStringList({tarjeta(111), tarjeta(222)}));
    QCOMPARE(b.asignaciones(2), asignaciones);
    // The silent one is skipped: its memory and its assignments stay.
    QCOMPARE(b.memoria(*b.com2, 170), QStringList({tarjeta(444)}));
    QCOMPARE(b.asignaciones(3), QStringList({tarjeta(444) + "|S"}));
    // The source is untouched.
    QCOMPARE(b.memoria(*b.com1, 1), QStringList({tarjeta(111), tarjeta(222)}));
    QCOMPARE(b.asignaciones(1), QStringList({tarjeta(111) + "|S", tarjeta(222) + "|S"}));

    QVERIFY(!w->isVisible());
    QVERIFY(!Ventanas::F_Muestra_recep->isVisible());
    // The progress counts the source's cards, not what the target held
    // before; the silent target, last, started its own count afresh.
    QCOMPARE(Ventanas::F_Muestra_recep->P1->maximum(), 2);
    QCOMPARE(Ventanas::F_Muestra_recep->P1->value(), 0);
    QCOMPARE(Ventanas::F_Muestra_recep->Label1->text(), QString());
    QVERIFY(w->B_Clonar->isEnabled());
    QVERIFY(w->B_cancel->isEnabled());
    // Every reader is tested afterwards.
    QCOMPARE(m->Lectores()->L2_Contr->topLevelItemCount(), 3);
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.com2->ok("fault 170 none"));
    QVERIFY(b.en_reposo());
}

void TestTarjetasLector::clonarOfreceOtrasDescripciones()
{
    // A second "Entrada" on the other line: never a target of the first.
    Banco b({"INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (4, 2, '', 'Entrada', 5)"});
    QVERIFY(b.listo());
    QVERIFY(b.com2->ok("add 5"));
    b.arranca();
    TF_Clone_Controller *w = Ventanas::F_Clone_Controller;
    QStringList fuentes;
    QStringList destinos;
    Operador::setNextDialogAction([&](QDialog *) {
        for (int i = 0; i < w->CB1->count(); ++i)
            fuentes << w->CB1->itemText(i);
        w->CB1->setFocus();
        QTest::keyClick(w->CB1, Qt::Key_Down);
        destinos = Elementos(w->CH1);
    });
    QTest::mouseClick(b.m()->Lectores()->B_Clone_cx, Qt::LeftButton);
    QCOMPARE(fuentes, QStringList({"Entrada", "Salida", "Garaje", "Entrada"}));
    QCOMPARE(destinos, QStringList({"2 Salida [x]", "3 Garaje [x]"}));
    // Closed without cloning: every memory as it was.
    QCOMPARE(b.memoria(*b.com1, 2), QStringList({tarjeta(333)}));
}

void TestTarjetasLector::borrar_data()
{
    QTest::addColumn<int>("respuesta");
    QTest::newRow("yes") << 1;
    QTest::newRow("no") << 0;
}

void TestTarjetasLector::borrar()
{
    QFETCH(int, respuesta);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    TF_Main *m = b.m();
    b.selecciona({2});
    Operador::setNextAnswer(respuesta);
    QTest::mouseClick(m->Lectores()->B_Delete_Cx, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QCOMPARE(Ventanas::F_Delete_Conf->Label1->text(), Variables::Mensaje("Variables_variables_F_Main_11") + " Salida?");
    const QStringList quedan = respuesta == 1 ? QStringList({"1", "3"}) : QStringList({"1", "2", "3"});
    QCOMPARE(b.filas("SELECT cod FROM zarvcontrolador ORDER BY cod"), quedan);
    QStringList filas;
    for (int i = 0; i < m->Lectores()->L1_Contr->topLevelItemCount(); ++i)
        filas << m->Lectores()->L1_Contr->topLevelItem(i)->text(0);
    QCOMPARE(filas, quedan);
    QCOMPARE(b.asignaciones(2).size(), respuesta == 1 ? 0 : 2);
    QCOMPARE(b.asignaciones(1).size(), 2);
    // Nothing is sent to the controller.
    QCOMPARE(b.memoria(*b.com1, 2), QStringList({tarjeta(333)}));
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.en_reposo());
}
