#include "tst_nuevo.h"

#include "banco.h"

#include "app/tf_contr_n.h"
#include "app/tf_edit_controller.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "app/ventanas_lectores.h"
#include "ui/imagenes.h"
#include "ui/operador.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using kv::ui::Operador;

namespace {

struct Entrada {
    QString numero, descripcion, puerto, direccion;
};

// Opens the window from the readers page, types e into it and presses Add;
// what the window holds right after is kept in despues.
void Anade(Banco &b, const Entrada &e, Entrada *despues, bool *abierta)
{
    TF_Contr_N *w = Ventanas::F_Contr_N;
    Operador::setNextDialogAction([=](QDialog *) {
        w->Edit4->clear();
        QTest::keyClicks(w->Edit1, e.numero);
        QTest::keyClicks(w->Edit2, e.descripcion);
        QTest::keyClicks(w->Edit3, e.puerto);
        QTest::keyClicks(w->Edit4, e.direccion);
        QTest::mouseClick(w->B_add, Qt::LeftButton);
        *despues = {w->Edit1->text(), w->Edit2->text(), w->Edit3->text(), w->Edit4->text()};
        *abierta = w->isVisible();
    });
    QTest::mouseClick(b.m()->Lectores()->B_Nueva_Cx, Qt::LeftButton);
}

const QString Controladores = QStringLiteral("SELECT cod, puerto_serie, descripcion, direccion, tipo FROM zarvcontrolador "
                                             "ORDER BY cod");

} // namespace

void TestNuevoLector::rechazado_data()
{
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("descripcion");
    QTest::addColumn<QString>("puerto");
    QTest::addColumn<QString>("direccion");
    QTest::addColumn<QString>("mensaje");

    const QString obligados = QStringLiteral("Todos los campos son obligados");
    QTest::newRow("no number") << "" << "Patio" << "3" << "4" << obligados;
    QTest::newRow("blank description") << "5" << "   " << "3" << "4" << obligados;
    QTest::newRow("no port") << "5" << "Patio" << "" << "4" << obligados;
    QTest::newRow("no address") << "5" << "Patio" << "3" << "" << obligados;
    QTest::newRow("address 32") << "5" << "Patio" << "3" << "32" << "La Direccion debe de ser entre 0 a 31";
    QTest::newRow("number in use") << "1" << "Patio" << "3" << "4" << QString::fromUtf8("Código debe de ser único");
    QTest::newRow("address in use on the port")
        << "5" << "Patio" << "1" << "2" << "Direccion controlador ya existente parar este puerto COM";
    QTest::newRow("address 0 in use on the port")
        << "5" << "Patio" << "2" << "0" << "Direccion controlador ya existente parar este puerto COM";
}

void TestNuevoLector::rechazado()
{
    QFETCH(QString, numero);
    QFETCH(QString, descripcion);
    QFETCH(QString, puerto);
    QFETCH(QString, direccion);
    QFETCH(QString, mensaje);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    const QStringList antes = b.filas(Controladores);
    Operador::clear();
    Entrada despues;
    bool abierta = false;
    Anade(b, {numero, descripcion, puerto, direccion}, &despues, &abierta);
    QCOMPARE(mensajes(), QStringList({mensaje}));
    for (const auto &h : Operador::history())
        if (h.tipo == QLatin1String("message"))
            QCOMPARE(h.titulo, QStringLiteral("Lector"));
    QVERIFY(abierta);
    QCOMPARE(b.filas(Controladores), antes);
    QCOMPARE(b.m()->Lectores()->L1_Contr->topLevelItemCount(), 3);
    // The operator corrects the entry: nothing typed is lost.
    QCOMPARE(despues.numero, numero);
    QCOMPARE(despues.direccion, direccion);
    QVERIFY(b.m()->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
}

void TestNuevoLector::anadido_data()
{
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("puerto");
    QTest::addColumn<QString>("direccion");
    QTest::addColumn<QString>("fila");

    // Each keeps the readers of a line next to each other in number order:
    // listening opens one line per run of them.
    QTest::newRow("address 31") << "5" << "2" << "31" << "5|2|Patio|31|Null";
    // Addresses are unique per line only.
    QTest::newRow("address of another line") << "6" << "2" << "1" << "6|2|Patio|1|Null";
    QTest::newRow("address 0, number 0") << "0" << "1" << "0" << "0|1|Patio|0|Null";
}

void TestNuevoLector::anadido()
{
    QFETCH(QString, numero);
    QFETCH(QString, puerto);
    QFETCH(QString, direccion);
    QFETCH(QString, fila);
    Banco b;
    QVERIFY(b.listo());
    b.arranca();
    Operador::clear();
    Entrada despues;
    bool abierta = false;
    Anade(b, {numero, "Patio", puerto, direccion}, &despues, &abierta);
    QVERIFY2(mensajes().isEmpty(), qPrintable(mensajes().join('\n')));
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QVERIFY(b.filas(Controladores).contains(fila));
    QCOMPARE(b.filas(Controladores).size(), 4);
    // Ready for the next controller.
    QVERIFY(abierta);
    QCOMPARE(despues.numero + despues.descripcion + despues.puerto + despues.direccion, QString());
    // The list shows it in number order.
    TF_Main *m = b.m();
    QCOMPARE(m->Lectores()->L1_Contr->topLevelItemCount(), 4);
    QTreeWidgetItem *nueva = nullptr;
    for (int i = 0; i < m->Lectores()->L1_Contr->topLevelItemCount(); ++i)
        if (m->Lectores()->L1_Contr->topLevelItem(i)->text(0) == numero)
            nueva = m->Lectores()->L1_Contr->topLevelItem(i);
    QVERIFY(nueva);
    QCOMPARE(textos(nueva), QStringList({numero, "Patio", puerto, " ", direccion}));
    QCOMPARE(m->Lectores()->L1_Contr->topLevelItem(3)->text(0), numero.toInt() > 3 ? numero : QStringLiteral("3"));
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QVERIFY(b.en_reposo());
}

void TestNuevoLector::soloDigitos_data()
{
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<QString>("queda");

    QTest::newRow("number") << "F_Contr_N/Edit1" << "1a2b3" << "12";
    QTest::newRow("port") << "F_Contr_N/Edit3" << "x7 " << "7";
    QTest::newRow("address") << "F_Contr_N/Edit4" << "-31" << "31";
    QTest::newRow("description takes any text") << "F_Contr_N/Edit2" << "Puerta 2" << "Puerta 2";
    QTest::newRow("lock time") << "F_edit_controller/Edit4" << "9.5" << "95";
    QTest::newRow("open time") << "F_edit_controller/Edit5" << "+0" << "0";
}

void TestNuevoLector::soloDigitos()
{
    QFETCH(QString, campo);
    QFETCH(QString, tecleado);
    QFETCH(QString, queda);
    Entorno e;
    TF_Contr_N nuevo;
    TF_edit_controller editar;
    QWidget *ventana = campo.startsWith("F_Contr_N") ? static_cast<QWidget *>(&nuevo) : static_cast<QWidget *>(&editar);
    auto *edit = ventana->findChild<QLineEdit *>(campo.section('/', 1));
    QVERIFY(edit);
    edit->setEnabled(true);
    edit->clear();
    QTest::keyClicks(edit, tecleado);
    QCOMPARE(edit->text(), queda);
    // Pasted text is held to the same rule.
    if (queda != tecleado) {
        edit->clear();
        edit->insert(tecleado);
        QVERIFY(edit->text() != tecleado);
    }
}
