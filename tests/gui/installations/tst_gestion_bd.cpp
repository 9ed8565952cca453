#include "tst_gestion_bd.h"

#include "entorno.h"
#include "fbtest.h"
#include "simprocess.h"

#include "app/pagina_parametros.h"
#include "app/tf_delete_conf.h"
#include "app/tf_gestion_bd.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "app/ventanas_instalaciones.h"
#include "model/globales.h"
#include "model/serviciocopia.h"
#include "model/variables.h"
#include "model/zarvcoleccionusuario.h"
#include "ui/imagen_pulsable.h"
#include "ui/operador.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using kv::ui::Operador;

namespace {

TF_Gestion_BD *g()
{
    return Ventanas::F_Gestion_BD;
}

TF_Main *m()
{
    return Ventanas::F_Main;
}

// The program started and the administrator logged in, with the window up
// (shown as the parameters page's button shows it, without its modal loop).
void Prepara(Entorno &e)
{
    e.arranca();
    e.entra("admin", "admin");
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    g()->show();
}

// The operator picks an entry from C2's list.
void Elige(const QString &entrada)
{
    const int i = g()->C2->findText(entrada);
    QVERIFY2(i >= 0, qPrintable(entrada));
    g()->C2->setCurrentIndex(i);
    emit g()->C2->activated(i);
}

QStringList Entradas()
{
    QStringList r;
    for (int i = 0; i < g()->C2->count(); ++i)
        r << g()->C2->itemText(i);
    return r;
}

// The cardholders of the open installation as the users page lists them.
QStringList Titulares()
{
    m()->Usuarios()->Refrescar();
    return columna(m()->Usuarios()->Lista1, 0);
}

QString Cardholder(const QString &nombre)
{
    return QStringLiteral("INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), '%1', 'Apellido', 'S', '')")
        .arg(nombre);
}

bool Escribe(const QString &ruta, const QByteArray &bytes)
{
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Nothing but the installations' files, the template and the main database.
QStringList Ficheros_BD(const Entorno &e)
{
    QStringList r = QDir(e.inst.databaseDir()).entryList(QDir::Files);
    r.sort();
    return r;
}

} // namespace

void TestGestionBD::abiertaDesdeParametros()
{
    Entorno e;
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    e.arranca();
    e.entra("admin", "admin");
    bool visto = false;
    Operador::setNextDialogAction([&](QDialog *d) {
        visto = d == g() && d->isVisible();
        // The main window's list, the open installation selected.
        QCOMPARE(Entradas(), (QStringList{"1.- Main site", "2.- Oficina"}));
        QCOMPARE(g()->C2->currentText(), QStringLiteral("1.- Main site"));
        QVERIFY(g()->B_Eliminar->isEnabled());
        QCOMPARE(g()->B_export->text(), QStringLiteral("Export"));
    });
    QTest::mouseClick(m()->Parametros()->SpeedButton28, Qt::LeftButton);
    QVERIFY(visto);
    QVERIFY(!g()->isVisible());
}

void TestGestionBD::unaSolaInstalacion()
{
    Entorno e;
    Prepara(e);
    QVERIFY(!g()->B_Eliminar->isEnabled());
    // The same entry picked again switches nothing and changes nothing.
    Elige("1.- Main site");
    QVERIFY(!g()->B_Eliminar->isEnabled());
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("1"));

    const QString kvd = e.inst.root() + "/una.kvd";
    Operador::setNextFileName(kvd);
    QTest::mouseClick(g()->B_export, Qt::LeftButton);
    Operador::setNextFileName(kvd);
    QTest::mouseClick(g()->B_import, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QVERIFY(!g()->B_Eliminar->isEnabled());
    QVERIFY(g()->B_Nueva->isEnabled());
    // With no file chosen the buttons come back all the same.
    Operador::setNextFileName(QString());
    QTest::mouseClick(g()->B_import, Qt::LeftButton);
    QVERIFY(!g()->B_Eliminar->isEnabled());
    QVERIFY(g()->B_Nueva->isEnabled());
}

void TestGestionBD::crear()
{
    Entorno e;
    Prepara(e);
    // Nothing typed: nothing made.
    QTest::mouseClick(g()->B_Nueva, Qt::LeftButton);
    QCOMPARE(Entradas(), QStringList{"1.- Main site"});

    QTest::keyClicks(g()->E_Nueva, "O'Brien's site");
    QTest::mouseClick(g()->B_Nueva, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QCOMPARE(Entradas(), (QStringList{"1.- Main site", "2.- O'Brien's site"}));
    QCOMPARE(g()->C2->currentText(), QStringLiteral("2.- O'Brien's site"));
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("2"));
    QCOMPARE(m()->windowTitle(), QStringLiteral("Keyvane 2.1 - O'Brien's site"));
    QVERIFY(g()->E_Nueva->text().isEmpty());
    QVERIFY(g()->B_Eliminar->isEnabled());
    QVERIFY(QFileInfo::exists(e.inst.installationFile(2)));
}

void TestGestionBD::eliminar()
{
    Entorno e("LAST_INSTALLATION=2\r\n");
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    Prepara(e);
    QCOMPARE(g()->C2->currentText(), QStringLiteral("2.- Oficina"));

    Operador::setNextAnswer(0);
    QTest::mouseClick(g()->B_Eliminar, Qt::LeftButton);
    QCOMPARE(Ventanas::F_Delete_Conf->Label1->text(),
             QStringLiteral("Do you want to delete the installation - Oficina?"));
    QCOMPARE(Entradas(), (QStringList{"1.- Main site", "2.- Oficina"}));
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("2"));

    Operador::setNextAnswer(1);
    QTest::mouseClick(g()->B_Eliminar, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    // The row and the file are gone, and the first installation is open.
    QCOMPARE(Entradas(), QStringList{"1.- Main site"});
    QCOMPARE(g()->C2->currentText(), QStringLiteral("1.- Main site"));
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("1"));
    QCOMPARE(m()->windowTitle(), QStringLiteral("Keyvane 2.1 - Main site"));
    QCOMPARE(Ficheros_BD(e), (QStringList{"INSTALACION_1.FDB", "INSTALACION_B.FDB", "KEYVANE.FDB"}));
    QVERIFY(!g()->B_Eliminar->isEnabled());
}

void TestGestionBD::sufijosTrasDosCambios()
{
    Entorno e;
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    QVERIFY(e.nuevaInstalacion(3, "Tres"));
    Prepara(e);
    Elige("3.- Tres");
    QCOMPARE(m()->windowTitle(), QStringLiteral("Keyvane 2.1 - Tres"));
    QCOMPARE(m()->Arbol1->topLevelItem(0)->text(0), QStringLiteral("Keyvane - Tres"));
    Elige("2.- Oficina");
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QCOMPARE(m()->windowTitle(), QStringLiteral("Keyvane 2.1 - Oficina"));
    QCOMPARE(m()->Arbol1->topLevelItem(0)->text(0), QStringLiteral("Keyvane - Oficina"));
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("2"));
    QCOMPARE(g()->C2->currentText(), QStringLiteral("2.- Oficina"));
    QVERIFY(g()->B_Eliminar->isEnabled());
}

void TestGestionBD::recordada_data()
{
    QTest::addColumn<bool>("salir");
    QTest::addColumn<QString>("abierta");
    QTest::newRow("close box") << false << "1";
    QTest::newRow("B_Salir") << true << "2";
}

void TestGestionBD::recordada()
{
    QFETCH(bool, salir);
    QFETCH(QString, abierta);
    Entorno e("LAST_INSTALLATION=1\r\n");
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    Prepara(e);
    Elige("2.- Oficina");
    if (salir)
        QTest::mouseClick(g()->B_Salir, Qt::LeftButton);
    else
        g()->close();
    QVERIFY(!g()->isVisible());
    // The main window writes the settings as it closes; the next start opens
    // the installation remembered.
    m()->close();
    e.para();
    e.arranca();
    QCOMPARE(Variables::Instalacion_Actual, abierta);
}

void TestGestionBD::exportarEImportar()
{
    Entorno e;
    QVERIFY(e.sql(1, {Cardholder("Ana")}));
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    Prepara(e);

    // The backup of installation 1, taken with it open; the dialog's name
    // gets the extension.
    const QString base = e.inst.root() + "/copia";
    Operador::setNextFileName(base);
    QTest::mouseClick(g()->B_export, Qt::LeftButton);
    QVERIFY(QFileInfo(base + ".kvd").size() > 0);

    Elige("2.- Oficina");
    QVERIFY(Titulares().isEmpty());
    // The incidence view read installation 2 through a connection of its own.
    m()->SpeedButton1Click();

    Operador::setNextFileName(base + ".kvd");
    QTest::mouseClick(g()->B_import, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    // Installation 2, under its own code and name, with installation 1's contents.
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("2"));
    QCOMPARE(Entradas(), (QStringList{"1.- Main site", "2.- Oficina"}));
    QCOMPARE(g()->C2->currentText(), QStringLiteral("2.- Oficina"));
    QCOMPARE(Titulares(), QStringList{"Ana"});
    QVERIFY(g()->B_Eliminar->isEnabled());
    QVERIFY(g()->B_Nueva->isEnabled());
    // No command file, no password on disk, nothing left beside the installations.
    QVERIFY(!QFileInfo::exists(e.inst.programDir() + "/tmp_execute.sh"));
    QCOMPARE(Ficheros_BD(e),
             (QStringList{"INSTALACION_1.FDB", "INSTALACION_2.FDB", "INSTALACION_B.FDB", "KEYVANE.FDB"}));
}

void TestGestionBD::importacionRechazada_data()
{
    QTest::addColumn<QString>("fichero");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("corrupt") << "corrupt.kvd" << "The file is not a backup of the database.";
    QTest::newRow("foreign") << "foreign.kvd" << "The backup holds another database, not an installation.";
}

void TestGestionBD::importacionRechazada()
{
    QFETCH(QString, fichero);
    QFETCH(QString, motivo);
    Entorno e("LAST_INSTALLATION=2\r\n");
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    QVERIFY(e.sql(2, {Cardholder("Keep")}));
    QByteArray ruido(8192, '\0');
    for (int i = 0; i < ruido.size(); ++i)
        ruido[i] = char((i * 7919 + 13) & 0xff);
    QVERIFY(Escribe(e.inst.root() + "/corrupt.kvd", ruido));
    // A good backup of the main database, made before the program holds it.
    QVERIFY(ServicioCopia({QString(), "sysdba", "x"})
                .Copia(e.inst.mainDatabase(), e.inst.root() + "/foreign.kvd")
                .Correcto);
    Prepara(e);

    Operador::setNextFileName(e.inst.root() + "/" + fichero);
    QTest::mouseClick(g()->B_import, Qt::LeftButton);
    const QStringList errores = erroresMostrados();
    QCOMPARE(errores.size(), 1);
    QVERIFY2(errores.first().startsWith("The backup was not restored: the installation is as it was.\n" + motivo),
             qPrintable(errores.first()));
    // Open and as it was.
    QCOMPARE(Variables::Instalacion_Actual, QStringLiteral("2"));
    QCOMPARE(g()->C2->currentText(), QStringLiteral("2.- Oficina"));
    QCOMPARE(Titulares(), QStringList{"Keep"});
    QVERIFY(g()->B_Eliminar->isEnabled());
    QVERIFY(g()->B_Nueva->isEnabled());
    QCOMPARE(Ficheros_BD(e),
             (QStringList{"INSTALACION_1.FDB", "INSTALACION_2.FDB", "INSTALACION_B.FDB", "KEYVANE.FDB"}));
}

void TestGestionBD::registroSigueALaInstalacion()
{
    Entorno e;
    const QString lector = "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) "
                           "VALUES (1, 1, '', '%1', 1)";
    QVERIFY(e.sql(1, {lector.arg("Puerta uno")}));
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    QVERIFY(e.sql(2, {lector.arg("Puerta dos")}));
    kv::test::SimProcess com1(1, {"--controllers", "1"}, e.inst.portsDir());
    Prepara(e);
    QTest::mouseClick(m()->I_PLAY_OFF, Qt::LeftButton);
    QVERIFY(Variables::Registrando);

    Elige("2.- Oficina");
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    // Installation 2's reader listens: the event is its, stored in its log
    // and shown live.
    QTRY_VERIFY_WITH_TIMEOUT(com1.lineHeld(), 5000);
    QVERIFY(com1.ok("card 1 12345"));
    QTreeWidget *l = m()->Lista_Incidencias;
    QTRY_VERIFY_WITH_TIMEOUT(l->topLevelItemCount() > 0 && l->topLevelItem(0)->text(2) == "Puerta dos", 10000);
    {
        kv::test::FbConnection dos(e.inst.installationFile(2));
        QVERIFY(dos.scalar("select count(*) from zarvincidencia").toInt() > 0);
        kv::test::FbConnection uno(e.inst.installationFile(1));
        QCOMPARE(uno.scalar("select count(*) from zarvincidencia").toInt(), 0);
    }

    // Registering off: the next installation opened leaves the line alone.
    QTest::mouseClick(m()->I_PLAY_ON, Qt::LeftButton);
    Elige("1.- Main site");
    QVERIFY(!com1.lineHeld());
    QVERIFY(!Globales::Sistema->Incidencias() || !Variables::Registrando);
}
