#include "tst_informes.h"

#include "entorno.h"

#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/globales.h"
#include "reports/ui/vista_informe.h"
#include "ui/operador.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using kv::rep::ui::Vista_Informe;
using kv::ui::Operador;

namespace {

TF_Main *m()
{
    return Ventanas::F_Main;
}

Vista_Informe *vista()
{
    return m()->frPreview1;
}

QString Plantilla(const Entorno &e, const QString &fichero)
{
    return e.inst.programDir() + "/Data/" + fichero;
}

// The shipped templates in the program's Data folder, the program started
// and the administrator in, on the Reports tab.
void Prepara(Entorno &e)
{
    const QDir fuentes(QStringLiteral(KEYVANE_SOURCE_DIR "/data/reports"));
    for (const QString &f : fuentes.entryList({"*.frf"}, QDir::Files))
        QVERIFY(kv::test::copyFile(fuentes.filePath(f), Plantilla(e, f)));
    e.arranca();
    e.entra("admin", "admin");
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
    m()->PageControl1->setCurrentWidget(m()->TabSheet3);
    QVERIFY(m()->PANEL_REPORTS->isVisible());
}

QTreeWidgetItem *Nodo(int indice)
{
    QTreeWidgetItem *raiz = m()->Arbol_REPORTS->topLevelItem(0);
    return indice == 0 ? raiz : raiz->child(indice - 1);
}

void Elige(int indice)
{
    m()->Arbol_REPORTS->setCurrentItem(Nodo(indice));
}

QStringList Columna(int col)
{
    QStringList r;
    const kv::rep::Informe *i = vista()->Informe();
    for (qsizetype f = 0; i && f < i->Filas(); ++f)
        r << i->Paginas().Celda(f, col);
    return r;
}

int Paginas_Pdf(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(30000))
        return -1;
    const QRegularExpressionMatch r =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(p.readAllStandardOutput()));
    return r.hasMatch() ? r.captured(1).toInt() : -1;
}

} // namespace

void TestInformes::cadaNodoLlenaLaVista()
{
    Entorno e;
    QVERIFY(e.sql(1, {"INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(1,'Ana','Ruiz','S')",
                      "INSERT INTO zarvtarjeta(codigo_tarjeta,fecha_alta,usuario,usar_fecha_cad) "
                      "VALUES('0000000001','2026-01-01 00:00:00',1,'N')"}));
    Prepara(e);
    for (int i = 1; i <= 4; ++i) {
        Elige(i);
        QVERIFY2(vista()->Informe(), qPrintable(vista()->Texto_Aviso()));
        QCOMPARE(vista()->Informe()->Entrada().indice, i);
        QVERIFY(vista()->Informe()->Numero_Paginas() > 0);
        QCOMPARE(vista()->L_Pagina->text(), QStringLiteral("1 of %1").arg(vista()->Informe()->Numero_Paginas()));
        QVERIFY(!vista()->Imagen().isNull());
        QVERIFY(vista()->Texto_Aviso().isEmpty());
    }
    QCOMPARE(Columna(2), QStringList{"0000000001"});

    // A card given while another tab was on show is in the report when the
    // Reports tab comes back.
    QVERIFY(e.sql(1, {"INSERT INTO zarvtarjeta(codigo_tarjeta,fecha_alta,usuario,usar_fecha_cad) "
                      "VALUES('0000000002','2026-01-02 00:00:00',1,'N')"}));
    m()->PageControl1->setCurrentWidget(m()->TabSheet1);
    m()->PageControl1->setCurrentWidget(m()->TabSheet3);
    QCOMPARE(Columna(2), (QStringList{"0000000001", "0000000002"}));

    // The root closes the report and shows nothing in its place.
    Elige(0);
    QVERIFY(!vista()->Informe());
    QVERIFY(vista()->Texto_Aviso().isEmpty());
    QVERIFY(vista()->Imagen().isNull());
    QVERIFY(!vista()->B_Imprimir->isEnabled());
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
}

void TestInformes::plantillaAusenteORota()
{
    Entorno e;
    QVERIFY(e.sql(1, {"INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(1,'Ana','Ruiz','S')"}));
    Prepara(e);
    Elige(1);
    QVERIFY(vista()->Informe());

    QVERIFY(QFile::remove(Plantilla(e, "cards.frf")));
    Elige(2);
    QVERIFY(!vista()->Informe());
    QVERIFY2(vista()->Texto_Aviso().contains("cards.frf: the file does not exist"), qPrintable(vista()->Texto_Aviso()));

    // A template broken on one line: told with the line, the report before
    // is not shown.
    Elige(1);
    QVERIFY(vista()->Informe());
    QFile f(Plantilla(e, "controllers.frf"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("page A4\ncolumn COD width=20 colour=red\n");
    f.close();
    Elige(3);
    QVERIFY(!vista()->Informe());
    QVERIFY2(vista()->Texto_Aviso().contains("controllers.frf: line 2: column has no option colour"),
             qPrintable(vista()->Texto_Aviso()));
    QVERIFY(vista()->Imagen().isNull());
    QVERIFY(!vista()->B_Exportar->isEnabled());

    // Mended, the same node works again at the next selection.
    QVERIFY(kv::test::copyFile(KEYVANE_SOURCE_DIR "/data/reports/controllers.frf", Plantilla(e, "controllers.frf")));
    Elige(0);
    Elige(3);
    QVERIFY(vista()->Informe());
    QVERIFY(vista()->Texto_Aviso().isEmpty());
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
}

void TestInformes::otraInstalacion()
{
    Entorno e;
    QVERIFY(e.nuevaInstalacion(2, "Oficina"));
    QVERIFY(e.sql(1, {"INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(1,'Uno','Primera','S')"}));
    QVERIFY(e.sql(2, {"INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(1,'Dos','Segunda','S')",
                      "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(2,'Tres','Segunda','S')"}));
    Prepara(e);
    Elige(1);
    QCOMPARE(Columna(0), QStringList{"Uno"});

    // Switching the way the installation window does: close, select, open.
    Globales::Sistema.reset();
    m()->Selector().Selecciona(1);
    m()->Abre_Instalacion("2");
    // The closed installation's report is gone, and the node can be chosen again.
    QVERIFY(!vista()->Informe());
    QVERIFY(!m()->Arbol_REPORTS->currentItem());
    Elige(1);
    QCOMPARE(Columna(0), (QStringList{"Dos", "Tres"}));
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
}

void TestInformes::botonesDeLaVista()
{
    Entorno e;
    QStringList filas;
    for (int i = 1; i <= 130; ++i)
        filas << QStringLiteral("INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(%1,'N%1','A%1','S')").arg(i);
    QVERIFY(e.sql(1, filas));
    Prepara(e);
    Elige(1);
    QVERIFY(vista()->Informe());
    const int n = vista()->Informe()->Numero_Paginas();
    QVERIFY(n >= 3);
    QVERIFY(!vista()->B_Primera->isEnabled());
    QVERIFY(!vista()->B_Anterior->isEnabled());

    struct Paso {
        QToolButton *boton;
        int pagina;
    };
    const Paso pasos[] = {{vista()->B_Siguiente, 1}, {vista()->B_Ultima, n - 1}, {vista()->B_Anterior, n - 2}, {vista()->B_Primera, 0}};
    for (const Paso &p : pasos) {
        const QImage antes = vista()->Imagen();
        p.boton->click();
        QCOMPARE(vista()->Pagina(), p.pagina);
        QCOMPARE(vista()->L_Pagina->text(), QStringLiteral("%1 of %2").arg(p.pagina + 1).arg(n));
        QVERIFY(vista()->Imagen() != antes);
    }
    QVERIFY(!vista()->B_Siguiente->isEnabled() || vista()->Pagina() + 1 < n);

    const double ajustado = vista()->Zoom();
    const int ancho = vista()->Imagen().width();
    QVERIFY(!vista()->B_Ancho->isEnabled());
    vista()->B_Acercar->click();
    QVERIFY(vista()->Zoom() > ajustado);
    QVERIFY(vista()->Imagen().width() > ancho);
    vista()->B_Alejar->click();
    vista()->B_Alejar->click();
    QVERIFY(vista()->Zoom() < ajustado);
    vista()->B_Ancho->click();
    QCOMPARE(vista()->Zoom(), ajustado);
    QVERIFY(!vista()->B_Ancho->isEnabled());

    // Export: the file asked for, ".pdf" added, every page in it.
    QTemporaryDir dir;
    Operador::clear();
    Operador::setNextFileName(dir.filePath("usuarios"));
    vista()->B_Exportar->click();
    QCOMPARE(Operador::history().size(), 1);
    QCOMPARE(Operador::history().first().tipo, QStringLiteral("file"));
    QCOMPARE(Paginas_Pdf(dir.filePath("usuarios.pdf")), n);
    // Cancelled, nothing is written.
    vista()->B_Exportar->click();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);

    // Print: the print dialog, and the pages on the printer it was given
    // (a PDF file here, as no printer is installed for tests).
    const QString impreso = dir.filePath("impreso.pdf");
    bool dialogo = false;
    Operador::setNextDialogAction([&](QDialog *d) {
        auto *pd = qobject_cast<QPrintDialog *>(d);
        if (!pd)
            return;
        dialogo = true;
        pd->printer()->setOutputFormat(QPrinter::PdfFormat);
        pd->printer()->setOutputFileName(impreso);
        // The base class's accept: the dialog's own would set the printer
        // from its widgets again.
        d->QDialog::accept();
    });
    vista()->B_Imprimir->click();
    QVERIFY(dialogo);
    QCOMPARE(Paginas_Pdf(impreso), n);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
}
