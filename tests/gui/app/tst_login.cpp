#include "tst_login.h"

#include "entorno.h"

#include "app/tf_login.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/globales.h"
#include "ui/operador.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

void TestLogin::primerLogin_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("entra");
    QTest::newRow("as stored") << "admin" << "admin" << true;
    QTest::newRow("capitals") << "ADMIN" << "AdMiN" << true;
    QTest::newRow("wrong password") << "admin" << "nimda" << false;
    QTest::newRow("unknown login") << "root" << "admin" << false;
    QTest::newRow("empty") << "" << "" << false;
    QTest::newRow("quote") << "admin' or '1'='1" << "x' or '1'='1" << false;
}

void TestLogin::primerLogin()
{
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(bool, entra);
    Entorno e;
    e.arranca();
    kv::ui::Operador::clear();
    e.entra(login, password);

    TF_Login *l = Ventanas::F_Login;
    TF_Main *m = Ventanas::F_Main;
    QCOMPARE(m->isVisible(), entra);
    QCOMPARE(l->isVisible(), !entra);
    QCOMPARE(l->logged, entra);
    const auto h = kv::ui::Operador::history();
    if (entra) {
        QVERIFY(h.isEmpty());
        QCOMPARE(l->login, QStringLiteral("admin"));
        QCOMPARE(Globales::Servidor->Rol(), QStringLiteral("ADMIN"));
        // The test of every reader leaves the window on the readers page.
        QVERIFY(m->Lectores()->Panel()->isVisible());
        QCOMPARE(m->L_Cuerpo->text(), QStringLiteral("Readers"));
    } else {
        QCOMPARE(h.size(), 1);
        QCOMPARE(h[0].tipo, QStringLiteral("message"));
        QCOMPARE(h[0].titulo, QStringLiteral("Login"));
        QCOMPARE(h[0].texto, QStringLiteral("Login Incorrecto"));
        // The fields keep what was typed.
        QCOMPARE(l->Edit1->text(), login);
        QCOMPARE(l->Edit2->text(), password);
    }
}

void TestLogin::sinAsterisco()
{
    Entorno e;
    e.arranca();
    TF_Login *l = Ventanas::F_Login;
    QTest::keyClicks(l->Edit1, "ad*min");
    QTest::keyClicks(l->Edit2, "**ad*min");
    QCOMPARE(l->Edit1->text(), QStringLiteral("admin"));
    QCOMPARE(l->Edit2->text(), QStringLiteral("admin"));
    // Pasted text goes through the same check.
    l->Edit1->clear();
    l->Edit1->insert("a*b");
    QVERIFY(!l->Edit1->text().contains('*'));
}

void TestLogin::intro()
{
    Entorno e;
    e.arranca();
    TF_Login *l = Ventanas::F_Login;
    QTest::keyClicks(l->Edit1, "admin");
    QTest::keyClicks(l->Edit2, "admin");
    QTest::keyClick(l->Edit2, Qt::Key_Return);
    QVERIFY(Ventanas::F_Main->isVisible());
    QVERIFY(!l->isVisible());
}

void TestLogin::bloqueo()
{
    Entorno e;
    QVERIFY(e.sqlPrincipal({"INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'jefa', 'clave', 'ADMIN')"}));
    e.arranca();
    e.entra("admin", "admin");
    TF_Login *l = Ventanas::F_Login;
    TF_Main *m = Ventanas::F_Main;

    QTest::mouseClick(m->B_Login, Qt::LeftButton);
    QVERIFY(l->isVisible());
    QVERIFY(!m->isVisible());
    // Shown again, the window has forgotten the password.
    QVERIFY(l->Edit2->text().isEmpty());

    // Another valid login does not take over the running program.
    kv::ui::Operador::clear();
    e.entra("jefa", "clave");
    QVERIFY(l->isVisible());
    QVERIFY(!m->isVisible());
    QVERIFY(kv::ui::Operador::history().isEmpty());

    e.entra("admin", "wrong");
    QVERIFY(!m->isVisible());

    // Whoever locked it unlocks it, in any letter case.
    e.entra("Admin", "ADMIN");
    QVERIFY(m->isVisible());
    QVERIFY(!l->isVisible());
    QCOMPARE(l->login, QStringLiteral("admin"));
}

void TestLogin::nivelUsuario()
{
    Entorno e;
    QVERIFY(e.sqlPrincipal({"INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'guard', 'door', 'USER')"}));
    e.arranca();
    // A camera window, as the camera part of the program names its buttons.
    QWidget camaras;
    camaras.setObjectName("F_Camera_Control");
    auto *nueva = new QPushButton(&camaras);
    nueva->setObjectName("SpeedButton1");
    auto *borra = new QPushButton(&camaras);
    borra->setObjectName("SpeedButton2");
    auto *ver = new QPushButton(&camaras);
    ver->setObjectName("SpeedButton3");
    camaras.show();

    TF_Main *m = Ventanas::F_Main;
    m->showMaximized();
    QApplication::processEvents();
    const int izquierda = m->Lectores()->B_Nueva_Cx->x();
    m->hide();

    e.entra("guard", "door");
    QVERIFY(m->isVisible());
    QApplication::processEvents();

    // Installation, Users, Cards and Readers; nothing from index 4 on.
    QCOMPARE(m->Arbol1->topLevelItemCount(), 1);
    QCOMPARE(m->Arbol1->topLevelItem(0)->childCount(), 3);
    QVERIFY(m->Nodo_De(*m->Lectores()));
    QVERIFY(!m->Nodo_De(*m->Logins()));
    QVERIFY(!m->Nodo_De(*m->Parametros()));
    for (QWidget *b : {static_cast<QWidget *>(m->Lectores()->B_Nueva_Cx), static_cast<QWidget *>(m->Lectores()->B_Editar_cx),
                       static_cast<QWidget *>(m->Lectores()->B_Delete_Cx), static_cast<QWidget *>(m->Lectores()->B_Master_Card),
                       static_cast<QWidget *>(m->Lectores()->B_Clone_cx), static_cast<QWidget *>(m->Lectores()->B_vacia_Cards)})
        QVERIFY2(!b->isVisible(), qPrintable(b->objectName()));
    QVERIFY(m->Lectores()->B_Test_Cx->isVisible());
    QCOMPARE(m->Lectores()->B_Test_Cx->x(), izquierda);
    QVERIFY(!nueva->isEnabled());
    QVERIFY(!borra->isEnabled());
    QVERIFY(ver->isEnabled());

    // Locked and unlocked again, the restrictions are not applied twice.
    m->B_LoginClick();
    e.entra("guard", "door");
    QVERIFY(m->Nodo_De(*m->Lectores()));
    QCOMPARE(m->Arbol1->topLevelItem(0)->childCount(), 3);
}

void TestLogin::espera()
{
    Entorno e;
    e.arranca();
    TF_Login *l = Ventanas::F_Login;
    for (int i = 0; i < 4; ++i)
        e.entra("admin", "wrong");
    QCOMPARE(l->Espera(), 0);
    QVERIFY(l->B_Aceptar->isEnabled());
    QVERIFY(!l->L_Espera->isVisible());

    // The fifth wrong password in a row, whether the login exists or not.
    kv::ui::Operador::clear();
    e.entra("nadie", "wrong");
    QCOMPARE(kv::ui::Operador::history().size(), 1);
    QCOMPARE(kv::ui::Operador::history()[0].texto, QStringLiteral("Login Incorrecto"));
    QCOMPARE(l->Espera(), 1);
    QVERIFY(!l->B_Aceptar->isEnabled());
    QVERIFY(l->L_Espera->isVisible());
    QVERIFY2(l->L_Espera->text().startsWith("Too many wrong passwords") && l->L_Espera->text().endsWith(" 1"),
             qPrintable(l->L_Espera->text()));
    // Meanwhile not even the right password is tried, by button or by Enter.
    l->Edit1->setText("admin");
    l->Edit2->setText("admin");
    QTest::keyClick(l->Edit2, Qt::Key_Return);
    QVERIFY(!Ventanas::F_Main->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(l->B_Aceptar->isEnabled(), 3000);
    QVERIFY(!l->L_Espera->isVisible());
    e.entra("admin", "wrong");
    QCOMPARE(l->Espera(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(l->B_Aceptar->isEnabled(), 4000);
    e.entra("admin", "admin");
    QVERIFY(Ventanas::F_Main->isVisible());
}
