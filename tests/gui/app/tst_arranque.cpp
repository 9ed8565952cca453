#include "tst_arranque.h"

#include "entorno.h"
#include "fbtest.h"

#include "app/tf_delete_conf.h"
#include "app/tf_login.h"
#include "app/tf_main.h"
#include "app/tf_nuevo_login.h"
#include "app/ventanas.h"
#include "lang/ui/traducir.h"
#include "model/globales.h"
#include "model/variables.h"
#include "ui/operador.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

void TestArranque::directorioNuevo()
{
    Entorno e;
    QVERIFY(e.valido());
    e.arranca();

    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QVERIFY(Ventanas::F_Login->isVisible());
    QVERIFY(!Ventanas::F_Main->isVisible());
    TF_Main *m = Ventanas::F_Main;
    // The factory set's only installation is open, named in both titles.
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("1"));
    QCOMPARE(m->windowTitle(), QStringLiteral("Keyvane 2.1 - Main site"));
    QCOMPARE(m->Arbol1->topLevelItem(0)->text(0), QStringLiteral("Keyvane - Main site"));
    QCOMPARE(m->Selector().Entradas(), QStringList{QStringLiteral("1.- Main site")});
    QVERIFY(!m->Selector().Eliminar_Habilitado());
    // Every node shows; the readers were tested last, so their page is up.
    QVERIFY(m->Arbol1->topLevelItem(0)->isExpanded());
    QVERIFY(m->Arbol1->topLevelItem(1)->isExpanded());
    QCOMPARE(m->PageControl1->currentWidget(), m->TabSheet1);
    QVERIFY(m->Lectores()->Panel()->isVisibleTo(m));
    QVERIFY(!m->Instalacion()->Panel()->isVisibleTo(m));
    QVERIFY(!m->PANEL_TOOLS->isVisibleTo(m));
    QVERIFY(!m->PANEL_REPORTS->isVisibleTo(m));
    QCOMPARE(m->Meses.value(0), QStringLiteral("January"));
    QCOMPARE(m->Tipos_Incidencia.size(), 10);
    // Both settings are on by default: the maintenance runs every 30 s.
    QVERIFY(m->Eliminar_Tarj_cad_Y_Test_Lectores->isActive());
    QCOMPARE(m->Eliminar_Tarj_cad_Y_Test_Lectores->interval(), 30000);

    // The report labels of the current language, campo_6 repeating campo_4.
    kv::test::FbConnection c(e.inst.mainDatabase());
    QCOMPARE(c.rows("select Idioma, campo_1, campo_4, campo_6 from LANGREP"),
             QStringList{QStringLiteral("ENGLISH|Users|Card|Card")});
}

void TestArranque::reparacionDeFabrica()
{
    Entorno e;
    // Work the operator did before the main database went missing, and an
    // installation file that the lost main database listed.
    QVERIFY(e.sql(1, {"INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) "
                      "VALUES (4, 7, '', 'Kept door', 1)"}));
    QVERIFY(kv::test::copyFile(e.inst.installationFile(1), e.inst.installationFile(6)));
    QVERIFY(QFile::remove(e.inst.mainDatabase()));
    QVERIFY(QFile::remove(e.inst.databaseDir() + "/INSTALACION_B.FDB"));

    e.arranca();

    QVERIFY(QFile::exists(e.inst.mainDatabase()));
    QVERIFY(QFile::exists(e.inst.databaseDir() + "/INSTALACION_B.FDB"));
    QVERIFY(QFile::exists(e.inst.installationFile(6)));
    QVERIFY(Ventanas::F_Login->isVisible());
    // Login works again on the factory login, and installation 1 still has its reader.
    QCOMPARE(columna(Ventanas::F_Main->Instalacion()->Lista_INI, 1), QStringList{QStringLiteral("Kept door")});
    // The kept installation is listed again, named as recovered in the
    // language chosen, and its code is never given to a new one.
    QCOMPARE(Ventanas::F_Main->Selector().Entradas(),
             (QStringList{QStringLiteral("1.- Main site"), QStringLiteral("6.- Recovered installation 6")}));
    kv::test::FbConnection principal(e.inst.mainDatabase());
    QCOMPARE(principal.scalar("select gen_id(INSTALACION_ID, 0) from rdb$database").toInt(), 6);
    e.entra("admin", "admin");
    QVERIFY(Ventanas::F_Main->isVisible());
}

void TestArranque::instalacionRecordada_data()
{
    QTest::addColumn<QString>("ajuste");
    QTest::addColumn<QString>("abierta");
    QTest::newRow("remembered") << "LAST_INSTALLATION=2\r\n" << "2";
    QTest::newRow("gone") << "LAST_INSTALLATION=9\r\n" << "1";
    QTest::newRow("not a number") << "LAST_INSTALLATION=2; drop table usuario\r\n" << "1";
    QTest::newRow("missing") << "" << "1";
    QTest::newRow("other case") << "last_installation=2\r\n" << "2";
}

void TestArranque::instalacionRecordada()
{
    QFETCH(QString, ajuste);
    QFETCH(QString, abierta);
    Entorno e(ajuste);
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    e.arranca();

    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QCOMPARE(Variables::Instalacion_Actual, abierta);
    const QString nombre = abierta == "2" ? "Oficina" : "Main site";
    QCOMPARE(Ventanas::F_Main->windowTitle(), "Keyvane 2.1 - " + nombre);
    QCOMPARE(Ventanas::F_Main->Selector().Texto(), abierta + ".- " + nombre);
    // Two installations: either may be deleted.
    QVERIFY(Ventanas::F_Main->Selector().Eliminar_Habilitado());
    kv::test::FbConnection c(e.inst.mainDatabase());
    QVERIFY(c.isOpen());
    QCOMPARE(c.scalar("select count(*) from usuario").toInt(), 1);
}

void TestArranque::pasoFallido_data()
{
    QTest::addColumn<bool>("sin_fabrica");
    QTest::newRow("main database unreadable") << false;
    QTest::newRow("main database and factory set missing") << true;
}

void TestArranque::pasoFallido()
{
    QFETCH(bool, sin_fabrica);
    Entorno e;
    if (sin_fabrica) {
        QVERIFY(QFile::remove(e.inst.mainDatabase()));
        QVERIFY(QDir(e.inst.databaseDir() + "/BK20").removeRecursively());
    } else {
        QFile f(e.inst.mainDatabase());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'x'));
    }
    e.arranca();

    // The failure is shown, the rest of the start-up skipped, and the login
    // window is there all the same; it cannot let anyone in.
    QCOMPARE(erroresMostrados().size(), 1);
    QVERIFY(Ventanas::F_Login->isVisible());
    QVERIFY(Variables::Mensajes.isEmpty());
    kv::ui::Operador::clear();
    e.entra("admin", "admin");
    QVERIFY(!Ventanas::F_Main->isVisible());
    QVERIFY(Ventanas::F_Login->isVisible());
    // Either the database error or the refusal is what the operator sees.
    const auto h = kv::ui::Operador::history();
    QVERIFY(!h.isEmpty());
    QVERIFY(h.last().tipo == "error" || h.last().texto == "Login Incorrecto");
}

void TestArranque::instalacionPerdida()
{
    Entorno e;
    QVERIFY(QFile::remove(e.inst.installationFile(1)));
    e.arranca();
    QCOMPARE(erroresMostrados().size(), 1);
    QVERIFY(erroresMostrados().first().contains("INSTALACION_1.FDB"));

    // The logins are in the main database, which is fine: the operator gets
    // in and finds every page empty, and nothing breaks on the way.
    kv::ui::Operador::clear();
    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    QVERIFY(m->isVisible());
    for (Pagina *p : m->Paginas())
        if (p)
            m->Muestra(*p);
    m->SpeedButton11Click();
    QCOMPARE(m->Instalacion()->Lista_INI->topLevelItemCount(), 0);
    QCOMPARE(m->Usuarios()->Lista1->topLevelItemCount(), 0);
    QCOMPARE(m->Tarjetas()->Lista3->topLevelItemCount(), 0);
    QCOMPARE(m->Logins()->Lista4->topLevelItemCount(), 1);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
}

void TestArranque::unSoloSufijo()
{
    Entorno e;
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    e.arranca();
    TF_Main *m = Ventanas::F_Main;

    // Switching the way the installation window does: close, select, open.
    Globales::Sistema.reset();
    m->Selector().Selecciona(1);
    m->Abre_Instalacion("2");
    QCOMPARE(m->windowTitle(), QStringLiteral("Keyvane 2.1 - Oficina"));
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("2"));

    // Loading the list again replaces the tree root's suffix as well.
    m->Selector().Vacia();
    m->Carga_Instalaciones("1");
    QCOMPARE(m->Arbol1->topLevelItem(0)->text(0), QStringLiteral("Keyvane - Main site"));
    QCOMPARE(m->windowTitle(), QStringLiteral("Keyvane 2.1 - Main site"));
    QCOMPARE(m->Selector().Entradas().size(), 2);
}

void TestArranque::ventanasTraducidas_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("titulo"); // empty: not compared
    QTest::newRow("F_Login") << "F_Login" << "";
    QTest::newRow("F_Main") << "F_Main" << "";
    QTest::newRow("F_Delete_Conf") << "F_Delete_Conf" << "";
    QTest::newRow("F_Nuevo_login") << "F_Nuevo_login" << "";
    QTest::newRow("F_Contr_N") << "F_Contr_N" << "New Controller";
    QTest::newRow("F_edit_controller") << "F_edit_controller" << "Edit Reader";
    QTest::newRow("F_Clone_Controller") << "F_Clone_Controller" << "Clone Controller";
    QTest::newRow("F_Parametros_app") << "F_Parametros_app" << "Application Parameters";
    // The progress window takes its title from the edit window's cancel button.
    QTest::newRow("F_Muestra_recep") << "F_Muestra_recep" << "Cancel";
}

void TestArranque::ventanasTraducidas()
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
    // Every key of the window's table finds its control, and no text was
    // left at the missing-text marker.
    QCOMPARE(Lang::Traducir_Ventana(w), QStringList());
    if (!titulo.isEmpty())
        QCOMPARE(w->windowTitle(), titulo);
    QVERIFY(!w->windowTitle().contains(Variables::Texto_Ausente));
    for (QLabel *l : w->findChildren<QLabel *>())
        QVERIFY2(!l->text().contains(Variables::Texto_Ausente), qPrintable(l->objectName()));
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
        QVERIFY2(!b->text().contains(Variables::Texto_Ausente), qPrintable(b->objectName()));
    for (QGroupBox *g : w->findChildren<QGroupBox *>())
        QVERIFY2(!g->title().contains(Variables::Texto_Ausente), qPrintable(g->objectName()));
}

void TestArranque::cierreGuardaAjustesYTermina()
{
    Entorno e("LAST_INSTALLATION=1\r\n");
    e.arranca();
    Variables::Testear_cx = false;
    QTimer::singleShot(0, [&e] {
        e.entra("admin", "admin");
        Ventanas::F_Main->SpeedButton13->click();
    });
    // The loop ends because closing the main window closes the login window.
    QCOMPARE(e.programa->Ejecuta(), 0);
    QFile f(e.inst.systemDir() + "/KEYVANE20.INI");
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray ajustes = f.readAll();
    QVERIFY2(ajustes.contains("Testear_cx=false"), ajustes.constData());
    QVERIFY(ajustes.contains("Idioma=ENGLISH"));
}

void TestArranque::cerrarLoginTermina()
{
    Entorno e;
    e.arranca();
    QTimer::singleShot(0, [] { Ventanas::F_Login->close(); });
    QCOMPARE(e.programa->Ejecuta(), 0);
    // Closed directly, nothing of the shut-down ran: no settings were written back.
    QFile f(e.inst.systemDir() + "/KEYVANE20.INI");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(!f.readAll().contains("Testear_cx"));
}
