#include "tst_logins.h"

#include "entorno.h"
#include "fbtest.h"

#include "app/aviso_clave.h"
#include "app/tf_cambia_password.h"
#include "app/tf_delete_conf.h"
#include "app/tf_login.h"
#include "app/tf_main.h"
#include "app/tf_nuevo_login.h"
#include "app/vista_auditoria.h"
#include "app/ventanas.h"
#include "model/clave.h"
#include "model/globales.h"
#include "workflows/flujo_tarjetas.h"
#include "ui/operador.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

QStringList Logins(Entorno &e)
{
    kv::test::FbConnection c(e.inst.mainDatabase());
    return c.rows("select LOGIN, \"PASSWORD\", ROL from usuario order by COD");
}

// The stored rows against "login|password|level" each: the password as the
// hash that stands for it.
bool Guardados(Entorno &e, const QStringList &esperados)
{
    const QStringList filas = Logins(e);
    if (filas.size() != esperados.size()) {
        qWarning() << filas << esperados;
        return false;
    }
    for (qsizetype i = 0; i < filas.size(); ++i) {
        const QStringList f = filas[i].split('|'), x = esperados[i].split('|');
        if (f[0] != x[0] || f[2] != x[2] || !Clave::Es_Cifrada(f[1]) || !Clave::Coincide(f[1], x[1])) {
            qWarning() << filas[i] << esperados[i];
            return false;
        }
    }
    return true;
}

} // namespace

void TestLogins::nuevoLogin_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("otra");
    QTest::addColumn<int>("nivel");
    QTest::addColumn<QString>("guardado"); // the new row, or empty when nothing is stored
    QTest::addColumn<bool>("vaciado");
    QTest::newRow("user, lower-cased") << "Bob" << "PassWord" << "PassWord" << 1 << "bob|password|USER" << true;
    QTest::newRow("administrator") << "dave" << "pw" << "pw" << 0 << "dave|pw|ADMIN" << true;
    QTest::newRow("no level chosen") << "carl" << "pw" << "pw" << -1 << "carl|pw|USER" << true;
    QTest::newRow("passwords differ") << "bob" << "pw" << "pW" << 0 << "" << false;
    QTest::newRow("no login") << "" << "pw" << "pw" << 0 << "" << false;
    QTest::newRow("no confirmation") << "bob" << "pw" << "" << 0 << "" << false;
    QTest::newRow("name taken") << "ADMIN" << "other" << "other" << 1 << "" << true;
    QTest::newRow("quote in it") << "o'hara" << "it's" << "it's" << 1 << "o'hara|it's|USER" << true;
}

void TestLogins::nuevoLogin()
{
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(QString, otra);
    QFETCH(int, nivel);
    QFETCH(QString, guardado);
    QFETCH(bool, vaciado);
    Entorno e;
    e.arranca();
    e.entra("admin", "admin");
    TF_Nuevo_login *w = Ventanas::F_Nuevo_login;
    w->show();
    QCOMPARE(w->C_Nivel->currentIndex(), -1);
    QCOMPARE(w->C_Nivel->itemText(0), QStringLiteral("Administrator"));
    QCOMPARE(w->C_Nivel->itemText(1), QStringLiteral("User"));
    QTest::keyClicks(w->Edit1, login);
    QTest::keyClicks(w->Edit2, password);
    QTest::keyClicks(w->Edit3, otra);
    w->C_Nivel->setCurrentIndex(nivel);
    QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);

    QStringList esperados{"admin|admin|ADMIN"};
    if (!guardado.isEmpty())
        esperados << guardado;
    QVERIFY(Guardados(e, esperados));
    // The window stays open for the next login.
    QVERIFY(w->isVisible());
    QCOMPARE(w->Edit1->text().isEmpty(), vaciado || login.isEmpty());
    QCOMPARE(w->Edit3->text().isEmpty(), vaciado || otra.isEmpty());
    w->hide();
}

void TestLogins::nuevoDesdeLaPagina()
{
    Entorno e;
    e.arranca();
    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    m->Muestra(*m->Logins());
    kv::ui::Operador::setNextDialogAction([](QDialog *d) {
        auto *w = qobject_cast<TF_Nuevo_login *>(d);
        QVERIFY(w && w->isVisible());
        // Typing into the level list changes nothing; the list decides.
        QTest::keyClicks(w->C_Nivel, "Admin");
        QCOMPARE(w->C_Nivel->currentIndex(), -1);
        for (const char *l : {"eva", "ines"}) {
            QTest::keyClicks(w->Edit1, l);
            QTest::keyClicks(w->Edit2, "x*y");
            QTest::keyClicks(w->Edit3, "xy");
            QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
        }
        QTest::mouseClick(w->B_Cancelar, Qt::LeftButton);
    });
    QTest::mouseClick(m->Logins()->B_Nuevo_Login, Qt::LeftButton);
    QVERIFY(!Ventanas::F_Nuevo_login->isVisible());
    QCOMPARE(columna(m->Logins()->Lista4, 0), QStringList({"admin", "eva", "ines"}));
    QVERIFY(Guardados(e, {"admin|admin|ADMIN", "eva|xy|USER", "ines|xy|USER"}));
}

void TestLogins::borrar_data()
{
    QTest::addColumn<QStringList>("otros");   // further logins, "login:LEVEL"
    QTest::addColumn<QString>("elegido");     // empty: nothing selected
    QTest::addColumn<int>("respuesta");       // what the operator answers, if asked
    QTest::addColumn<bool>("pregunta");
    QTest::addColumn<QStringList>("quedan");
    QTest::newRow("last administrator") << QStringList{"guard:USER"} << "admin" << 1 << false
                                        << QStringList{"admin", "guard"};
    QTest::newRow("one of two administrators") << QStringList{"jefa:ADMIN"} << "jefa" << 0 << false
                                               << QStringList{"admin"};
    QTest::newRow("self, another administrator left") << QStringList{"jefa:ADMIN"} << "admin" << 0 << false
                                                      << QStringList{"jefa"};
    QTest::newRow("user, confirmed") << QStringList{"guard:USER"} << "guard" << 1 << true << QStringList{"admin"};
    QTest::newRow("user, cancelled") << QStringList{"guard:USER"} << "guard" << 0 << true
                                     << QStringList{"admin", "guard"};
    QTest::newRow("nothing selected") << QStringList{"guard:USER"} << "" << 1 << false
                                      << QStringList{"admin", "guard"};
}

void TestLogins::borrar()
{
    QFETCH(QStringList, otros);
    QFETCH(QString, elegido);
    QFETCH(int, respuesta);
    QFETCH(bool, pregunta);
    QFETCH(QStringList, quedan);
    Entorno e;
    for (const QString &o : otros) {
        const QStringList p = o.split(':');
        QVERIFY(e.sqlPrincipal({QString("INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), '%1', 'pw', '%2')")
                                    .arg(p[0], p[1])}));
    }
    e.arranca();
    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    m->Muestra(*m->Logins());
    if (!elegido.isEmpty())
        fila(m->Logins()->Lista4, elegido)->setSelected(true);
    kv::ui::Operador::clear();
    kv::ui::Operador::setNextAnswer(respuesta);
    QTest::mouseClick(m->Logins()->B_Delete_login, Qt::LeftButton);

    bool preguntado = false;
    for (const auto &h : kv::ui::Operador::history())
        preguntado = preguntado || (h.tipo == "modal" && h.titulo == "F_Delete_Conf");
    QCOMPARE(preguntado, pregunta);
    if (pregunta) {
        const QString texto = Ventanas::F_Delete_Conf->Label1->text();
        QVERIFY2(texto.endsWith(' ' + elegido + '?'), qPrintable(texto));
        QVERIFY(texto.contains('\n'));
    }
    QCOMPARE(columna(m->Logins()->Lista4, 0), quedan);
    QStringList filas;
    for (const QString &r : Logins(e))
        filas << r.section('|', 0, 0);
    QCOMPARE(filas, quedan);
}

namespace {

// Types into the change-password window and presses OK.
void Cambia(TF_Cambia_Password *w, const QString &antigua, const QString &nueva, const QString &otra)
{
    for (QLineEdit *e : {w->Edit2, w->Edit3, w->Edit4})
        e->clear();
    QTest::keyClicks(w->Edit2, antigua);
    QTest::keyClicks(w->Edit3, nueva);
    QTest::keyClicks(w->Edit4, otra);
    kv::ui::Operador::clear();
    QTest::mouseClick(w->B_Aceptar, Qt::LeftButton);
}

QString Ultimo_Mensaje()
{
    const auto h = kv::ui::Operador::history();
    return h.isEmpty() ? QString() : h.last().texto;
}

} // namespace

void TestLogins::avisoDeFabrica()
{
    Entorno e;
    e.arranca();
    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    QVERIFY(m->Panel_Aviso_Clave->isVisible());
    QVERIFY(m->Panel_Aviso_Clave->L_Aviso_Clave->text().contains("factory password"));

    bool visto = false;
    kv::ui::Operador::setNextDialogAction([&](QDialog *d) {
        auto *w = qobject_cast<TF_Cambia_Password *>(d);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->Edit1->text(), QStringLiteral("admin"));
        QVERIFY(w->Edit1->isReadOnly());
        Cambia(w, "wrong", "Nueva1", "Nueva1");
        QCOMPARE(Ultimo_Mensaje(), QStringLiteral("The old password is wrong."));
        Cambia(w, "admin", "Nueva1", "nueva2");
        QCOMPARE(Ultimo_Mensaje(), QStringLiteral("Type the new password twice, the same both times."));
        Cambia(w, "admin", "", "");
        QCOMPARE(Ultimo_Mensaje(), QStringLiteral("Type the new password twice, the same both times."));
        QVERIFY(w->isVisible());
        Cambia(w, "ADMIN", "Nueva1", "Nueva1");
        QCOMPARE(Ultimo_Mensaje(), QStringLiteral("The password has been changed."));
        visto = true;
    });
    QTest::mouseClick(m->Panel_Aviso_Clave->B_Cambia_Clave, Qt::LeftButton);
    QVERIFY(visto);
    QVERIFY(!m->Panel_Aviso_Clave->isVisible());
    QVERIFY(Guardados(e, {"admin|nueva1|ADMIN"}));

    // Locked now, the program opens with the new password only.
    m->B_LoginClick();
    e.entra("admin", "admin");
    QVERIFY(!m->isVisible());
    e.entra("admin", "NUEVA1");
    QVERIFY(m->isVisible());
}

void TestLogins::cambioDesdeLaPagina()
{
    Entorno e;
    QVERIFY(e.sqlPrincipal({"INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'guard', 'door', 'USER')"}));
    e.arranca();
    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    m->Muestra(*m->Logins());
    fila(m->Logins()->Lista4, "guard")->setSelected(true);
    kv::ui::Operador::setNextDialogAction([](QDialog *d) {
        auto *w = qobject_cast<TF_Cambia_Password *>(d);
        QVERIFY(w);
        QCOMPARE(w->Edit1->text(), QStringLiteral("guard"));
        Cambia(w, "door", "gate", "gate");
    });
    QTest::mouseClick(m->Logins()->B_Password_login, Qt::LeftButton);
    QVERIFY(Guardados(e, {"admin|admin|ADMIN", "guard|gate|USER"}));
    // admin keeps the factory password: the notice stays.
    QVERIFY(m->Panel_Aviso_Clave->isVisible());
}

void TestLogins::registroDeOperadores()
{
    Entorno e;
    e.arranca();
    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    kv::wf::Registra_Tarjeta("123", false, {});
    Globales::Servidor->Nuevo_Login("eva", "pw", "USER");
    m->Muestra(*m->Logins());
    Vista_Auditoria *v = m->Logins()->Auditoria;
    QVERIFY(v->isVisible());
    // Newest first, with the operator who did it.
    QCOMPARE(columna(v->Lista, 2), QStringList({"login added", "card added"}));
    QCOMPARE(columna(v->Lista, 1), QStringList({"admin", "admin"}));
    QCOMPARE(v->Lista->topLevelItem(1)->text(3), QStringLiteral("0000000123"));
    QVERIFY(!v->B_Mas->isEnabled());

    // The filters, each applied with the Search button or Return.
    v->Objeto->setText("123");
    QTest::keyClick(v->Objeto, Qt::Key_Return);
    QCOMPARE(columna(v->Lista, 2), QStringList({"card added"}));
    v->Objeto->clear();
    v->Login->setCurrentText("guard");
    QTest::mouseClick(v->B_Buscar, Qt::LeftButton);
    QCOMPARE(v->Lista->topLevelItemCount(), 0);
    v->Login->setCurrentText("");
    v->Hasta->setDate(QDate::currentDate().addDays(-1));
    QTest::mouseClick(v->B_Buscar, Qt::LeftButton);
    QCOMPARE(v->Lista->topLevelItemCount(), 0);
    v->Hasta->setDate(QDate::currentDate());

    // More than a screen: More reads on where the screen stopped.
    QVERIFY(e.sql(1, {"EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < 250) DO BEGIN "
                      "INSERT INTO zarvauditoria(login, accion, nombre, resultado) VALUES ('desk', 'cardholder added', "
                      "'Holder ' || :i, 'done'); i = i + 1; END END"}));
    QTest::mouseClick(v->B_Buscar, Qt::LeftButton);
    QCOMPARE(v->Lista->topLevelItemCount(), 200);
    QVERIFY(v->B_Mas->isEnabled());
    QTest::mouseClick(v->B_Mas, Qt::LeftButton);
    QCOMPARE(v->Lista->topLevelItemCount(), 252);
    QVERIFY(!v->B_Mas->isEnabled());
    QStringList nombres = columna(v->Lista, 5);
    nombres.removeDuplicates();
    QCOMPARE(nombres.size(), 252); // no entry shown twice

    // The whole filtered log into a workbook, which the log then records.
    const QString libro = e.inst.root() + "/log.xlsx";
    kv::ui::Operador::clear();
    kv::ui::Operador::setNextFileName(e.inst.root() + "/log");
    QTest::mouseClick(v->B_Exportar, Qt::LeftButton);
    QVERIFY(QFile::exists(libro));
    QCOMPARE(v->Lista->topLevelItem(0)->text(2), QStringLiteral("workbook exported"));
    QCOMPARE(v->Lista->topLevelItem(0)->text(8), QStringLiteral("252 log entries"));
}
