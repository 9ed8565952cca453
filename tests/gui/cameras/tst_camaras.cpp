#include "tst_camaras.h"

#include "servidor_mjpeg.h"

#include "cameras/tf_camera_control.h"
#include "cameras/tf_new_camera.h"
#include "cameras/ventanas_camaras.h"
#include "cameras/vista_mjpeg.h"
#include "fbtest.h"
#include "model/globales.h"
#include "model/nivel.h"
#include "model/variables.h"
#include "platform/paths.h"
#include "tempinstall.h"
#include "ui/accion.h"
#include "ui/imagen_pulsable.h"
#include "ui/operador.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using kv::ui::Operador;

namespace {

QByteArray Seccion(int n, const QString &desc, const QString &url)
{
    return QStringLiteral("[%1]\r\ncamara_desc=%2\r\ncamara_MAC=%3\r\n").arg(n).arg(desc, url).toLatin1();
}

QStringList Nodos(const QTreeWidget *arbol)
{
    QStringList r;
    for (int i = 0; i < arbol->topLevelItemCount(); ++i)
        r << arbol->topLevelItem(i)->text(0);
    return r;
}

} // namespace

void TestCameraControl::Ajustes(const QByteArray &contenido)
{
    QFile f(m_dir.filePath(QStringLiteral("KEYVANE20.INI")));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contenido);
}

QByteArray TestCameraControl::Leer_Ajustes() const
{
    QFile f(m_dir.filePath(QStringLiteral("KEYVANE20.INI")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestCameraControl::init()
{
    QVERIFY(m_dir.isValid());
    kv::Paths::setSystemDir(m_dir.path());
    Ajustes("[General]\r\nIdioma=ENGLISH\r\n");
    QFile::remove(m_dir.filePath(QStringLiteral("Keyvane20_Lang.ini")));
    QVERIFY(QFile::copy(QStringLiteral(KEYVANE_SOURCE_DIR "/data/Keyvane20_Lang.ini"),
                        m_dir.filePath(QStringLiteral("Keyvane20_Lang.ini"))));
    Variables::Idioma = QStringLiteral("ENGLISH");
    Ventanas_Camaras::Espera_Eco_ms = 600;
    Globales::Servidor = std::make_unique<ZARVServer>();
    Globales::Servidor->Abre_Sesion_Consola();
    Operador::clear();
}

void TestCameraControl::cleanup()
{
    Globales::Servidor.reset();
    kv::Paths::reset();
    Operador::clear();
}

void TestCameraControl::lista_y_vista_conjunta()
{
    Ajustes("[General]\r\nIdioma=ENGLISH\r\n" + Seccion(1, "Door", "http://127.0.0.1/orvik-cgi/mjpg/video.cgi")
            + Seccion(3, "Yard", "http://127.0.0.1/orvik-cgi/mjpg/video.cgi"));
    TF_Camera_Control w;
    QCOMPARE(Nodos(w.Arbol1), (QStringList{"1 Door", "3 Yard"}));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.SpeedButton4Click();
    QVERIFY(w.Panel4->isVisible());
    QVERIFY(!w.Panel3->isVisible());
    QCOMPARE(w.L_CAM[5]->text(), QStringLiteral("1 Door"));
    QCOMPARE(w.L_CAM[6]->text(), QStringLiteral("3 Yard"));
    QCOMPARE(w.L_CAM[7]->text(), QString());
    QCOMPARE(w.L_CAM[8]->text(), QString());
    QCOMPARE(w.ORVIK[5]->size(), QSize(190, 137));
    for (int n : {1, 3, 5, 6})
        QVERIFY2(w.Configurada(n), qPrintable(QString::number(n)));
    for (int n : {2, 4, 7, 8})
        QVERIFY2(!w.Configurada(n), qPrintable(QString::number(n)));
    QVERIFY(w.ORVIK[7]->isHidden());
    QVERIFY(w.ORVIK[8]->isHidden());
    // Loopback answers the echo: both views come up and play.
    QVERIFY(QTest::qWaitFor([&] { return w.ORVIK[5]->Activa() && w.ORVIK[6]->Activa(); }, 5000));
    QVERIFY(w.ORVIK[5]->isVisible() && w.ORVIK[6]->isVisible());
    w.close();
    for (int n = 1; n <= 8; ++n)
        QVERIFY(!w.ORVIK[n]->Activa());
}

void TestCameraControl::muestra_la_camara_elegida()
{
    Servidor_Mjpeg camara;
    QVERIFY(camara.Escucha());
    camara.setCuadros(Servidor_Mjpeg::Cuadros_De_Prueba(3, 64, 48));
    Ajustes(Seccion(2, "Hall", camara.Url()) + Seccion(4, "Gate", camara.Url()));
    TF_Camera_Control w;
    w.show();
    // Showing the window plays the first camera, and only it.
    QVERIFY(QTest::qWaitFor([&] { return w.ORVIK[2]->Cuadros_Mostrados() > 3; }, 5000));
    QCOMPARE(w.Vista_Actual(), 2);
    QVERIFY(!w.ORVIK[4]->Activa());
    QCOMPARE(camara.Abiertas(), 1);
    w.Arbol1->setCurrentItem(w.Arbol1->topLevelItem(1));
    QVERIFY(QTest::qWaitFor([&] { return w.ORVIK[4]->Cuadros_Mostrados() > 3; }, 5000));
    QVERIFY(!w.ORVIK[2]->Activa());
    QVERIFY(w.ORVIK[2]->isHidden());
    QVERIFY(QTest::qWaitFor([&] { return camara.Abiertas() == 1; }, 2000));
    // The overview's views take over; the hidden single view lets go.
    w.SpeedButton4Click();
    QVERIFY(QTest::qWaitFor([&] { return w.ORVIK[5]->Cuadros_Mostrados() > 0 && w.ORVIK[6]->Cuadros_Mostrados() > 0; },
                            5000));
    QVERIFY(!w.ORVIK[4]->Conectada());
    w.close();
    QVERIFY(QTest::qWaitFor([&] { return camara.Abiertas() == 0; }, 2000));
}

void TestCameraControl::camara_inalcanzable_oculta()
{
    Ajustes(Seccion(1, "Lost", "http://192.0.2.10/orvik-cgi/mjpg/video.cgi")
            + Seccion(2, "Bad", "http://not-an-address/orvik-cgi/mjpg/video.cgi"));
    TF_Camera_Control w;
    w.show();
    w.SpeedButton4Click();
    // The window keeps working while the echoes are out.
    QElapsedTimer t;
    t.start();
    QTest::qWait(50);
    QVERIFY(t.elapsed() < 400);
    QVERIFY(QTest::qWaitFor([&] { return w.ORVIK[5]->isHidden() && w.ORVIK[6]->isHidden(); }, 3000));
    QVERIFY(!w.ORVIK[5]->Activa());
    QVERIFY(Operador::history().isEmpty()); // no message, as before
    w.Arbol1->setCurrentItem(w.Arbol1->topLevelItem(0));
    QVERIFY(QTest::qWaitFor([&] { return w.ORVIK[1]->isHidden(); }, 3000));
}

void TestCameraControl::host_de_url_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("host");
    QTest::newRow("camera") << "http://10.0.0.7/orvik-cgi/mjpg/video.cgi" << "10.0.0.7";
    QTest::newRow("no path") << "http://10.0.0.8" << "10.0.0.8";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("no slashes") << "10.0.0.9" << "";
}

void TestCameraControl::host_de_url()
{
    QFETCH(QString, url);
    QFETCH(QString, host);
    QCOMPARE(TF_Camera_Control::Host_De_URL(url), host);
}

void TestCameraControl::direccion_tecleada_data()
{
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<QString>("queda");
    QTest::newRow("15 characters") << "192.168.100.200" << "192.168.100.200";
    QTest::newRow("letters dropped") << "10.a0.b0.c7" << "10.0.0.7";
    QTest::newRow("at most 15") << "192.168.100.2001" << "192.168.100.200";
}

void TestCameraControl::direccion_tecleada()
{
    QFETCH(QString, tecleado);
    QFETCH(QString, queda);
    TF_New_Camera d;
    d.show();
    QTest::keyClicks(d.Edit3, tecleado);
    QCOMPARE(d.Edit3->text(), queda);
    QTest::keyClicks(d.Edit1, QStringLiteral("59"));
    QCOMPARE(d.Edit1->text(), QString()); // only 1 to 4
    QTest::keyClicks(d.Edit1, QStringLiteral("34"));
    QCOMPARE(d.Edit1->text(), QStringLiteral("3"));
}

void TestCameraControl::sonda_habilita_aceptar_y_edicion_deshabilita()
{
    TF_New_Camera d;
    d.show();
    QVERIFY(!d.Button2->isEnabled());
    QTest::keyClicks(d.Edit3, QStringLiteral("127.0.0.1"));
    QTest::keyClick(d.Edit3, Qt::Key_Return);
    QVERIFY(d.isVisible()); // Enter probes; it presses no button
    QVERIFY(QTest::qWaitFor([&] { return d.Button2->isEnabled(); }, 3000));
    // A click into the address, as before, and now a typed change, both ask for a new probe.
    QTest::mouseClick(d.Edit3, Qt::LeftButton);
    QVERIFY(!d.Button2->isEnabled());
    d.Image2Click();
    QVERIFY(QTest::qWaitFor([&] { return d.Button2->isEnabled(); }, 3000));
    QTest::keyClick(d.Edit3, Qt::Key_Backspace);
    QVERIFY(!d.Button2->isEnabled());
    // An address that is not IPv4 never enables it.
    QTest::keyClick(d.Edit3, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(d.Edit3, QStringLiteral("300.1.2.3"));
    QCOMPARE(d.Edit3->text(), QStringLiteral("300.1.2.3"));
    d.Image2Click();
    QTest::qWait(300);
    QVERIFY(!d.Button2->isEnabled());
    // Without a number, Aceptar does nothing.
    d.Edit3->setText(QStringLiteral("127.0.0.1"));
    d.Image2Click();
    QVERIFY(QTest::qWaitFor([&] { return d.Button2->isEnabled(); }, 3000));
    QTest::mouseClick(d.Button2, Qt::LeftButton);
    QVERIFY(d.isVisible());
    QCOMPARE(d.Respuesta, 0);
}

void TestCameraControl::anade_camara()
{
    Ajustes(Seccion(1, "Door", "http://10.0.0.1/orvik-cgi/mjpg/video.cgi"));
    TF_Camera_Control w;
    Operador::setNextDialogAction([](QDialog *v) {
        auto *d = qobject_cast<TF_New_Camera *>(v);
        QTest::keyClicks(d->Edit1, QStringLiteral("2"));
        QTest::keyClicks(d->Edit3, QStringLiteral("127.0.0.1"));
        d->Image2Click();
        QVERIFY(QTest::qWaitFor([&] { return d->Button2->isEnabled(); }, 3000));
        QTest::keyClicks(d->Edit2, QStringLiteral("Back door"));
        QTest::mouseClick(d->Button2, Qt::LeftButton);
    });
    QTest::mouseClick(w.SpeedButton1, Qt::LeftButton);
    QCOMPARE(Nodos(w.Arbol1), (QStringList{"1 Door", "2 Back door"}));
    QCOMPARE(Variables::Lee_Valor(QStringLiteral("2"), QStringLiteral("camara_MAC")),
             QStringLiteral("http://127.0.0.1/orvik-cgi/mjpg/video.cgi"));
}

void TestCameraControl::anade_numero_existente_lo_dice()
{
    Ajustes(Seccion(1, "Door", "http://10.0.0.1/orvik-cgi/mjpg/video.cgi"));
    const QByteArray antes = Leer_Ajustes();
    TF_Camera_Control w;
    Operador::setNextDialogAction([](QDialog *v) {
        auto *d = qobject_cast<TF_New_Camera *>(v);
        d->Edit1->setText(QStringLiteral("1"));
        d->Edit3->setText(QStringLiteral("10.0.0.2"));
        d->Button2->setEnabled(true); // as after a good probe
        d->Button2Click();
    });
    QTest::mouseClick(w.SpeedButton1, Qt::LeftButton);
    QCOMPARE(Leer_Ajustes(), antes);
    QCOMPARE(Operador::history().size(), 2); // the dialog, then the message
    QCOMPARE(Operador::history().at(1).tipo, QStringLiteral("message"));
    QCOMPARE(Operador::history().at(1).texto,
             Variables::Mensaje(QStringLiteral("Variables_variables_F_Camera_Control_1")) + QStringLiteral(" 1"));
}

void TestCameraControl::borra_solo_su_seccion()
{
    const QByteArray otras = "[General]\r\nIdioma=ENGLISH\r\n";
    Ajustes(otras + Seccion(1, "Door", "http://10.0.0.1/x") + Seccion(3, "Yard", "http://10.0.0.3/x")
            + Seccion(4, "Gate", "http://10.0.0.4/x"));
    TF_Camera_Control w;
    w.Arbol1->setCurrentItem(w.Arbol1->topLevelItem(1));
    QTest::mouseClick(w.SpeedButton2, Qt::LeftButton);
    QCOMPARE(Nodos(w.Arbol1), (QStringList{"1 Door", "4 Gate"}));
    QVERIFY(!Variables::Existe_Seccion(QStringLiteral("3")));
    for (const char *s : {"General", "1", "4"})
        QVERIFY(Variables::Existe_Seccion(QLatin1String(s)));
    QCOMPARE(Variables::Lee_Valor(QStringLiteral("4"), QStringLiteral("camara_MAC")), QStringLiteral("http://10.0.0.4/x"));
    QCOMPARE(Variables::Lee_Valor(QStringLiteral("General"), QStringLiteral("Idioma")), QStringLiteral("ENGLISH"));
    QVERIFY(!w.Configurada(4 + 3)); // the overview shrinks to two views
}

void TestCameraControl::usuario_no_cambia_nada()
{
    kv::test::TempInstall inst;
    QVERIFY(inst.isValid());
    {
        kv::test::FbConnection db(inst.mainDatabase());
        QVERIFY(db.exec(QStringLiteral("INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'guard', 'door', 'USER')")));
    }
    Globales::Servidor = std::make_unique<ZARVServer>();
    Globales::Servidor->Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    QVERIFY(Globales::Servidor->Comprueba_Login(QStringLiteral("guard"), QStringLiteral("door")));
    QVERIFY(!Nivel::Sesion_Administrador());

    kv::Paths::setSystemDir(m_dir.path());
    Ajustes(Seccion(1, "Door", "http://10.0.0.1/x") + Seccion(3, "Yard", "http://10.0.0.3/x"));
    const QByteArray antes = Leer_Ajustes();
    TF_Camera_Control w;
    w.Arbol1->setCurrentItem(w.Arbol1->topLevelItem(1));
    // Whatever the path (a button that was not disabled, a direct call), the
    // change is refused before anything is asked or written.
    Operador::setNextAnswer(1);
    QVERIFY_THROWS_EXCEPTION(Nivel::Sin_Permiso, w.SpeedButton1Click());
    QVERIFY_THROWS_EXCEPTION(Nivel::Sin_Permiso, w.SpeedButton2Click());
    Operador::clear();
    QTest::mouseClick(w.SpeedButton2, Qt::LeftButton);
    QTest::mouseClick(w.SpeedButton1, Qt::LeftButton);
    QCOMPARE(Leer_Ajustes(), antes);
    QCOMPARE(Operador::history().size(), 2);
    QCOMPARE(Operador::history().at(0).tipo, QStringLiteral("error"));
    QCOMPARE(Nodos(w.Arbol1).size(), 2);
    Globales::Servidor.reset();
}
