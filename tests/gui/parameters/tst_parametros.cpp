#include "tst_parametros.h"

#include "entorno.h"

#include "app/pagina_parametros.h"
#include "app/tf_main.h"
#include "app/tf_parametros_app.h"
#include "app/ventanas.h"
#include "app/ventanas_instalaciones.h"
#include "model/variables.h"
#include "ui/operador.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using kv::ui::Operador;

namespace {

const QStringList Lectores = {
    "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(2,1,'','Garage',1)",
    "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(3,1,'','Main door',2)",
};

const QString Ajustes = QStringLiteral("Liberar_tarj=false\r\nTestear_cx=true\r\nEl_inc=0\r\n");

QByteArray Fichero(const Entorno &e)
{
    QFile f(e.inst.systemDir() + QStringLiteral("/KEYVANE20.INI"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The parameters page's button pressed as the operator does; accion runs on
// the window once it is up.
void Abre(std::function<void(TF_Parametros_app *)> accion)
{
    Operador::setNextDialogAction([accion](QDialog *d) { accion(static_cast<TF_Parametros_app *>(d)); });
    QTest::mouseClick(Ventanas::F_Main->Parametros()->SpeedButton29, Qt::LeftButton);
}

QStringList Tipos()
{
    QStringList t;
    for (const Operador::Registro &r : Operador::history())
        t << r.tipo + QLatin1Char(':') + r.texto;
    return t;
}

// A click on the indicator of a radio button or check box, where the
// operator aims: the middle of a wide one is past its text.
void Marca(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// Picks entry i of a drop-down list with the keyboard, as the operator would.
void Elige(QComboBox *c, int i)
{
    c->setFocus();
    c->setCurrentIndex(i);
    emit c->activated(i);
}

} // namespace

void TestParametros::aceptarSinCambios()
{
    Entorno e(Ajustes);
    QVERIFY(e.sql(1, Lectores));
    e.arranca();
    e.entra("admin", "admin");
    const QByteArray antes = Fichero(e);
    Operador::clear();
    bool visto = false;
    Abre([&](TF_Parametros_app *w) {
        visto = true;
        QVERIFY(w->isVisible());
        QVERIFY(!w->xpGroupBox2->isVisible());
        QVERIFY(w->R5->isChecked());
        QVERIFY(w->R8->isChecked());
        QCOMPARE(w->C_Idioma->currentText(), QStringLiteral("ENGLISH"));
        QVERIFY(!w->CH_Lectura_Lector->isChecked());
        QCOMPARE(w->C_Lectores_Lectura->count(), 2);
        QCOMPARE(w->C_Lectores_Lectura->itemText(1), QStringLiteral("3 Main door"));
        QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    });
    QVERIFY(visto);
    QCOMPARE(Fichero(e), antes);
    QCOMPARE(Tipos(), QStringList{"modal:" + Ventanas::F_Parametros_app->windowTitle()});
    QVERIFY(Ventanas::F_Main->isVisible());
}

void TestParametros::cambiarLiberacion()
{
    Entorno e(Ajustes);
    e.arranca();
    e.entra("admin", "admin");
    Operador::clear();
    Operador::setNextAnswer(QMessageBox::No);
    Abre([](TF_Parametros_app *w) {
        Marca(w->R6);
        QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    });
    QVERIFY2(Fichero(e).contains("Liberar_tarj=true"), qPrintable(Tipos().join('|') + Fichero(e)));
    QVERIFY(Variables::Liberar_tarj);
    QCOMPARE(Tipos().last(), "question:" + Variables::Mensaje("Variables_variables_F_Main_4"));
    // No keeps the program running with the new value.
    QVERIFY(Ventanas::F_Main->isVisible());

    // Yes closes the main window, which ends the program.
    Operador::setNextAnswer(QMessageBox::Yes);
    Abre([](TF_Parametros_app *w) {
        Marca(w->R7);
        QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    });
    QVERIFY(Fichero(e).contains("Testear_cx=false"));
    QVERIFY(!Ventanas::F_Main->isVisible());
}

void TestParametros::idiomaCancelado()
{
    Entorno e(Ajustes);
    e.arranca();
    e.entra("admin", "admin");
    Operador::clear();
    // A language and a value picked, then Cancelar: nothing is in effect,
    // not even for the next time the settings are written.
    Abre([](TF_Parametros_app *w) {
        Elige(w->C_Idioma, w->C_Idioma->findText(QString::fromUtf8("ESPAÑOL")));
        Marca(w->R6);
        QTest::mouseClick(w->B_Cancelar, Qt::LeftButton);
    });
    QCOMPARE(Tipos().at(1), "message:" + Variables::Mensaje("Variables_variables_F_Main_5"));
    QCOMPARE(Variables::Idioma, QStringLiteral("ENGLISH"));
    QVERIFY(!Variables::Liberar_tarj);
    // The close box is Cancel too.
    Abre([](TF_Parametros_app *w) {
        Elige(w->C_Idioma, w->C_Idioma->findText(QString::fromUtf8("ESPAÑOL")));
        w->close();
    });
    QCOMPARE(Variables::Idioma, QStringLiteral("ENGLISH"));
    Abre([](TF_Parametros_app *w) {
        Marca(w->R6);
        QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    });
    QVERIFY(Fichero(e).contains("Idioma=ENGLISH"));

    // Accepted, the language is a change like any other: written and asked.
    Operador::clear();
    Abre([](TF_Parametros_app *w) {
        Elige(w->C_Idioma, w->C_Idioma->findText(QString::fromUtf8("ESPAÑOL")));
        QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    });
    QVERIFY(Fichero(e).contains("Idioma=ESPA\xd1OL"));
    QCOMPARE(Tipos().last(), "question:" + Variables::Mensaje("Variables_variables_F_Main_4"));
}

void TestParametros::lectorDeLectura()
{
    Entorno e(Ajustes + QStringLiteral("USA_LECTOR=3\r\n"));
    QVERIFY(e.sql(1, Lectores));
    e.arranca();
    e.entra("admin", "admin");
    QVERIFY(Variables::Lector_Activo);
    Abre([](TF_Parametros_app *w) {
        QVERIFY(w->CH_Lectura_Lector->isChecked());
        QCOMPARE(w->C_Lectores_Lectura->currentText(), QStringLiteral("3 Main door"));
        // Unticked: no reader reads card codes.
        Marca(w->CH_Lectura_Lector);
        QVERIFY(!w->CH_Lectura_Lector->isChecked());
        QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    });
    QVERIFY(Variables::USA_LECTOR.isEmpty());
    QVERIFY(!Variables::Lector_Activo);
    QVERIFY(Fichero(e).contains("USA_LECTOR=") && !Fichero(e).contains("USA_LECTOR=3"));

    // Ticked first, the reader chosen afterwards: the choice is what is stored.
    Abre([](TF_Parametros_app *w) {
        QCOMPARE(w->C_Lectores_Lectura->currentIndex(), -1);
        Marca(w->CH_Lectura_Lector);
        Elige(w->C_Lectores_Lectura, 0);
        QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
    });
    QCOMPARE(Variables::USA_LECTOR, QStringLiteral("2"));
    QVERIFY(Variables::Lector_Activo);
    QCOMPARE(Variables::Lector_Codigo, 2);
    QVERIFY(Fichero(e).contains("USA_LECTOR=2"));

    // Another reader chosen, then Cancelar: the reader in use stays.
    Abre([](TF_Parametros_app *w) {
        Elige(w->C_Lectores_Lectura, 1);
        QTest::mouseClick(w->B_Cancelar, Qt::LeftButton);
    });
    QCOMPARE(Variables::Lector_Codigo, 2);
    QCOMPARE(Variables::USA_LECTOR, QStringLiteral("2"));
}
