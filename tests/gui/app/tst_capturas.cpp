#include "tst_capturas.h"

#include "entorno.h"
#include "simprocess.h"

#include "app/tf_login.h"
#include "app/tf_main.h"
#include "app/ventanas.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

const QStringList Filas = {
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (1, 1, 'ENTRADA', 'Main entrance', 1)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (2, 1, 'SALIDA', 'Garage exit', 2)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (3, 2, '', 'Warehouse', 1)",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Ana', 'Garcia Lopez', 'S', '')",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Tom', 'Baker', 'S', '')",
    "INSERT INTO zarvtarjeta VALUES ('0000012345', 'N', '2024-03-01 08:00:00', '2024-03-01 08:00:00', 1, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000067890', 'N', '2024-03-02 09:30:00', '2026-12-31 23:59:00', 2, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 1, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 2, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000067890', 3, 'S')",
};

bool Guarda(QWidget *w, const QString &dir, const QString &nombre)
{
    QApplication::processEvents();
    return w->grab().save(dir + "/" + nombre + ".png");
}

} // namespace

void TestCapturas::paginas()
{
    const QString dir = qEnvironmentVariable("KEYVANE_SCREENSHOT_DIR");
    if (dir.isEmpty())
        QSKIP("KEYVANE_SCREENSHOT_DIR is not set");
    QVERIFY(QDir().mkpath(dir));
    Entorno e;
    QVERIFY(e.sql(1, Filas));
    // The readers answer, holding the cards the database says they hold.
    kv::test::SimProcess com1(1, {"--controllers", "1,2"}, e.inst.portsDir());
    kv::test::SimProcess com2(2, {"--controllers", "1"}, e.inst.portsDir());
    QVERIFY(com1.ok("load 1 0000012345"));
    QVERIFY(com2.ok("load 1 0000067890"));
    e.arranca();
    QVERIFY(Guarda(Ventanas::F_Login, dir, "login"));

    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    m->resize(1280, 800);
    const char *nombres[] = {"installation", "users", "cards", "readers", nullptr, "logins", "parameters"};
    for (int i = 0; i < 7; ++i) {
        if (!nombres[i])
            continue;
        m->Selecciona_Nodo(i);
        QVERIFY(Guarda(m, dir, QStringLiteral("main_%1").arg(nombres[i])));
    }
    m->SpeedButton11Click();
    QVERIFY(com1.ok("card 1 12345"));
    QVERIFY(com2.ok("refused 1 55555"));
    QVERIFY(com1.ok("door 2 opened"));
    QTRY_VERIFY_WITH_TIMEOUT(m->Lista_Incidencias->topLevelItemCount() >= 3, 10000);
    QVERIFY(Guarda(m, dir, "main_incidences"));
    m->PageControl1->setCurrentWidget(m->TabSheet3);
    QVERIFY(Guarda(m, dir, "main_reports"));
    m->Selecciona_Nodo(1);
    m->PageControl1->setCurrentWidget(m->TabSheet1);
    QVERIFY(Guarda(m, dir, "main"));
    for (const char *f : {"login", "main", "main_users", "main_cards", "main_readers", "main_incidences"})
        QVERIFY(QFile::exists(dir + "/" + f + ".png"));
}
