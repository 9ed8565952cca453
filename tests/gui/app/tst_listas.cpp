#include "tst_listas.h"

#include "entorno.h"

#include "app/textos.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "ui/imagen_pulsable.h"
#include "ui/imagenes.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

std::unique_ptr<Entorno> g_entorno;

// The navigator's node at that position in display order (the order the
// language file's keys for the nodes follow).
QTreeWidgetItem *Nodo(TF_Main *m, int indice)
{
    QList<QTreeWidgetItem *> orden;
    for (int i = 0; i < m->Arbol1->topLevelItemCount(); ++i) {
        orden << m->Arbol1->topLevelItem(i);
        for (int j = 0; j < m->Arbol1->topLevelItem(i)->childCount(); ++j)
            orden << m->Arbol1->topLevelItem(i)->child(j);
    }
    return orden.value(indice);
}

const QStringList Filas = {
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (1, 21, 'ENTRADA', 'Entrada', 1)",
    "INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) VALUES (2, 21, 'SALIDA', 'Salida', 2)",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Ana', 'Garcia Lopez', 'S', '')",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Luis', 'Perez', 'S', '')",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Marta', 'Sanz', 'S', '')",
    "INSERT INTO zarvusuario VALUES (gen_id(GEN_ZARVUSUARIO_ID, 1), 'Pedro', 'Gil', 'S', '')",
    // Ana: one card stored in Entrada and pending in Salida, one card in no reader.
    "INSERT INTO zarvtarjeta VALUES ('0000000001', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 1, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000000002', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 1, 'N')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000001', 1, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000001', 2, 'N')",
    // Luis: one card with an expiry date, stored in both readers.
    "INSERT INTO zarvtarjeta VALUES ('0000000003', 'N', '2024-01-02 03:04:05', '2030-05-06 07:08:09', 2, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000003', 1, 'S')",
    "INSERT INTO zarvcontroladortarjeta VALUES ('0000000003', 2, 'S')",
    // Pedro: two cards in no reader.
    "INSERT INTO zarvtarjeta VALUES ('0000000005', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 4, 'N')",
    "INSERT INTO zarvtarjeta VALUES ('0000000006', 'N', '2024-01-02 03:04:05', '2024-01-02 03:04:05', 4, 'N')",
    // A free card.
    "INSERT INTO zarvtarjeta VALUES ('0000000004', 'N', '2023-12-31 23:59:58', '2023-12-31 23:59:58', -1, 'N')",
};

// The Cards column as a set of entries, each with its readers sorted: the
// database gives no order among one cardholder's cards or one card's readers.
QStringList Entradas(const QString &texto)
{
    QStringList r;
    for (const QString &e : texto.split(' ', Qt::SkipEmptyParts)) {
        const qsizetype p = e.indexOf('(');
        QStringList lectores = e.mid(p + 1, e.size() - p - 2).split(',');
        lectores.sort();
        r << e.left(p) + "(" + lectores.join(',') + ")";
    }
    r.sort();
    return r;
}

QStringList Ordenados(QStringList l)
{
    l.sort();
    return l;
}

TF_Main *Principal() { return Ventanas::F_Main; }

} // namespace

void TestListas::init()
{
    g_entorno = std::make_unique<Entorno>();
    QVERIFY(g_entorno->sql(1, Filas));
    g_entorno->arranca();
}

void TestListas::cleanup()
{
    g_entorno.reset();
}

void TestListas::usuarios()
{
    TF_Main *m = Principal();
    m->Muestra(*m->Usuarios());
    QVERIFY(m->Usuarios()->Panel()->isVisibleTo(m));
    QTreeWidget *l = m->Usuarios()->Lista1;
    QCOMPARE(l->topLevelItemCount(), 4);
    QVERIFY(l->isColumnHidden(4));

    QTreeWidgetItem *ana = fila(l, "Ana");
    QVERIFY(ana);
    QCOMPARE(ana->text(1), QStringLiteral("Garcia Lopez"));
    QCOMPARE(ana->text(2), QStringLiteral("2"));
    // Only the readers that hold the card are named, each after a comma.
    QCOMPARE(Entradas(ana->text(3)), QStringList({"0000000001(,Entrada)", "0000000002()"}));
    QVERIFY(ana->text(3).startsWith(' '));
    QCOMPARE(ana->text(4), QStringLiteral("1"));
    QCOMPARE(kv::ui::Icono_De(ana, 0), int(kv::ui::Icono_Pendiente));

    QTreeWidgetItem *luis = fila(l, "Luis");
    QCOMPARE(luis->text(2), QStringLiteral("1"));
    QCOMPARE(Entradas(luis->text(3)), QStringList({"0000000003(,Entrada,Salida)"}));
    QCOMPARE(kv::ui::Icono_De(luis, 0), int(kv::ui::Icono_Elemento));

    QTreeWidgetItem *pedro = fila(l, "Pedro");
    QCOMPARE(Entradas(pedro->text(3)), QStringList({"0000000005()", "0000000006()"}));
    QCOMPARE(kv::ui::Icono_De(pedro, 0), int(kv::ui::Icono_Elemento));

    QTreeWidgetItem *marta = fila(l, "Marta");
    QCOMPARE(marta->text(2), QStringLiteral("0"));
    QCOMPARE(marta->text(3), QString());
    QCOMPARE(kv::ui::Icono_De(marta, 0), int(kv::ui::Icono_Elemento));

    // The list follows the database at the next visit.
    QVERIFY(g_entorno->sql(1, {"UPDATE zarvcontroladortarjeta SET \"_STOREDINHW\" = 'S'"}));
    m->Muestra(*m->Usuarios());
    QCOMPARE(kv::ui::Icono_De(fila(l, "Ana"), 0), int(kv::ui::Icono_Elemento));
    QCOMPARE(Entradas(fila(l, "Ana")->text(3)), QStringList({"0000000001(,Entrada,Salida)", "0000000002()"}));
}

void TestListas::tarjetas()
{
    TF_Main *m = Principal();
    m->Muestra(*m->Tarjetas());
    QVERIFY(m->Tarjetas()->Panel()->isVisibleTo(m));
    QTreeWidget *l = m->Tarjetas()->Lista3;
    QCOMPARE(l->topLevelItemCount(), 6);

    // dd/mm/yyyy hh:mm:ss with the system's separators.
    const QRegularExpression alta(R"(^02(\D)01\g{1}2024 03(\D)04\g{2}05$)");
    const QRegularExpression caduca(R"(^06(\D)05\g{1}2030 07(\D)08\g{2}09$)");

    QTreeWidgetItem *t1 = fila(l, "0000000001");
    QVERIFY(t1);
    QCOMPARE(t1->text(1), QStringLiteral("Ana"));
    QCOMPARE(t1->text(2), QStringLiteral("Garcia Lopez"));
    QCOMPARE(t1->text(3), QStringLiteral("Entrada"));
    QCOMPARE(t1->text(4), QString());
    QCOMPARE(kv::ui::Icono_De(t1, 4), -1);
    QCOMPARE(t1->text(5), QString());
    QVERIFY2(alta.match(t1->text(6)).hasMatch(), qPrintable(t1->text(6)));
    QCOMPARE(kv::ui::Icono_De(t1, 0), int(kv::ui::Icono_Pendiente));

    QTreeWidgetItem *t3 = fila(l, "0000000003");
    QCOMPARE(Ordenados(t3->text(3).split(',')), QStringList({"Entrada", "Salida"}));
    QCOMPARE(t3->text(4), QString());
    QCOMPARE(kv::ui::Icono_De(t3, 4), int(kv::ui::Icono_Tarjeta_Aceptada));
    QVERIFY2(caduca.match(t3->text(5)).hasMatch(), qPrintable(t3->text(5)));
    QCOMPARE(kv::ui::Icono_De(t3, 0), int(kv::ui::Icono_Tarjeta));

    QTreeWidgetItem *libre = fila(l, "0000000004");
    QCOMPARE(libre->text(1), QString());
    QCOMPARE(libre->text(2), QString());
    QCOMPARE(libre->text(3), QString());
    QCOMPARE(kv::ui::Icono_De(libre, 0), int(kv::ui::Icono_Tarjeta));

    QTreeWidgetItem *t2 = fila(l, "0000000002");
    QCOMPARE(t2->text(3), QString());
    QCOMPARE(kv::ui::Icono_De(t2, 0), int(kv::ui::Icono_Tarjeta));
}

void TestListas::lectoresYLogins()
{
    TF_Main *m = Principal();
    m->Muestra(*m->Instalacion());
    QCOMPARE(columna(m->Instalacion()->Lista_INI, 0), QStringList({"1", "2"}));
    QCOMPARE(columna(m->Instalacion()->Lista_INI, 1), QStringList({"Entrada", "Salida"}));
    QCOMPARE(kv::ui::Icono_De(m->Instalacion()->Lista_INI->topLevelItem(0), 0), int(kv::ui::Icono_Elemento));

    QCOMPARE(columna(m->Lectores()->L1_Contr, 0), QStringList({"1", "2"}));
    QCOMPARE(columna(m->Lectores()->L1_Contr, 2), QStringList({"21", "21"}));
    QCOMPARE(columna(m->Lectores()->L1_Contr, 4), QStringList({"1", "2"}));

    QVERIFY(g_entorno->sqlPrincipal({"INSERT INTO usuario VALUES (gen_id(GEN_USUARIO_ID, 1), 'guard', 'door', 'USER')"}));
    m->Muestra(*m->Logins());
    QVERIFY(m->Logins()->Panel()->isVisibleTo(m));
    QCOMPARE(columna(m->Logins()->Lista4, 0), QStringList({"admin", "guard"}));
    QCOMPARE(columna(m->Logins()->Lista4, 1), QStringList({"ADMIN", "USER"}));
    QCOMPARE(kv::ui::Icono_De(m->Logins()->Lista4->topLevelItem(1), 0), int(kv::ui::Icono_Login));
}

void TestListas::seleccion_data()
{
    QTest::addColumn<QString>("lista");
    QTest::addColumn<bool>("varias");
    for (const char *n : {"Lista1", "Lista3", "L1_Contr", "L2_Contr", "Lista_Incidencias"})
        QTest::newRow(n) << n << true;
    for (const char *n : {"Lista_INI", "Lista4"})
        QTest::newRow(n) << n << false;
}

void TestListas::seleccion()
{
    QFETCH(QString, lista);
    QFETCH(bool, varias);
    auto *l = Principal()->findChild<QTreeWidget *>(lista);
    QVERIFY(l);
    QCOMPARE(l->selectionMode() == QAbstractItemView::ExtendedSelection, varias);
    QCOMPARE(l->editTriggers(), QAbstractItemView::NoEditTriggers);
}

void TestListas::paginas_data()
{
    QTest::addColumn<int>("nodo");
    QTest::addColumn<QString>("pagina");
    QTest::addColumn<QString>("cabecera");
    QTest::newRow("installation") << 0 << "PANEL_INSTALACION" << "Keyvane - Main site";
    QTest::newRow("users") << 1 << "PANEL_LISTA_USR" << "Users";
    QTest::newRow("cards") << 2 << "PANEL_LISTA_CARDS" << "Cards";
    QTest::newRow("readers") << 3 << "PANEL_LISTA_READERS" << "Readers";
    QTest::newRow("logins") << 5 << "PANEL_LISTA_LOGINS" << "Logins";
    QTest::newRow("parameters") << 6 << "PANEL_PARAMETERS" << "Parameters";
}

void TestListas::paginas()
{
    QFETCH(int, nodo);
    QFETCH(QString, pagina);
    QFETCH(QString, cabecera);
    TF_Main *m = Principal();
    m->showMaximized();
    // Clicked in the tree, as the operator picks a node.
    m->Arbol1->setCurrentItem(Nodo(m, nodo));
    QCOMPARE(m->L_Cuerpo->text(), cabecera);
    int visibles = 0;
    for (QWidget *p : m->PANEL_NAVEGATOR->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (p->objectName().startsWith("PANEL_") && p->isVisible()) {
            ++visibles;
            QCOMPARE(p->objectName(), pagina);
        }
    }
    QCOMPARE(visibles, 1);

    // Management has no page: the one shown stays.
    m->Arbol1->setCurrentItem(Nodo(m, 4));
    QVERIFY(m->findChild<QWidget *>(pagina)->isVisible());
    QCOMPARE(m->L_Cuerpo->text(), QStringLiteral("Management"));
}

void TestListas::herramientas()
{
    TF_Main *m = Principal();
    m->showMaximized();
    QTest::mouseClick(m->SpeedButton11, Qt::LeftButton);
    QCOMPARE(m->PageControl1->currentWidget(), m->TabSheet2);
    QVERIFY(m->PANEL_TOOLS->isVisible());
    QVERIFY(!m->PANEL_NAVEGATOR->isVisible());
    QVERIFY(m->PANEL_INCIDENCIAS->isVisible());
    QVERIFY(!m->PANEL_ATTENDANCE->isVisible());
    QCOMPARE(m->L_WHICH_TOOL->text(), m->Label5->text());
    // The cameras entry never shows; the other captions sit in the middle.
    QVERIFY(!m->Image6->isVisible());
    QApplication::processEvents();
    for (QLabel *l : {m->Label5, m->Label6}) {
        const int libre = l->parentWidget()->width() - l->width();
        QVERIFY2(qAbs(l->x() - libre / 2) <= 1, qPrintable(l->objectName()));
    }

    m->PageControl1->setCurrentWidget(m->TabSheet3);
    QVERIFY(m->PANEL_REPORTS->isVisible());
    QVERIFY(!m->PANEL_TOOLS->isVisible());
    m->PageControl1->setCurrentWidget(m->TabSheet1);
    QVERIFY(m->PANEL_NAVEGATOR->isVisible());
    QVERIFY(!m->PANEL_REPORTS->isVisible());
}

void TestListas::alActivarse()
{
    TF_Main *m = Principal();
    m->Muestra(*m->Tarjetas());
    QCOMPARE(m->Tarjetas()->Lista3->topLevelItemCount(), 6);
    // Nothing changed: the page is not read again.
    const QTreeWidgetItem *antes = m->Tarjetas()->Lista3->topLevelItem(0);
    m->FormActivate();
    QCOMPARE(m->Tarjetas()->Lista3->topLevelItem(0), antes);
    QVERIFY(g_entorno->sql(1, {"DELETE FROM zarvtarjeta WHERE codigo_tarjeta = '0000000004'"}));
    // Coming back to the window shows the page as the database has it now.
    m->FormActivate();
    QCOMPARE(m->Tarjetas()->Lista3->topLevelItemCount(), 5);
    QVERIFY(!fila(m->Tarjetas()->Lista3, "0000000004"));
}
