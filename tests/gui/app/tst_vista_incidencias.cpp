#include "tst_vista_incidencias.h"

#include "entorno.h"

#include "app/dialogo_buscar.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/variables.h"
#include "ui/imagenes.h"
#include "ui/operador.h"

#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeWidget>

using kv::ui::Operador;

namespace {

QStringList Fila(const QTreeWidgetItem *f)
{
    QStringList r;
    for (int i = 0; i < 5; ++i)
        r << f->text(i);
    return r;
}

QList<QStringList> Filas(QTreeWidget *l)
{
    QList<QStringList> r;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        r << Fila(l->topLevelItem(i));
    return r;
}

QList<int> Iconos(QTreeWidget *l)
{
    QList<int> r;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        r << kv::ui::Icono_De(l->topLevelItem(i), 0);
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

// Rows as the live events leave them, oldest first: every kind, a line
// warning, an event of no known kind, and fields holding "*" and backslashes.
void Filas_En_Vivo(TF_Main *m)
{
    m->Anade_Fila_Incidencia(m->Tipos_Incidencia.value(0), "01/05/2031 10:00:00", "Entrada",
                             "0000012345 Garcia Lopez, Ana", "1", kv::ui::Icono_Tarjeta_Aceptada);
    m->Anade_Fila_Incidencia(m->Tipos_Incidencia.value(1), "01/05/2031 10:01:00", "Salida*2", "0000099999 ", "-1",
                             kv::ui::Icono_Tarjeta_Rechazada);
    m->Anade_Fila_Incidencia(m->Tipos_Incidencia.value(5), "01/05/2031", "Garaje", "", "-1", kv::ui::Icono_Alarma);
    m->Anade_Fila_Incidencia(Variables::Mensaje("Variables_variables_F_Main_35"), "01/05/2031 10:02:00", "COM2",
                             "C:\\dev\\*", "-1", kv::ui::Icono_Alarma);
    m->Anade_Fila_Incidencia("", "01/05/2031 10:03:00", "Garaje", "a*b*c", "7*8", kv::ui::Icono_Evento);
}

} // namespace

void TestVistaIncidencias::guardarYAbrir()
{
    Entorno e;
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    QTreeWidget *l = m->Lista_Incidencias;
    Filas_En_Vivo(m);
    const QList<QStringList> filas = Filas(l);
    const QList<int> iconos = Iconos(l);
    QCOMPARE(iconos, QList<int>({0, 8, 8, 1, 2}));

    QTemporaryDir dir;
    // The chosen name gets ".txt" only when it does not end with it already.
    for (const auto &[elegido, escrito] : {std::pair{"inc", "inc.txt"}, std::pair{"otro.TXT", "otro.TXT"}}) {
        Operador::clear();
        Operador::setNextFileName(dir.filePath(elegido));
        m->B_Salvar->click();
        QVERIFY(QFile::exists(dir.filePath(escrito)));
        QVERIFY(!QFile::exists(dir.filePath(QString(escrito) + ".txt")));

        m->SpeedButton9->click();
        QCOMPARE(l->topLevelItemCount(), 0);
        Operador::setNextFileName(dir.filePath(escrito));
        m->B_Recuperar->click();
        QCOMPARE(Filas(l), filas);
        QCOMPARE(Iconos(l), iconos);
        QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
        QCOMPARE(Mensajes(), QStringList());
    }

    // Cancelling the open dialog leaves the list as it is.
    Operador::setNextFileName(QString());
    m->B_Recuperar->click();
    QCOMPARE(Filas(l), filas);
}

void TestVistaIncidencias::ficheroConLineasMalas()
{
    Entorno e;
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    QTemporaryDir dir;
    QFile f(dir.filePath("viejo.txt"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    // A row in the form written before the escaping, then what is not a row.
    f.write((m->Tipos_Incidencia.value(1) + "*01/05/2031 10:00:00*Sal\\ida*0000099999 *5*6\r\n").toUtf8());
    f.write("no separators\r\n\r\n");
    f.write(QByteArray("\x00\x01*\x02*\x03*\x04\r\n", 10));
    f.close();
    m->Anade_Fila_Incidencia("left", "over", "", "", "", 0);

    Operador::clear();
    Operador::setNextFileName(f.fileName());
    m->B_Recuperar->click();
    QCOMPARE(Filas(m->Lista_Incidencias),
             QList<QStringList>({{m->Tipos_Incidencia.value(1), "01/05/2031 10:00:00", "Sal\\ida", "0000099999 ",
                                  "5*6"}}));
    QCOMPARE(Iconos(m->Lista_Incidencias), QList<int>({kv::ui::Icono_Tarjeta_Rechazada}));
    QCOMPARE(Mensajes(), QStringList({Variables::Mensaje("Variables_variables_F_Main_51") + " 2"}));

    // A file that cannot be read is an error and leaves the list as it was.
    Operador::setNextFileName(dir.filePath("none.txt"));
    m->B_Recuperar->click();
    QCOMPARE(erroresMostrados().size(), 1);
    QCOMPARE(m->Lista_Incidencias->topLevelItemCount(), 1);
}

void TestVistaIncidencias::filtroDeFechas()
{
    Entorno e;
    QStringList filas;
    const char *momentos[] = {"2031-05-01 00:00:00", "2031-05-01 10:30:00", "2031-05-02 09:00:00"};
    for (int i = 0; i < 3; ++i)
        filas << QStringLiteral("INSERT INTO zarvincidencia(cod,controlador,hist_controlador,tarjeta,hist_tarjeta,"
                                "\"TIMESTAMP\",descripcion,evento,usr) VALUES(%1,1,'Door %1','0000012345','','%2',"
                                "'d%1',%3,%4)")
                     .arg(9001 + i)
                     .arg(QLatin1String(momentos[i]))
                     .arg(i == 2 ? 9 : i + 1)
                     .arg(i == 0 ? 1 : -1);
    QVERIFY(e.sql(1, filas));
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    const QLocale sistema = QLocale::system();
    const QString medianoche = sistema.toString(QDate(2031, 5, 1), QLocale::ShortFormat);

    struct Caso {
        QDateTime inicio, fin;
        QStringList descripciones; // newest first
    };
    const Caso casos[] = {
        {QDateTime(QDate(2031, 5, 1), QTime(0, 0)), QDateTime(QDate(2031, 5, 3), QTime(0, 0)),
         {"d9003", "d9002", "d9001"}},
        {QDateTime(QDate(2031, 5, 1), QTime(10, 30)), QDateTime(QDate(2031, 5, 2), QTime(8, 59)), {"d9002"}},
        // A start after the end is no error: nothing is in the range.
        {QDateTime(QDate(2031, 5, 3), QTime(0, 0)), QDateTime(QDate(2031, 5, 1), QTime(0, 0)), {}},
    };
    for (const Caso &c : casos) {
        m->Anade_Fila_Incidencia("live", "", "", "", "", 0);
        m->Fecha_INI->setDate(c.inicio.date());
        m->Hora_INI->setTime(c.inicio.time());
        m->Fecha_FIN->setDate(c.fin.date());
        m->Hora_FIN->setTime(c.fin.time());
        m->SpeedButton1->click();
        QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
        QCOMPARE(columna(m->Lista_Incidencias, 3), c.descripciones);
    }

    m->SpeedButton9->click();
    m->Fecha_INI->setDate(QDate(2031, 5, 1));
    m->Hora_INI->setTime(QTime(0, 0));
    m->Fecha_FIN->setDate(QDate(2031, 5, 3));
    m->SpeedButton1->click();
    QTreeWidget *l = m->Lista_Incidencias;
    // A kind outside 1..6 has no name and the generic icon; midnight shows the date alone.
    QCOMPARE(Fila(l->topLevelItem(0)).mid(2), QStringList({"Door 9003", "d9003", "-1"}));
    QCOMPARE(l->topLevelItem(0)->text(0), QString());
    QCOMPARE(Fila(l->topLevelItem(2)),
             QStringList({m->Tipos_Incidencia.value(0), medianoche, "Door 9001", "d9001", "1"}));
    QVERIFY(l->topLevelItem(1)->text(1).startsWith(medianoche + ' '));
    QCOMPARE(Iconos(l), QList<int>({kv::ui::Icono_Evento, kv::ui::Icono_Tarjeta_Rechazada,
                                    kv::ui::Icono_Tarjeta_Aceptada}));
}

void TestVistaIncidencias::buscar()
{
    Entorno e;
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    QTreeWidget *l = m->Lista_Incidencias;
    Filas_En_Vivo(m);
    m->Anade_Fila_Incidencia("Other", "02/05/2031", "GARAJE norte", "", "0", 0);

    struct Caso {
        const char *texto;
        QStringList seleccionadas; // by Description
    };
    // Rows are listed newest first; the hidden U column is not searched.
    const Caso casos[] = {
        {"garaje", {"", "a*b*c", ""}},
        {"gArCiA", {"0000012345 Garcia Lopez, Ana"}},
        {"c:\\DEV", {"C:\\dev\\*"}},
        {"7*8", {}},
        {"", {}},
    };
    for (const Caso &c : casos) {
        m->B_Buscar_Inc->click();
        QVERIFY(m->Find_INC->isVisible());
        m->Find_INC->Texto->setText(QString::fromUtf8(c.texto));
        m->Find_INC->B_Buscar->click();
        QStringList halladas;
        for (const QTreeWidgetItem *f : l->selectedItems())
            halladas << f->text(3);
        halladas.sort();
        QStringList esperadas = c.seleccionadas;
        esperadas.sort();
        QCOMPARE(halladas, esperadas);
        // The dialog goes once something is found, and stays while nothing is.
        QCOMPARE(m->Find_INC->isVisible(), esperadas.isEmpty());
        m->Find_INC->close();
    }
}

void TestVistaIncidencias::rangoDeVariasPaginas()
{
    // Two pages and a bit of one day, a minute apart, the description telling
    // the minute; one row outside the range.
    const int n = 2 * TF_Main::FILAS_POR_PAGINA + 3;
    Entorno e;
    QVERIFY(e.sql(1, {QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (:i < %1) DO BEGIN "
                                     "INSERT INTO zarvincidencia(cod,controlador,hist_controlador,\"TIMESTAMP\","
                                     "descripcion,evento,usr) VALUES(100 + :i, 1, 'Door', dateadd(:i minute to "
                                     "timestamp '2031-06-01 00:00:00'), 'm' || :i, 3, 0); i = :i + 1; END END")
                          .arg(n),
                      "INSERT INTO zarvincidencia(cod,controlador,\"TIMESTAMP\",descripcion,evento,usr) "
                      "VALUES(99,1,'2031-06-03 00:00:00','later',3,0)"}));
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    m->show();
    m->SpeedButton11Click();
    m->Fecha_INI->setDate(QDate(2031, 6, 1));
    m->Hora_INI->setTime(QTime(0, 0));
    m->Fecha_FIN->setDate(QDate(2031, 6, 2));
    m->Hora_FIN->setTime(QTime(0, 0));
    m->SpeedButton1->click();
    QTreeWidget *l = m->Lista_Incidencias;
    QCOMPARE(l->topLevelItemCount(), TF_Main::FILAS_POR_PAGINA);
    QCOMPARE(l->topLevelItem(0)->text(3), QStringLiteral("m%1").arg(n - 1));

    // Scrolled to the end, the next page follows on, newest first still.
    l->scrollToBottom();
    QCOMPARE(l->topLevelItemCount(), 2 * TF_Main::FILAS_POR_PAGINA);
    QCOMPARE(l->topLevelItem(TF_Main::FILAS_POR_PAGINA)->text(3),
             QStringLiteral("m%1").arg(n - 1 - TF_Main::FILAS_POR_PAGINA));

    // A live row on top; saving writes it and the whole range, each row once.
    m->Anade_Fila_Incidencia("live", "", "", "", "", 0);
    QTemporaryDir dir;
    Operador::setNextFileName(dir.filePath("range"));
    m->B_Salvar->click();
    QFile f(dir.filePath("range.txt"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lineas = f.readAll().split('\n');
    QCOMPARE(lineas.size() - (lineas.last().trimmed().isEmpty() ? 1 : 0), n + 1);
    QVERIFY(lineas[1].contains(QStringLiteral("*m%1*").arg(n - 1).toLatin1()));
    QVERIFY(lineas[n].contains("*m0*"));

    // Find searches the whole range: the oldest row is found.
    QVERIFY(m->Find_INCFind("M0"));
    QCOMPARE(l->topLevelItemCount(), n + 1);
    QVERIFY(l->topLevelItem(n)->isSelected());

    // Cleared, scrolling brings nothing back.
    m->SpeedButton9->click();
    l->scrollToBottom();
    QCOMPARE(l->topLevelItemCount(), 0);
}
