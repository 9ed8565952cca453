#include "tst_controles.h"

#include "entorno.h"
#include "recorrido.h"
#include "simprocess.h"
#include "tempinstall.h"

#include "app/tf_login.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "link/teventoinformacion.h"
#include "model/globales.h"
#include "model/zarvsistema.h"
#include "ui/operador.h"

#include <QAbstractButton>
#include <QToolButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTreeWidget>

namespace {

// Two readers on a simulated line, cardholders with and without cards, a
// free card and a few stored incidences: every list has rows to pick.
const QStringList Filas = {
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (1, 1, 'ENTRADA', 'Entrada', 1)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (2, 1, 'SALIDA', 'Salida', 2)",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Ana', 'Garcia Lopez', 'S', '')",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Luis', 'Perez', 'S', '')",
    "INSERT INTO zarvtarjeta VALUES ('0000012345', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 1, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000067890', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', -1, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 1, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000012345', 2, 'N')",
    "INSERT INTO zarvincidencia VALUES (gen_id(GEN_ZARVINCIDENCIA_ID, 1), 1, 'Entrada', '0000012345', 'Ana Garcia Lopez', "
    "'2024-01-03 08:00:00', 'Ana', 1, 1)",
    "INSERT INTO zarvincidencia VALUES (gen_id(GEN_ZARVINCIDENCIA_ID, 1), 2, 'Salida', '0000012345', 'Ana Garcia Lopez', "
    "'2024-01-03 17:00:00', 'Ana', 1, 1)",
};

// What only an administrator gets (the readers' management, the logins, the
// installations and the application's parameters): controls and windows.
const QStringList Solo_Administrador = {
    "B_Nueva_Cx",    "B_Editar_cx",    "B_Delete_Cx",      "B_Master_Card", "B_Clone_cx",
    "B_vacia_Cards", "B_Nuevo_Login",  "B_Delete_login",   "B_Password_login", "SpeedButton28",
    "SpeedButton29", "F_Contr_N",      "F_Clone_Controller", "F_Nuevo_login", "F_Gestion_BD",
    "F_Parametros_app"};

// Enough free cards for the cards report to run to several pages, so that
// the preview's page buttons are on.
QStringList Tarjetas_Libres()
{
    QStringList r;
    for (int i = 0; i < 120; ++i)
        r << QStringLiteral("INSERT INTO zarvtarjeta VALUES ('%1', 'N', '2024-01-02 03:04:05', "
                            "'2024-01-02 03:04:05', -1, 'N')")
                 .arg(5000000000LL + i, 10, 10, QLatin1Char('0'));
    return r;
}

// The report templates, where the program looks for them.
bool Copia_Plantillas(const QString &programa)
{
    const QDir origen(kv::test::binary(QStringLiteral("Data")));
    const QStringList plantillas = origen.entryList({QStringLiteral("*.frf")}, QDir::Files);
    bool bien = !plantillas.isEmpty();
    for (const QString &f : plantillas)
        bien = kv::test::copyFile(origen.filePath(f), programa + QStringLiteral("/Data/") + f) && bien;
    return bien;
}

QByteArray Contenido(const QString &fichero)
{
    QFile f(fichero);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

void TestControles::recorrido_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("administrador");
    QTest::newRow("ADMIN") << "admin" << "admin" << true;
    QTest::newRow("USER") << "guard" << "door" << false;
}

void TestControles::recorrido()
{
    QFETCH(QString, login);
    QFETCH(QString, password);
    QFETCH(bool, administrador);
    QElapsedTimer reloj;
    reloj.start();

    // No maintenance tick may change a list while a control is judged.
    Entorno e("Testear_cx=false\r\nLiberar_tarj=false\r\n");
    QVERIFY(e.valido());
    QVERIFY(e.sql(1, Filas + Tarjetas_Libres()));
    QVERIFY(Copia_Plantillas(e.inst.programDir()));
    QVERIFY(e.sqlPrincipal({"INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'guard', 'door', 'USER')"}));
    kv::test::SimProcess linea(1, {"--controllers", "1,2"}, e.inst.portsDir());
    QVERIFY(linea.ok("load 1 0000012345"));
    e.arranca();
    e.entra(login, password);
    TF_Main *m = Ventanas::F_Main;
    QVERIFY(m->isVisible());
    kv::ui::Operador::clear();

    Recorrido r(m);
    const QString bloquea = Id_De(m->B_Login, m);
    const QString cierra = Id_De(m->SpeedButton13, m);
    r.finales = {bloquea, cierra};
    r.exentos = {
        // Nodes that only group others: the catalogue's root runs no report,
        // and the period's root names no cardholder (the table keeps its rows).
        {QStringLiteral("PageControl1/TabSheet3/Arbol_REPORTS/0"), QStringLiteral("groups the reports")},
        {QStringLiteral("PANEL_CUERPO_CENTRAL/PANEL_TOOLS/PANEL_ATTENDANCE/Arbol_Presencia/0"),
         QStringLiteral("groups the cardholders")},
        // Accepting a form left empty is refused without a word: a new login
        // needs its name and passwords, a new installation its name.
        {QStringLiteral("F_Nuevo_login/B_Aceptar"), QStringLiteral("empty login refused silently")},
        {QStringLiteral("F_Gestion_BD/xpGroupBox2/B_Nueva"), QStringLiteral("unnamed installation refused silently")},
        // The readers' context menu ends with an entry that only closes it.
        {QStringLiteral("F_Lector_ES/Lista/Cancelar1"), QStringLiteral("closes the menu")},
    };
    r.prepara = [m] {
        // A live event, as a reader sends while registering: the incidence
        // list's clear, save, print and find have a row to work on.
        if (m->Lista_Incidencias->isVisible() && m->Lista_Incidencias->topLevelItemCount() == 0) {
            TEventoInformacion evento;
            evento.Tipo = 1;
            evento.Tarjeta = QStringLiteral("0000012345");
            evento.Puerto = QStringLiteral("1");
            evento.Direccion = 1;
            m->Recibida_Incidencia(evento);
        }
    };
    const QString ajustes = e.inst.systemDir() + QStringLiteral("/KEYVANE20.INI");
    const QString lineas = e.inst.portsDir();
    r.externo = [ajustes, lineas] {
        QMap<QString, QString> x;
        x.insert(QStringLiteral("settings file"), QString::fromLatin1(Contenido(ajustes).toHex()));
        if (Globales::Sistema)
            x.insert(QStringLiteral("database"), QString::number(Globales::Sistema->Marca_Cambios()));
        // The frames every reader line saw: a test or a send shows there.
        for (const QFileInfo &f : QDir(lineas).entryInfoList({QStringLiteral("*.log")}, QDir::Files))
            x.insert(QStringLiteral("line ") + f.fileName(), QString::number(f.size()));
        return x;
    };
    r.reanuda = [&e, m, login, password] {
        if (Ventanas::F_Login->isVisible())
            e.entra(login, password);
        return m->isVisible();
    };
    r.Recorre();

    for (const auto &[lugar, ids] : r.usados)
        qInfo("walked in %s: %s", qPrintable(lugar), qPrintable(ids.join(QStringLiteral(", "))));
    QVERIFY2(r.modales.isEmpty(), qPrintable(r.modales.join('\n')));
    QVERIFY2(r.muertos.isEmpty(), qPrintable(QStringLiteral("controls that do nothing:\n") + r.muertos.join('\n')));

    // The pages were reached at all: the walk is not vacuous.
    // By a control's own name, and by the window it is in.
    QSet<QString> nombres;
    for (const QString &id : r.Usados()) {
        nombres.insert(id.section(QLatin1Char('/'), -1));
        nombres.insert(id.section(QLatin1Char('/'), 0, 0));
    }
    for (const char *n : {"B_New_USR_Usr", "B_Delete", "B_New_Card", "B_Test_Cx", "SpeedButton9", "SpeedButton2",
                          "B_Test_TODOS"})
        QVERIFY2(nombres.contains(n), n);
    for (const QString &n : Solo_Administrador)
        QVERIFY2(nombres.contains(n) == administrador, qPrintable(n));

    // Last, what ends the session: the lock brings the login window back,
    // and the same login takes the operator back in; Close ends the program.
    for (QAbstractButton *b : {m->B_Login, m->SpeedButton13})
        QVERIFY2(b->isVisible() && b->isEnabled(), qPrintable(b->objectName()));
    QTest::mouseClick(m->B_Login, Qt::LeftButton);
    QVERIFY(!m->isVisible());
    QVERIFY(Ventanas::F_Login->isVisible());
    e.entra(login, password);
    QVERIFY(m->isVisible());
    QTest::mouseClick(m->SpeedButton13, Qt::LeftButton);
    QVERIFY(!m->isVisible());
    QVERIFY(!Ventanas::F_Login->isVisible());
    qInfo("walk as %s: %lld controls in %lld ms", qPrintable(login), static_cast<long long>(r.Usados().size()),
          static_cast<long long>(reloj.elapsed()));
}
