#include "tst_eventos.h"

#include "entorno.h"
#include "simprocess.h"

#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/variables.h"
#include "ui/imagen_pulsable.h"
#include "ui/imagenes.h"
#include "ui/operador.h"

#include <QTest>
#include <QTreeWidget>

#include <memory>

using kv::test::SimProcess;

namespace {

const QStringList Filas = {
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (1, 1, '', 'Entrada', 1)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (2, 1, '', 'Salida', 2)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (3, 2, '', 'Garaje', 0)",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Ana', 'Garcia Lopez', 'S', '')",
    "INSERT INTO zarvtarjeta VALUES ('0000012345', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 1, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 1, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 2, 'S')",
};

QStringList Fila(QTreeWidgetItem *f)
{
    QStringList r;
    for (int i = 0; i < 5; ++i)
        r << f->text(i);
    return r;
}

} // namespace

void TestEventos::filasEnVivo()
{
    Entorno e;
    QVERIFY(e.sql(1, Filas));
    SimProcess com1(1, {"--controllers", "1,2"}, e.inst.portsDir());
    SimProcess com2(2, {"--controllers", "170"}, e.inst.portsDir());
    QVERIFY(com1.ok("load 1 0000012345"));
    QVERIFY(com1.ok("load 2 0000012345"));
    e.arranca();
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    // Logging in tests every reader and leaves the lines as it found them:
    // nothing listens until the operator starts registering, and the
    // controllers keep their events until then.
    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    QTreeWidget *l = m->Lista_Incidencias;
    QVERIFY(com1.ok("card 2 12345"));
    QTest::qWait(1000);
    QCOMPARE(l->topLevelItemCount(), 0);
    QTest::mouseClick(m->I_PLAY_OFF, Qt::LeftButton);
    QVERIFY(Variables::Registrando);

    // Each event is waited for at the top of the list. A controller sends an
    // event again when its acknowledgement is late, so the same event may
    // show twice; what each row shows is what is checked.
    const auto arriba = [l](const QString &descripcion) {
        return l->topLevelItemCount() > 0 && l->topLevelItem(0)->text(3) == descripcion;
    };
    QTRY_VERIFY_WITH_TIMEOUT(arriba("0000012345 Garcia Lopez, Ana"), 10000);
    QTreeWidgetItem *f = l->topLevelItem(0);
    // The event is attributed to the reader that sent it, though it shares
    // its line with reader 1.
    QCOMPARE(Fila(f).mid(2), QStringList({"Salida", "0000012345 Garcia Lopez, Ana", "1"}));
    QCOMPARE(f->text(0), m->Tipos_Incidencia.value(0));
    QVERIFY(!f->text(0).isEmpty());
    QVERIFY(!f->text(1).isEmpty());
    QCOMPARE(kv::ui::Icono_De(f, 0), int(kv::ui::Icono_Tarjeta_Aceptada));

    QVERIFY(com2.ok("refused 170 99999"));
    QTRY_VERIFY_WITH_TIMEOUT(arriba("0000099999 "), 10000);
    f = l->topLevelItem(0);
    QCOMPARE(Fila(f).mid(2), QStringList({"Garaje", "0000099999 ", "-1"}));
    QCOMPARE(f->text(0), m->Tipos_Incidencia.value(1));
    QCOMPARE(kv::ui::Icono_De(f, 0), int(kv::ui::Icono_Tarjeta_Rechazada));

    QVERIFY(com1.ok("door 1 alarm"));
    QTRY_VERIFY_WITH_TIMEOUT(arriba(""), 10000);
    f = l->topLevelItem(0);
    QCOMPARE(Fila(f).mid(2), QStringList({"Entrada", "", "-1"}));
    QCOMPARE(f->text(0), m->Tipos_Incidencia.value(5));
    QCOMPARE(kv::ui::Icono_De(f, 0), int(kv::ui::Icono_Alarma));
    // Newest first: the first event is now at the bottom.
    QCOMPARE(l->topLevelItem(l->topLevelItemCount() - 1)->text(3), QStringLiteral("0000012345 Garcia Lopez, Ana"));
    QVERIFY(l->isColumnHidden(4));
}

void TestEventos::tipoDesconocido()
{
    Entorno e;
    QVERIFY(e.sql(1, Filas));
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    TEventoInformacion evento;
    evento.Tipo = 7;
    evento.Puerto = "2";
    m->Recibida_Incidencia(evento);
    QCOMPARE(m->Lista_Incidencias->topLevelItemCount(), 1);
    QTreeWidgetItem *f = m->Lista_Incidencias->topLevelItem(0);
    QCOMPARE(Fila(f).mid(2), QStringList({"Garaje", "", "-1"}));
    QCOMPARE(f->text(0), QString());
    QCOMPARE(kv::ui::Icono_De(f, 0), 0);

    // A port no reader uses leaves the source empty.
    evento.Tipo = 1;
    evento.Tarjeta = "0000012345";
    evento.Puerto = "9";
    m->Recibida_Incidencia(evento);
    QCOMPARE(Fila(m->Lista_Incidencias->topLevelItem(0)).mid(2),
             QStringList({"", "0000012345 Garcia Lopez, Ana", "1"}));
}

void TestEventos::pruebaDeLectores()
{
    Entorno e;
    QVERIFY(e.sql(1, Filas));
    SimProcess com1(1, {"--controllers", "1"}, e.inst.portsDir());
    SimProcess com2(2, {"--controllers", "170"}, e.inst.portsDir());
    QVERIFY(com1.ok("load 1 0000012345"));
    QVERIFY(com1.ok("set 1 version 5"));
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    // Reader 1 answers with the card the database has for it, reader 2 is
    // not on the line, reader 3 answers at 170 without that card.
    QCOMPARE(m->Lectores()->L2_Contr->topLevelItemCount(), 3);
    QTreeWidgetItem *uno = m->Lectores()->L2_Contr->topLevelItem(0);
    QCOMPARE(uno->text(1), QStringLiteral("Entrada"));
    QCOMPARE(uno->text(5), QStringLiteral("5."));
    QCOMPARE(uno->text(6), QStringLiteral("1"));
    QCOMPARE(uno->text(7), QStringLiteral("1"));
    QCOMPARE(kv::ui::Icono_De(uno, 0), int(kv::ui::Icono_Responde));
    QTreeWidgetItem *dos = m->Lectores()->L2_Contr->topLevelItem(1);
    QCOMPARE(dos->text(1), QStringLiteral("???"));
    QCOMPARE(kv::ui::Icono_De(dos, 0), int(kv::ui::Icono_Alarma));
    QTreeWidgetItem *tres = m->Lectores()->L2_Contr->topLevelItem(2);
    QCOMPARE(tres->text(5), QStringLiteral("2.1"));
    QCOMPARE(kv::ui::Icono_De(tres, 0), int(kv::ui::Icono_Responde));
    QCOMPARE(kv::ui::Icono_De(m->Lectores()->L1_Contr->topLevelItem(0), 3), int(kv::ui::Icono_Responde));
    QCOMPARE(kv::ui::Icono_De(m->Lectores()->L1_Contr->topLevelItem(1), 3), int(kv::ui::Icono_Sin_Respuesta));
}

void TestEventos::lineaPerdida()
{
    Entorno e;
    QVERIFY(e.sql(1, Filas));
    SimProcess com1(1, {"--controllers", "1,2"}, e.inst.portsDir());
    auto com2 = std::make_unique<SimProcess>(2, QStringList{"--controllers", "170"}, e.inst.portsDir());
    e.arranca();
    e.entra("admin", "admin");
    TF_Main *m = Ventanas::F_Main;
    QTreeWidget *l = m->Lista_Incidencias;
    QTest::mouseClick(m->I_PLAY_OFF, Qt::LeftButton);
    QCOMPARE(l->topLevelItemCount(), 0);

    // The adapter of COM2 is pulled: the operator is told, and the reader
    // on that line is marked as not answering.
    com2->stop();
    QTRY_VERIFY_WITH_TIMEOUT(l->topLevelItemCount() == 1, 10000);
    QCOMPARE(l->topLevelItem(0)->text(0), Variables::Mensaje("Variables_variables_F_Main_35"));
    QCOMPARE(l->topLevelItem(0)->text(2), QStringLiteral("COM2"));
    QCOMPARE(kv::ui::Icono_De(m->Lectores()->L1_Contr->topLevelItem(2), 3), int(kv::ui::Icono_Sin_Respuesta));
    // COM1 still listens.
    QVERIFY(com1.ok("door 1 alarm"));
    QTRY_VERIFY_WITH_TIMEOUT(l->topLevelItemCount() == 2, 10000);

    // Plugged in again: the line is reopened by itself and listens.
    com2 = std::make_unique<SimProcess>(2, QStringList{"--controllers", "170"}, e.inst.portsDir());
    QTRY_VERIFY_WITH_TIMEOUT(l->topLevelItem(0)->text(0) == Variables::Mensaje("Variables_variables_F_Main_36"), 10000);
    QCOMPARE(kv::ui::Icono_De(m->Lectores()->L1_Contr->topLevelItem(2), 3), -1);
    const int antes = l->topLevelItemCount();
    QVERIFY(com2->ok("refused 170 99999"));
    QTRY_VERIFY_WITH_TIMEOUT(l->topLevelItemCount() == antes + 1, 10000);
    QCOMPARE(l->topLevelItem(0)->text(2), QStringLiteral("Garaje"));
}
