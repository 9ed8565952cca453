#include "tst_presencia.h"

#include "entorno.h"
#include "simprocess.h"

#include "app/tf_lector_es.h"
#include "app/tf_main.h"
#include "app/tf_presencia_amplia.h"
#include "app/tf_presencia_estancia.h"
#include "app/ventanas.h"
#include "app/ventanas_presencia.h"
#include "lang/ui/traducir.h"
#include "link/tdorno.h"
#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionusuario.h"
#include "ui/imagen_pulsable.h"
#include "ui/imagenes.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using kv::test::SimProcess;
using kv::ui::Operador;

namespace {

// Ana Alba's events: an entry, a reader outside attendance, an exit.
QString Marca(int lector, const char *momento)
{
    return QStringLiteral("INSERT INTO zarvincidencia(cod,controlador,\"TIMESTAMP\",evento,usr) "
                          "VALUES(gen_id(GEN_ZARVINCIDENCIA_ID, 1),%1,'%2',1,8)")
        .arg(lector)
        .arg(QLatin1String(momento));
}

// Ids out of surname order; two readers share COM1.
const QStringList Datos = {
    "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(1,1,'ENTRADA','Puerta*N',1)",
    "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(2,1,'SALIDA','Salida',2)",
    "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(3,2,'','Garaje',1)",
    "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(7,'Eva','Zeta','S')",
    "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(8,'Ana','Alba','S')",
    "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(9,'Luis','Mora','S')",
    Marca(1, "2024-03-04 08:00:00"),
    Marca(3, "2024-03-04 12:00:00"),
    Marca(2, "2024-03-04 17:30:00"),
};

QString Dia(int dia)
{
    return QLocale::system().toString(QDate(2024, 3, dia), QLocale::ShortFormat);
}

QList<QStringList> Filas(QTreeWidget *l)
{
    QList<QStringList> r;
    for (int i = 0; i < l->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *f = l->topLevelItem(i);
        r << QStringList{f->text(0), f->text(1), f->text(2), f->text(3)};
    }
    return r;
}

QList<int> Iconos(QTreeWidget *l)
{
    QList<int> r;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        r << kv::ui::Icono_De(l->topLevelItem(i), 0);
    return r;
}

QStringList Hijos(const QTreeWidgetItem *raiz)
{
    QStringList r;
    for (int i = 0; i < raiz->childCount(); ++i)
        r << raiz->child(i)->text(0);
    return r;
}

QStringList Mensajes()
{
    QStringList r;
    for (const auto &h : Operador::history())
        if (h.tipo == QLatin1String("message"))
            r << h.texto;
    return r;
}

// The program on the rows above, with the attendance area open on March 2024.
TF_Main *Abre_Presencia(Entorno &e)
{
    if (!e.sql(1, Datos))
        return nullptr;
    e.arranca();
    // No reader answers on these lines: what start-up said about them is not
    // what these tests look at.
    Operador::clear();
    TF_Main *m = Ventanas::F_Main;
    m->show();
    if (!QTest::qWaitForWindowExposed(m))
        return nullptr;
    // Hidden, the area does not follow the calendar.
    m->Calendar1->setSelectedDate(QDate(2024, 3, 10));
    if (m->Arbol_Presencia->topLevelItemCount() != 0)
        return nullptr;
    m->PageControl1->setCurrentWidget(m->TabSheet2);
    QTest::mouseClick(m->Image3, Qt::LeftButton);
    return m;
}

// Which readers' lines are open now, in reader order.
QList<bool> Lineas_Abiertas()
{
    QList<bool> r;
    ZARVColeccionControlador *controladores = Globales::Sistema->Controladores();
    for (int i = 0; i < controladores->Cuenta(); ++i) {
        const ZARVComunicador *com = controladores->Elemento(i)->Comunicador();
        r << (com && com->Enlace() && com->Enlace()->Connected());
    }
    return r;
}

QStringList Tipos(const TF_Lector_ES *v)
{
    QStringList r;
    for (int i = 0; i < v->Lista->topLevelItemCount(); ++i)
        r << v->Lista->topLevelItem(i)->text(2);
    return r;
}

// Selects the cardholder's node of the tree, as a click would.
void Elige(TF_Main *m, const QString &nombre)
{
    QTreeWidgetItem *raiz = m->Arbol_Presencia->topLevelItem(0);
    for (int i = 0; raiz && i < raiz->childCount(); ++i)
        if (raiz->child(i)->text(0) == nombre)
            m->Arbol_Presencia->setCurrentItem(raiz->child(i));
}

} // namespace

void TestPresencia::arbolMesYDia()
{
    Entorno e;
    TF_Main *m = Abre_Presencia(e);
    QVERIFY(m);
    QVERIFY(!m->PANEL_ATTENDANCE->isHidden());
    QVERIFY(m->PANEL_INCIDENCIAS->isHidden());
    QCOMPARE(m->L_WHICH_TOOL->text(), m->Label6->text());
    QCOMPARE(m->Arbol_Presencia->topLevelItemCount(), 1);
    QTreeWidgetItem *raiz = m->Arbol_Presencia->topLevelItem(0);
    QCOMPARE(raiz->text(0), QStringLiteral("March 2024"));
    QCOMPARE(kv::ui::Icono_De(raiz, 0), 9);
    QVERIFY(raiz->isExpanded());
    QCOMPARE(Hijos(raiz), QStringList({"Alba, Ana", "Mora, Luis", "Zeta, Eva"}));
    QCOMPARE(kv::ui::Icono_De(raiz->child(0), 0), 6);
    // The users page lists by surname from now on.
    QCOMPARE(Globales::Sistema->Usuarios()->Elemento(0)->Apellidos(), QStringLiteral("Alba"));

    Elige(m, "Alba, Ana");
    QCOMPARE(m->L_usuario_presencia->text(), QStringLiteral("Alba, Ana"));
    const QList<QStringList> mes = Filas(m->Lista_Presencia);
    QCOMPARE(mes.size(), 31);
    QCOMPARE(Iconos(m->Lista_Presencia), QList<int>(31, 9));
    QCOMPARE(mes[0], QStringList({Dia(1), "", "", ""}));
    QVERIFY2(mes[3][1].endsWith(" Puerta*N]") && mes[3][2].endsWith(" Salida]"), qPrintable(mes[3].join('|')));
    QCOMPARE(mes[3][3], QStringLiteral("9:30:0"));
    // The root changes nothing.
    m->Arbol_Presencia->setCurrentItem(raiz);
    QCOMPARE(Filas(m->Lista_Presencia), mes);
    QCOMPARE(m->L_usuario_presencia->text(), QStringLiteral("Alba, Ana"));

    // The day view: the table keeps its rows until a cardholder is chosen;
    // a day without incidences has no row.
    QTest::mouseClick(m->R2, Qt::LeftButton);
    QCOMPARE(m->Arbol_Presencia->topLevelItem(0)->text(0), Dia(10));
    QCOMPARE(m->L_usuario_presencia->text(), QString());
    QCOMPARE(Filas(m->Lista_Presencia), mes);
    Elige(m, "Alba, Ana");
    QCOMPARE(m->Lista_Presencia->topLevelItemCount(), 0);
    m->Calendar1->setSelectedDate(QDate(2024, 3, 4));
    Elige(m, "Alba, Ana");
    QCOMPARE(Filas(m->Lista_Presencia), QList<QStringList>({mes[3]}));
    QCOMPARE(m->Lista_Presencia->topLevelItem(0)->text(0), m->Arbol_Presencia->topLevelItem(0)->text(0));

    // Another installation opened: its cardholders are not these.
    m->Abre_Instalacion(QStringLiteral("1"));
    QCOMPARE(m->Arbol_Presencia->topLevelItemCount(), 0);
    QCOMPARE(m->Lista_Presencia->topLevelItemCount(), 0);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
}

void TestPresencia::designarLectores()
{
    Entorno e;
    // Both readers of COM1 answer: a window that opened their lines would
    // hold the port, and the second reader's open would fail.
    SimProcess com1(1, {"--controllers", "1,2"}, e.inst.portsDir());
    SimProcess com2(2, {"--controllers", "1"}, e.inst.portsDir());
    TF_Main *m = Abre_Presencia(e);
    QVERIFY(m);
    QVERIFY(Ventanas::F_Lector_ES);
    QCOMPARE(Lang::Traducir_Ventana(Ventanas::F_Lector_ES), QStringList());
    const QList<bool> lineas = Lineas_Abiertas();

    QList<QStringList> mostradas;
    int retenciones = -1;
    Operador::setNextDialogAction([&](QDialog *d) {
        auto *v = qobject_cast<TF_Lector_ES *>(d);
        QVERIFY(v);
        retenciones = kv::wf::Coordinacion::Retenciones();
        QCOMPARE(Lineas_Abiertas(), lineas);
        for (int i = 0; i < v->Lista->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *f = v->Lista->topLevelItem(i);
            mostradas << QStringList{f->text(0), f->text(1), f->text(2)};
        }
        // The menu acts on the selected reader only.
        v->Lista->setCurrentItem(v->Lista->topLevelItem(2));
        v->Entrada1->trigger();
        QCOMPARE(Tipos(v), QStringList({"I", "O", "I"}));
        v->Lista->setCurrentItem(v->Lista->topLevelItem(0));
        v->Nousarparapresencia1->trigger();
        QCOMPARE(Tipos(v), QStringList({"", "O", "I"}));
        v->Cancelar1->trigger();
        QCOMPARE(Tipos(v), QStringList({"", "O", "I"}));
        QCOMPARE(v->Lista->currentItem()->text(0), QStringLiteral("1"));
        QTest::mouseClick(v->BitBtn2, Qt::LeftButton);
    });
    QTest::mouseClick(m->SpeedButton2, Qt::LeftButton);
    QCOMPARE(mostradas, QList<QStringList>({{"1", "Puerta*N", "I"}, {"2", "Salida", "O"}, {"3", "Garaje", ""}}));
    QVERIFY(!Ventanas::F_Lector_ES->isVisible());
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    // The maintenance waited while the window was open, and runs again.
    QVERIFY(retenciones > 0);
    QCOMPARE(kv::wf::Coordinacion::Retenciones(), 0);

    // The sheet follows: the Garaje is an entrance, the Puerta no longer.
    Elige(m, "Alba, Ana");
    const QStringList dia = Filas(m->Lista_Presencia).value(3);
    QVERIFY2(dia[1].endsWith(" Garaje]") && !dia[1].contains("Puerta"), qPrintable(dia.join('|')));
    QCOMPARE(dia[3], QStringLiteral("5:30:0"));

    // Storing a designation reloads the readers, which closes their lines:
    // while registering, the lines listen again afterwards.
    QTest::mouseClick(m->I_PLAY_OFF, Qt::LeftButton);
    QVERIFY(Variables::Registrando);
    Operador::setNextDialogAction([](QDialog *d) {
        auto *v = qobject_cast<TF_Lector_ES *>(d);
        v->Lista->setCurrentItem(v->Lista->topLevelItem(0));
        v->Entrada1->trigger();
        QCOMPARE(Tipos(v), QStringList({"I", "O", "I"}));
        v->accept();
    });
    QTest::mouseClick(m->SpeedButton2, Qt::LeftButton);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QVERIFY(com1.ok("card 2 12345"));
    QTreeWidget *vivas = m->Lista_Incidencias;
    QTRY_VERIFY_WITH_TIMEOUT(vivas->topLevelItemCount() > 0 && vivas->topLevelItem(0)->text(2) == "Salida", 10000);
}

void TestPresencia::corregirYAmpliar()
{
    Entorno e;
    TF_Main *m = Abre_Presencia(e);
    QVERIFY(m);
    for (QWidget *w : {static_cast<QWidget *>(Ventanas::F_Presencia_Estancia),
                       static_cast<QWidget *>(Ventanas::F_Presencia_Amplia)})
        QCOMPARE(Lang::Traducir_Ventana(w), QStringList());
    Elige(m, "Alba, Ana");
    QTreeWidget *l = m->Lista_Presencia;
    QTreeWidgetItem *cuarto = l->topLevelItem(3);
    l->scrollToItem(cuarto);
    const auto doble_clic = [l, cuarto] {
        const QPoint centro = l->visualItemRect(cuarto).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, centro);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, centro);
    };

    // Enter in the field accepts.
    QStringList mostrado;
    Operador::setNextDialogAction([&](QDialog *d) {
        auto *v = qobject_cast<TF_Presencia_Estancia *>(d);
        QVERIFY(v);
        mostrado = {v->L_Usuario->text(), v->L_Fecha->text(), v->Edit1->text()};
        v->Edit1->setText("8:0:0");
        QTest::keyClick(v->Edit1, Qt::Key_Return);
    });
    doble_clic();
    QCOMPARE(mostrado, QStringList({"Alba, Ana", Dia(4), "9:30:0"}));
    QCOMPARE(cuarto->text(3), QStringLiteral("8:0:0"));
    // Cancel keeps the stay.
    Operador::setNextDialogAction([](QDialog *d) {
        auto *v = qobject_cast<TF_Presencia_Estancia *>(d);
        v->Edit1->setText("1:1:1");
        QTest::mouseClick(v->B_Cancel, Qt::LeftButton);
    });
    doble_clic();
    QCOMPARE(cuarto->text(3), QStringLiteral("8:0:0"));

    QTest::mouseClick(m->SpeedButton8, Qt::LeftButton);
    TF_Presencia_Amplia *amplia = Ventanas::F_Presencia_Amplia;
    QVERIFY(amplia->isVisible());
    QCOMPARE(Filas(amplia->Lista_Presencia), Filas(l));
    QCOMPARE(Iconos(amplia->Lista_Presencia), Iconos(l));
    QTest::mouseClick(amplia->B_Aceptar, Qt::LeftButton);
    QVERIFY(!amplia->isVisible());
}

void TestPresencia::guardarYAbrir()
{
    Entorno e;
    TF_Main *m = Abre_Presencia(e);
    QVERIFY(m);
    Elige(m, "Alba, Ana");
    QTreeWidget *l = m->Lista_Presencia;
    const QList<QStringList> mes = Filas(l);
    QTemporaryDir dir;

    // ".txt" only when the name lacks it; lines end in CR LF.
    for (const char *nombre : {"marzo", "marzo.txt"}) {
        Operador::setNextFileName(dir.filePath(nombre));
        QTest::mouseClick(m->SpeedButton7, Qt::LeftButton);
    }
    QVERIFY(!QFile::exists(dir.filePath("marzo.txt.txt")));
    QFile f(dir.filePath("marzo.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    QCOMPARE(bytes.count("\r\n"), 31);
    QCOMPARE(bytes.count('\n'), 31);

    // Another cardholder's empty month in the table, then the file back.
    Elige(m, "Mora, Luis");
    Operador::setNextFileName(dir.filePath("marzo.txt"));
    QTest::mouseClick(m->SpeedButton3, Qt::LeftButton);
    QCOMPARE(Filas(l), mes);
    QCOMPARE(Iconos(l), QList<int>(31, 9));
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    QCOMPARE(Mensajes(), QStringList());

    // A file that cannot be opened, or written, leaves the table as it is.
    Operador::setNextFileName(dir.filePath("missing.txt"));
    QTest::mouseClick(m->SpeedButton3, Qt::LeftButton);
    Operador::setNextFileName(dir.filePath("no/such/dir/marzo"));
    QTest::mouseClick(m->SpeedButton7, Qt::LeftButton);
    QCOMPARE(erroresMostrados().size(), 2);
    QVERIFY(erroresMostrados().at(0).contains("missing.txt"));
    QCOMPARE(Filas(l), mes);

    // A file that is only partly a table: its rows, and one message for the rest.
    QFile malo(dir.filePath("malo.txt"));
    QVERIFY(malo.open(QIODevice::WriteOnly));
    malo.write(QByteArray("d*e*s*1:0:0\r\n") + QByteArray("\x00\x01\x02\r\n", 5) + "8:0:0");
    malo.close();
    Operador::setNextFileName(malo.fileName());
    QTest::mouseClick(m->SpeedButton3, Qt::LeftButton);
    QCOMPARE(Filas(l), QList<QStringList>({{"d", "e", "s", "1:0:0"}, {"", "", "", "8:0:0"}}));
    QCOMPARE(Mensajes(), QStringList({Variables::Mensaje("Variables_variables_F_Main_53") + " 1"}));
}
