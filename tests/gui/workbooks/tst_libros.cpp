#include "tst_libros.h"

#include "banco.h"

#include "app/tf_exp_imp.h"
#include "app/tf_imp_xls.h"
#include "app/tf_main.h"
#include "app/ventanas_libros.h"
#include "model/variables.h"
#include "ui/operador.h"
#include "workbooks/libro.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using kv::ui::Operador;

namespace {

QString Mensaje(const char *clave)
{
    return Variables::Mensaje(QLatin1String(clave));
}

// Opens the export/import window from the tool bar and runs accion in it.
void Con_Ventana(TF_Main *m, const std::function<void(TF_Exp_imp *)> &accion)
{
    Operador::setNextDialogAction([accion](QDialog *) { accion(Ventanas::F_Exp_imp); });
    QTest::mouseClick(m->B_Export_import, Qt::LeftButton);
}

} // namespace

void TestLibros::exportaEImportaReemplazando()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    QTemporaryDir dir;
    Operador::clear();

    // Exported under a name without extension: the file gets .xlsx.
    Con_Ventana(b.m(), [&](TF_Exp_imp *w) {
        Operador::setNextFileName(dir.filePath(QStringLiteral("cards")));
        QTest::mouseClick(w->SpeedButton4, Qt::LeftButton);
    });
    QVERIFY(!Ventanas::F_Exp_imp->isVisible());
    const kv::libros::Hoja h = kv::libros::Lee_Hoja(dir.filePath(QStringLiteral("cards.xlsx")), 3);
    QCOMPARE(h.filas.size(), std::size_t(5));
    QCOMPARE(h.filas[1].celdas, QStringList({tarjeta(111), "Ana", "Garcia Lopez"}));

    // The workbook an office sends back: a new card, a typo, and the old ones.
    const QString entrada = dir.filePath(QStringLiteral("back.xlsx"));
    kv::libros::Escribe_Xlsx(entrada, {{"Card", "Name", "Surname"},
                                       {"111", "Ana", "Garcia Lopez"},
                                       {"9876", "Luis", "Mora"},
                                       {"98A6", "Luis", "Mora"}});
    QStringList lectores;
    QStringList vista;
    Con_Ventana(b.m(), [&](TF_Exp_imp *w) {
        Operador::setNextFileName(entrada);
        Operador::setNextDialogAction([&](QDialog *) {
            TF_imp_XLS *x = Ventanas::F_imp_XLS;
            QVERIFY(QTest::qWaitFor([&] { return x->Lista1->topLevelItemCount() == 2; }, 5000));
            vista = QStringList{x->Lista1->topLevelItem(1)->text(0), x->Lista1->topLevelItem(1)->text(2)};
            for (int i = 0; i < x->CH2->count(); ++i)
                lectores << x->CH2->item(i)->text() + (x->CH2->item(i)->checkState() == Qt::Checked ? "+" : "-");
            QVERIFY(x->R4->isChecked());
            x->CH2->item(1)->setCheckState(Qt::Unchecked);
            x->R3->setChecked(true);
            QTest::mouseClick(x->B_add, Qt::LeftButton);
        });
        QTest::mouseClick(w->SpeedButton15, Qt::LeftButton);
        QVERIFY(!Ventanas::F_imp_XLS->isVisible());
        // The export/import window stays for more.
        QVERIFY(w->isVisible());
        w->reject();
    });
    QCOMPARE(vista, QStringList({tarjeta(9876), "Mora"}));
    QCOMPARE(lectores, QStringList({"1 Entrada+", "2 Salida+", "3 Garaje+"}));
    const QStringList m = mensajes();
    QVERIFY2(!m.filter(QStringLiteral("\n98A6")).isEmpty() || !m.filter(QStringLiteral("4: 98A6")).isEmpty(),
             qPrintable(m.join(" / ")));
    QVERIFY2(!m.filter(Mensaje("Variables_variables_F_Exp_imp_6")).isEmpty(), qPrintable(m.join(" / ")));
    // Replaced: the old cards are gone, the new ones wait for readers 1 and 3.
    QCOMPARE(b.filas("select codigo_tarjeta from zarvtarjeta order by 1"), QStringList({tarjeta(111), tarjeta(9876)}));
    QCOMPARE(b.asignaciones(1), QStringList({tarjeta(111) + "|N", tarjeta(9876) + "|N"}));
    QCOMPARE(b.asignaciones(2), QStringList());
    QCOMPARE(b.asignaciones(3), QStringList({tarjeta(111) + "|N", tarjeta(9876) + "|N"}));
}

void TestLibros::exportacionFallidaLoDice()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    QTemporaryDir dir;
    Operador::clear();
    bool sigue_abierta = false;
    Con_Ventana(b.m(), [&](TF_Exp_imp *w) {
        Operador::setNextFileName(dir.filePath(QStringLiteral("no/such/dir/cards.xlsx")));
        QTest::mouseClick(w->SpeedButton4, Qt::LeftButton);
        sigue_abierta = w->isVisible();
        // No file chosen: said too.
        Operador::setNextFileName(QString());
        QTest::mouseClick(w->SpeedButton4, Qt::LeftButton);
        w->reject();
    });
    QVERIFY(sigue_abierta);
    const QStringList m = mensajes();
    QCOMPARE(m.size(), 2);
    QVERIFY(m[0].startsWith(Mensaje("Variables_variables_F_Exp_imp_3")));
    QCOMPARE(m[1], Mensaje("Variables_variables_F_Exp_imp_2"));
}

void TestLibros::libroIlegibleNoCambiaNada()
{
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    QTemporaryDir dir;
    const QString texto = dir.filePath(QStringLiteral("cards.xls"));
    QFile f(texto);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Card;Name;Surname\n9999;Eva;Sanz\n");
    f.close();
    const QStringList antes = b.filas("select codigo_tarjeta, usuario from zarvtarjeta order by 1");
    Operador::clear();
    Con_Ventana(b.m(), [&](TF_Exp_imp *w) {
        Operador::setNextFileName(texto);
        Operador::setNextDialogAction([&](QDialog *) {
            TF_imp_XLS *x = Ventanas::F_imp_XLS;
            QVERIFY(QTest::qWaitFor([&] { return !mensajes().isEmpty(); }, 5000));
            QCOMPARE(x->Lista1->topLevelItemCount(), 0);
            // The replace mode deletes nothing without a workbook to put back.
            x->R3->setChecked(true);
            QTest::mouseClick(x->B_add, Qt::LeftButton);
        });
        QTest::mouseClick(w->SpeedButton15, Qt::LeftButton);
        w->reject();
    });
    QVERIFY(mensajes().value(0).startsWith(Mensaje("Variables_variables_F_Exp_imp_1")));
    QCOMPARE(b.filas("select codigo_tarjeta, usuario from zarvtarjeta order by 1"), antes);
}
