#include "tst_piezas.h"

#include "app/textos.h"
#include "app/tf_delete_conf.h"
#include "ui/dialogo_fichero.h"
#include "ui/imagenes.h"
#include "ui/operador.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTreeWidgetItem>

using kv::ui::Operador;

void TestPiezas::cleanup()
{
    Operador::clear();
}

void TestPiezas::respuestasEnCola()
{
    kv::ui::Dialogo_Fichero guardar("Save_INC", kv::ui::Dialogo_Fichero::Guardar, nullptr);
    guardar.setWindowTitle("Save incidences");
    TF_Delete_Conf pregunta;

    // Queued answers are taken in order, each by the kind of call it suits.
    Operador::setNextFileName("/tmp/a.txt");
    Operador::setNextAnswer(QMessageBox::Yes);
    Operador::setNextAnswer(1);
    QCOMPARE(Operador::Fichero(nullptr, guardar), QStringLiteral("/tmp/a.txt"));
    QVERIFY(Operador::Pregunta(nullptr, "Sure?"));
    pregunta.Respuesta = 7;
    QCOMPARE(Operador::Modal(&pregunta), 1);
    QCOMPARE(pregunta.Respuesta, 1);

    // Nothing queued: nothing shown, and every answer is the cautious one.
    QCOMPARE(Operador::Fichero(nullptr, guardar), QString());
    QVERIFY(!Operador::Pregunta(nullptr, "Sure?"));
    pregunta.Respuesta = 1;
    QCOMPARE(Operador::Modal(&pregunta), 0);
    Operador::Mensaje(nullptr, "Done", "Title");

    const auto h = Operador::history();
    QCOMPARE(h.size(), 7);
    QCOMPARE(h[0].tipo, QStringLiteral("file"));
    QCOMPARE(h[0].titulo, QStringLiteral("Save incidences"));
    QCOMPARE(h[2].tipo, QStringLiteral("modal"));
    QCOMPARE(h[2].titulo, QStringLiteral("F_Delete_Conf"));
    QCOMPARE(h[6].texto, QStringLiteral("Done"));
    QCOMPARE(h[6].titulo, QStringLiteral("Title"));
}

void TestPiezas::accionSobreVentana()
{
    TF_Delete_Conf pregunta;
    // The real window, clicked: its own button decides the answer.
    Operador::setNextDialogAction([](QDialog *d) {
        QVERIFY(d->isVisible());
        QTest::mouseClick(static_cast<TF_Delete_Conf *>(d)->B_Yes, Qt::LeftButton);
    });
    QCOMPARE(Operador::Modal(&pregunta), 1);
    QVERIFY(!pregunta.isVisible());

    // Left open by the action, the window is closed as "no".
    Operador::setNextDialogAction([](QDialog *) {});
    QCOMPARE(Operador::Modal(&pregunta), 0);
    QVERIFY(!pregunta.isVisible());
}

void TestPiezas::filtros_data()
{
    QTest::addColumn<QString>("definido");
    QTest::addColumn<QString>("qt");
    QTest::newRow("one") << "Text Files|*.txt" << "Text Files (*.txt)";
    QTest::newRow("two") << "Backups|*.kvd|All|*" << "Backups (*.kvd);;All (*)";
    QTest::newRow("several patterns") << "Workbooks|*.xlsx;*.xls" << "Workbooks (*.xlsx *.xls)";
    QTest::newRow("none") << "" << "";
}

void TestPiezas::filtros()
{
    QFETCH(QString, definido);
    QFETCH(QString, qt);
    kv::ui::Dialogo_Fichero d("Open", kv::ui::Dialogo_Fichero::Abrir, nullptr);
    d.setFiltro(definido);
    QCOMPARE(d.Filtro_Qt(), qt);
}

void TestPiezas::iconos()
{
    QSet<qint64> vistos;
    for (int i = 0; i < kv::ui::Numero_Iconos; ++i) {
        const QIcon icono = kv::ui::Icono(i);
        QVERIFY2(!icono.isNull(), qPrintable(QString::number(i)));
        const QImage imagen = icono.pixmap(16, 16).toImage();
        // Every index shows a picture of its own.
        qint64 huella = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                huella = huella * 31 + imagen.pixel(x, y);
        QVERIFY2(!vistos.contains(huella), qPrintable(QString::number(i)));
        vistos.insert(huella);
    }
    QVERIFY(kv::ui::Icono(-1).isNull());
    QVERIFY(kv::ui::Icono(kv::ui::Numero_Iconos).isNull());

    QTreeWidgetItem fila({"a", "b"});
    kv::ui::Pon_Icono(&fila, 1, kv::ui::Icono_Pendiente);
    QCOMPARE(kv::ui::Icono_De(&fila, 1), 4);
    QCOMPARE(kv::ui::Icono_De(&fila, 0), -1);
    kv::ui::Pon_Icono(&fila, 1, -1);
    QCOMPARE(kv::ui::Icono_De(&fila, 1), -1);
    QVERIFY(fila.icon(1).isNull());
}

void TestPiezas::sufijo_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("resultado");
    QTest::newRow("first") << "Keyvane 2.1" << "Oficina" << "Keyvane 2.1 - Oficina";
    QTest::newRow("replaced") << "Keyvane 2.1 - Oficina" << "Almacén" << "Keyvane 2.1 - Almacén";
    QTest::newRow("name with a dash") << "Center - North - East" << "South" << "Center - South";
    QTest::newRow("empty name") << "Center" << "" << "Center - ";
}

void TestPiezas::sufijo()
{
    QFETCH(QString, texto);
    QFETCH(QString, nombre);
    QFETCH(QString, resultado);
    QCOMPARE(textos::Con_Sufijo(texto, nombre), resultado);
    // Applied again with the same name, nothing changes.
    QCOMPARE(textos::Con_Sufijo(resultado, nombre), resultado);
}

void TestPiezas::entradas_data()
{
    QTest::addColumn<QString>("entrada");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("nombre");
    QTest::newRow("usual") << "2.- Oficina" << "2" << "Oficina";
    QTest::newRow("name with the separator") << "12.- A.- B" << "12" << "A.- B";
    QTest::newRow("no separator") << "Oficina" << "Oficina" << "Oficina";
}

void TestPiezas::entradas()
{
    QFETCH(QString, entrada);
    QFETCH(QString, codigo);
    QFETCH(QString, nombre);
    QCOMPARE(textos::Codigo_Entrada(entrada), codigo);
    QCOMPARE(textos::Nombre_Entrada(entrada), nombre);
}
