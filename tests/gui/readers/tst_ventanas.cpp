#include "tst_ventanas.h"

#include "entorno.h"

#include "lang/ui/traducir.h"
#include "model/variables.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

void TestVentanasLectores::traducidas_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("titulo");
    QTest::newRow("F_Contr_N") << "F_Contr_N" << "New Controller";
    QTest::newRow("F_edit_controller") << "F_edit_controller" << "Edit Reader";
    QTest::newRow("F_Clone_Controller") << "F_Clone_Controller" << "Clone Controller";
    // The progress window takes its title from the edit window's cancel button.
    QTest::newRow("F_Muestra_recep") << "F_Muestra_recep" << "Cancel";
}

void TestVentanasLectores::traducidas()
{
    QFETCH(QString, ventana);
    QFETCH(QString, titulo);
    Entorno e;
    e.arranca();
    QWidget *w = nullptr;
    for (QWidget *t : QApplication::topLevelWidgets())
        if (t->objectName() == ventana)
            w = t;
    QVERIFY(w);
    QCOMPARE(Lang::Traducir_Ventana(w), QStringList());
    QCOMPARE(w->windowTitle(), titulo);
    for (QLabel *l : w->findChildren<QLabel *>())
        QVERIFY2(!l->text().contains(Variables::Texto_Ausente), qPrintable(l->objectName()));
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
        QVERIFY2(!b->text().contains(Variables::Texto_Ausente), qPrintable(b->objectName()));
    for (QGroupBox *g : w->findChildren<QGroupBox *>())
        QVERIFY2(!g->title().contains(Variables::Texto_Ausente), qPrintable(g->objectName()));
}
