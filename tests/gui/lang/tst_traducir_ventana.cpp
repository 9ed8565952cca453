#include "tst_traducir_ventana.h"

#include "idioma_temporal.h"

#include "lang/tablas.h"
#include "lang/ui/traducir.h"
#include "model/inicodec.h"
#include "model/variables.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

#include <memory>

namespace {

// Every key the program reads, with "@" + the key as its text, so each target
// shows which key reached it. Two exceptions show the other two outcomes.
QByteArray fichero_de_prueba()
{
    QByteArray f = "[ENGLISH]\r\n";
    for (const QString &k : Lang::Todas_Las_Claves()) {
        if (k == QLatin1String("F_Main_B_Login_Caption"))
            continue; // absent: the marker
        if (k == QLatin1String("F_Main_L_Cuerpo_Caption"))
            f += "f_main_l_cuerpo_caption=\r\n"; // present, empty, spelled in another case
        else
            f += kv::Cp1252::encode(k + QLatin1String("=@") + k) + "\r\n";
    }
    return f;
}

template <class W, class P>
W *hijo(P padre, const char *nombre)
{
    auto *w = new W(padre);
    w->setObjectName(QLatin1String(nombre));
    return w;
}

QTreeWidgetItem *nodo(QTreeWidgetItem *padre, const char *texto)
{
    return new QTreeWidgetItem(padre, QStringList{QLatin1String(texto)});
}

// Part of the main window, built the way the real one is.
std::unique_ptr<QWidget> ventana_main()
{
    auto v = std::make_unique<QWidget>();
    v->setObjectName(QStringLiteral("F_Main"));
    hijo<QLabel>(v.get(), "L_Cuerpo")->setText(QStringLiteral("design"));
    hijo<QPushButton>(v.get(), "B_Login");
    hijo<QToolButton>(v.get(), "SpeedButton2");
    hijo<QRadioButton>(v.get(), "R2");

    // The tab pages sit deep inside their page control, not on the window.
    auto *marco = hijo<QWidget>(v.get(), "PANEL_LEFT");
    auto *tabs = hijo<QTabWidget>(marco, "PageControl1");
    for (const char *n : {"TabSheet1", "TabSheet2", "TabSheet3"})
        tabs->addTab(hijo<QWidget>(nullptr, n), QStringLiteral("design"));

    // Seven nodes over two roots, collapsed: indexes run through all levels.
    auto *arbol = hijo<QTreeWidget>(v.get(), "Arbol1");
    auto *raiz = new QTreeWidgetItem(arbol, QStringList{QStringLiteral("0")});
    for (const char *t : {"1", "2", "3"})
        nodo(raiz, t);
    auto *gestion = new QTreeWidgetItem(arbol, QStringList{QStringLiteral("4")});
    nodo(gestion, "5");
    nodo(gestion, "6");

    auto *usuarios = hijo<QTreeWidget>(v.get(), "Lista1");
    usuarios->setColumnCount(5);
    hijo<QTableWidget>(v.get(), "Lista_INI"); // no columns yet: the headers make them
    auto *tarjetas = hijo<QTreeView>(v.get(), "Lista3");
    tarjetas->setModel(new QStandardItemModel(0, 7, tarjetas));

    hijo<QLabel>(v.get(), "I_PLAY_ON");
    hijo<QObject>(v.get(), "Save_INC");            // stands for a dialog made when needed
    hijo<QFileDialog>(v.get(), "Open_INC");        // a real one, a window of its own
    auto *presencia = hijo<QTreeWidget>(v.get(), "Lista_Presencia");
    presencia->setColumnCount(4);
    return v;
}

std::unique_ptr<QWidget> ventana_usuario()
{
    auto v = std::make_unique<QWidget>();
    v->setObjectName(QStringLiteral("F_Nuevo_Usr"));
    hijo<QGroupBox>(v.get(), "xpGroupBox1");
    hijo<QCheckBox>(v.get(), "CH1");
    auto *menu = hijo<QMenu>(v.get(), "PopupMenu1");
    for (const char *n : {"Edit3", "Delete1", "Cancelar1"})
        hijo<QAction>(menu, n);
    return v;
}

std::unique_ptr<QWidget> ventana_login()
{
    auto v = std::make_unique<QWidget>();
    v->setObjectName(QStringLiteral("F_Nuevo_login"));
    hijo<QComboBox>(v.get(), "C_Nivel"); // empty: the entries are made
    return v;
}

QString leer(QWidget *v, const QString &tipo, const QString &objeto, int i)
{
    QObject *o = objeto.isEmpty() ? v : Lang::Buscar_Objeto(v, objeto);
    if (!o)
        return QStringLiteral("<no %1>").arg(objeto);
    if (tipo == QLatin1String("tab")) {
        auto *tabs = v->findChild<QTabWidget *>();
        return tabs->tabText(tabs->indexOf(static_cast<QWidget *>(o)));
    }
    if (tipo == QLatin1String("node")) {
        auto *arbol = static_cast<QTreeWidget *>(o);
        QTreeWidgetItemIterator it(arbol);
        for (int n = 0; n < i && *it; ++n)
            ++it;
        return *it ? (*it)->text(0) : QStringLiteral("<no node>");
    }
    if (tipo == QLatin1String("header")) {
        if (auto *tabla = qobject_cast<QTableWidget *>(o))
            return tabla->horizontalHeaderItem(i) ? tabla->horizontalHeaderItem(i)->text() : QString();
        return static_cast<QAbstractItemView *>(o)->model()->headerData(i, Qt::Horizontal).toString();
    }
    if (tipo == QLatin1String("item"))
        return static_cast<QComboBox *>(o)->itemText(i);
    if (tipo == QLatin1String("title") && qobject_cast<QGroupBox *>(o))
        return static_cast<QGroupBox *>(o)->title();
    return o->property(tipo.toLatin1().constData()).toString();
}

} // namespace

void TestTraducirVentana::appliesEachKindOfTarget_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("objeto");
    QTest::addColumn<int>("indice");
    QTest::addColumn<QString>("clave");

    const auto fila = [](const char *nombre, const char *ventana, const char *tipo, const char *objeto, int i,
                         const char *clave) {
        QTest::newRow(nombre) << QString::fromLatin1(ventana) << QString::fromLatin1(tipo) << QString::fromLatin1(objeto)
                              << i << QString::fromLatin1(clave);
    };
    fila("window title", "F_Main", "windowTitle", "", -1, "F_Main_Caption");
    fila("tool button", "F_Main", "text", "SpeedButton2", -1, "F_Main_SpeedButton2_Caption");
    fila("radio button", "F_Main", "text", "R2", -1, "F_Main_R2_Caption");
    fila("tab sheet 1", "F_Main", "tab", "TabSheet1", -1, "F_Main_PageControl1_TabSheet1_Caption");
    fila("tab sheet 3", "F_Main", "tab", "TabSheet3", -1, "F_Main_PageControl1_TabSheet3_Caption");
    fila("root node", "F_Main", "node", "Arbol1", 0, "F_Main_Arbol1_Items0_Text");
    fila("child node", "F_Main", "node", "Arbol1", 3, "F_Main_Arbol1_Items3_Text");
    fila("second root", "F_Main", "node", "Arbol1", 4, "F_Main_Arbol1_Items4_Text");
    fila("last child", "F_Main", "node", "Arbol1", 6, "F_Main_Arbol1_Items6_Text");
    fila("tree column", "F_Main", "header", "Lista1", 4, "F_Main_Lista1_Columns4_Caption");
    fila("table column", "F_Main", "header", "Lista_INI", 1, "F_Main_Lista_INI_Columns1_Caption");
    fila("model column", "F_Main", "header", "Lista3", 6, "F_Main_Lista3_Columns6_Caption");
    fila("odd-case column", "F_Main", "header", "Lista_Presencia", 3, "F_Main_Lista_Presencia_Columns3_caption");
    fila("hint", "F_Main", "toolTip", "I_PLAY_ON", -1, "F_Main_I_PLAY_ON_Hint");
    fila("dialog stand-in", "F_Main", "windowTitle", "Save_INC", -1, "F_Main_Save_INC_Title");
    fila("file dialog", "F_Main", "windowTitle", "Open_INC", -1, "F_Main_Open_INC_Title");
    fila("group box", "F_Nuevo_Usr", "title", "xpGroupBox1", -1, "F_Nuevo_Usr_xpGroupBox1_Caption");
    fila("check box", "F_Nuevo_Usr", "text", "CH1", -1, "F_Nuevo_Usr_CH1_Caption");
    fila("menu item", "F_Nuevo_Usr", "text", "Delete1", -1, "F_Nuevo_Usr_Delete1_Caption");
    fila("combo entry 0", "F_Nuevo_login", "item", "C_Nivel", 0, "F_Nuevo_login_C_Nivel_Items0_Text");
    fila("combo entry 1", "F_Nuevo_login", "item", "C_Nivel", 1, "F_Nuevo_login_C_Nivel_Items1_Text");
}

void TestTraducirVentana::appliesEachKindOfTarget()
{
    QFETCH(QString, ventana);
    QFETCH(QString, tipo);
    QFETCH(QString, objeto);
    QFETCH(int, indice);
    QFETCH(QString, clave);

    IdiomaTemporal idioma(fichero_de_prueba());
    Variables::Idioma = QStringLiteral("ENGLISH");
    std::unique_ptr<QWidget> v = ventana == QLatin1String("F_Main")        ? ventana_main()
                                 : ventana == QLatin1String("F_Nuevo_Usr") ? ventana_usuario()
                                                                            : ventana_login();
    Lang::Traducir_Ventana(v.get());
    QCOMPARE(leer(v.get(), tipo, objeto, indice), QLatin1Char('@') + clave);
}

void TestTraducirVentana::reportsTargetsTheWindowLacks()
{
    IdiomaTemporal idioma(fichero_de_prueba());
    Variables::Idioma = QStringLiteral("ENGLISH");
    auto v = ventana_main();
    // A dialog owned by the main window keeps its own controls, even one
    // named like a control the main window lacks.
    auto *dialogo = hijo<QDialog>(v.get(), "F_Delete_Conf");
    auto *ajeno = hijo<QPushButton>(dialogo, "B_Delete");
    ajeno->setText(QStringLiteral("design"));

    const QStringList faltan = Lang::Traducir_Ventana(v.get());
    QVERIFY(faltan.contains(QStringLiteral("F_Main_B_Send_Caption")));
    QVERIFY(faltan.contains(QStringLiteral("F_Main_B_Delete_Caption")));
    QVERIFY(faltan.contains(QStringLiteral("F_Main_Arbol_REPORTS_Items0_Text")));
    QCOMPARE(ajeno->text(), QStringLiteral("design"));
    for (const char *aplicada : {"F_Main_Caption", "F_Main_Arbol1_Items6_Text", "F_Main_Save_INC_Title",
                                 "F_Main_PageControl1_TabSheet2_Caption", "F_Main_Lista3_Columns0_Caption"})
        QVERIFY2(!faltan.contains(QLatin1String(aplicada)), aplicada);

    // Everything else of the window's table is reported: a window under test
    // sees exactly which of its controls lack their names.
    const Lang::Tabla_Ventana *tabla = Lang::Tabla_De(QStringLiteral("F_Main"));
    QVERIFY(faltan.size() < int(tabla->claves.size()));
}

void TestTraducirVentana::missingAndEmptyTexts()
{
    IdiomaTemporal idioma(fichero_de_prueba());
    Variables::Idioma = QStringLiteral("english");
    auto v = ventana_main();
    Lang::Traducir_Ventana(v.get());
    QCOMPARE(v->findChild<QPushButton *>(QStringLiteral("B_Login"))->text(), QStringLiteral("¿?"));
    QCOMPARE(v->findChild<QLabel *>(QStringLiteral("L_Cuerpo"))->text(), QString());

    // A language the file does not have: every text reads the marker.
    Variables::Idioma = QStringLiteral("KLINGON");
    auto otra = ventana_main();
    Lang::Traducir_Ventana(otra.get());
    QCOMPARE(otra->windowTitle(), QStringLiteral("¿?"));
    QCOMPARE(otra->findChild<QRadioButton *>(QStringLiteral("R2"))->text(), QStringLiteral("¿?"));
}

void TestTraducirVentana::editButtonSharesTheAttendanceButtonText()
{
    IdiomaTemporal idioma("[ENGLISH]\r\nF_Main_SpeedButton2_Caption=Define I/O readers\r\n");
    Variables::Idioma = QStringLiteral("ENGLISH");
    auto v = ventana_main();
    auto *editar = hijo<QPushButton>(v.get(), "B_edit_usr");
    Lang::Traducir_Ventana(v.get());
    QCOMPARE(editar->text(), v->findChild<QToolButton *>(QStringLiteral("SpeedButton2"))->text());
    QCOMPARE(editar->text(), QStringLiteral("Define I/O readers"));
}

void TestTraducirVentana::comboTextOnAListThatHoldsIt()
{
    IdiomaTemporal idioma("[ENGLISH]\r\nF_Parametros_app_C_Idioma_Text=ESPA\xD1OL\r\n");
    Variables::Idioma = QStringLiteral("ENGLISH");
    QWidget v;
    v.setObjectName(QStringLiteral("F_Parametros_app"));
    auto *lista = hijo<QComboBox>(&v, "C_Idioma");
    lista->addItems({QStringLiteral("ENGLISH"), QStringLiteral("ESPAÑOL")});
    Lang::Traducir_Ventana(&v);
    QCOMPARE(lista->currentText(), QStringLiteral("ESPAÑOL"));

    lista->setEditable(true);
    lista->setCurrentIndex(0);
    Lang::Traducir_Ventana(&v);
    QCOMPARE(lista->currentText(), QStringLiteral("ESPAÑOL"));
}

void TestTraducirVentana::untranslatedWindowIsLeftAlone()
{
    IdiomaTemporal idioma(fichero_de_prueba());
    Variables::Idioma = QStringLiteral("ENGLISH");
    QWidget v;
    v.setObjectName(QStringLiteral("F_Select_Lang"));
    v.setWindowTitle(QStringLiteral("Keyvane"));
    auto *etiqueta = hijo<QLabel>(&v, "Label1");
    etiqueta->setText(QStringLiteral("Please select a language."));
    QVERIFY(Lang::Traducir_Ventana(&v).isEmpty());
    QCOMPARE(v.windowTitle(), QStringLiteral("Keyvane"));
    QCOMPARE(etiqueta->text(), QStringLiteral("Please select a language."));
}
