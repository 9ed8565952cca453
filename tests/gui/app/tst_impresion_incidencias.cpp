#include "tst_impresion_incidencias.h"

#include "entorno.h"

#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/variables.h"
#include "ui/operador.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

using kv::ui::Operador;

namespace {

QString Titulo()
{
    return Variables::Mensaje("Variables_variables_F_Main_26");
}

// What the printout of the list gave: whether the preview came up, the job
// name of its printer, and the text of the PDF it printed.
struct Impreso {
    bool vista = false;
    QString trabajo;
    QString texto;
};

// Clicks Print and, in the preview, prints to a PDF file the way its print
// button does once a printer is chosen (the native print dialog stays shut).
Impreso Imprime(TF_Main *m, const QString &pdf)
{
    Impreso r;
    Operador::setNextDialogAction([&r, pdf](QDialog *d) {
        auto *vista = qobject_cast<QPrintPreviewDialog *>(d);
        auto *hoja = d ? d->findChild<QPrintPreviewWidget *>() : nullptr;
        if (!vista || !hoja)
            return;
        r.vista = true;
        QPrinter *p = vista->printer();
        r.trabajo = p->docName();
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf);
        hoja->print();
    });
    m->SpeedButton5->click();
    QProcess lector;
    lector.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (lector.waitForFinished(30000) && lector.exitCode() == 0)
        r.texto = QString::fromUtf8(lector.readAllStandardOutput());
    return r;
}

QString Sin_Blancos(QString texto)
{
    texto.remove(QRegularExpression(QStringLiteral("\\s")));
    return texto;
}

// The first of trozos not found in texto after the one before it; empty when
// all are there in that order. White space is left out of both: the printout
// spaces its fields with tabs, and a long row wraps onto a second line at
// whatever point the page's width leaves.
QString Falta_En_Orden(const QString &texto, const QStringList &trozos)
{
    const QString todo = Sin_Blancos(texto);
    qsizetype desde = 0;
    for (const QString &t : trozos) {
        const qsizetype en = todo.indexOf(Sin_Blancos(t), desde);
        if (en < 0)
            return t;
        desde = en + Sin_Blancos(t).size();
    }
    return QString();
}

} // namespace

void TestImpresionIncidencias::imprimeDesdeLaVistaPrevia()
{
    Entorno e;
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    QTemporaryDir dir;

    // Live rows arrive at the top: the list reads newest first. The U column
    // (last argument but one) is not printed.
    m->Anade_Fila_Incidencia("Aceptada", "01/05/2031 10:00:00", "Entrada", "0000012345 Garcia Lopez, Ana",
                             "UOCULTA1", 0);
    m->Anade_Fila_Incidencia("Rechazada", "01/05/2031 10:01:00", "Salida*2", "Puerta <b>norte</b> & 'sur' \"x\"",
                             "UOCULTA2", 0);
    m->Anade_Fila_Incidencia("Alarma", "02/05/2031", "Garaje", "a*b&amp;c", "UOCULTA3", 0);

    Operador::clear();
    const Impreso lleno = Imprime(m, dir.filePath("lista.pdf"));
    QVERIFY(lleno.vista);
    QCOMPARE(lleno.trabajo, QStringLiteral("Editor RTF"));
    QVERIFY2(!lleno.texto.isEmpty(), "no text read back from the PDF (pdftotext: scripts/install-deps)");
    const QStringList orden = {Titulo(),
                               "Alarma", "02/05/2031", "Garaje", "a*b&amp;c",
                               "Rechazada", "01/05/2031 10:01:00", "Salida*2", "Puerta <b>norte</b> & 'sur' \"x\"",
                               "Aceptada", "01/05/2031 10:00:00", "Entrada", "0000012345 Garcia Lopez, Ana"};
    const QString falta = Falta_En_Orden(lleno.texto, orden);
    QVERIFY2(falta.isEmpty(), qPrintable("missing \"" + falta + "\" in:\n" + lleno.texto));
    QVERIFY(!lleno.texto.contains("UOCULTA"));

    // An empty list still gives its title page, and nothing of the rows
    // printed before is left in it.
    m->SpeedButton9->click();
    const Impreso vacio = Imprime(m, dir.filePath("vacia.pdf"));
    QVERIFY(vacio.vista);
    QVERIFY2(vacio.texto.contains(Titulo()), qPrintable(vacio.texto));
    for (const char *fila : {"Aceptada", "Rechazada", "Alarma", "Garaje"})
        QVERIFY2(!vacio.texto.contains(fila), fila);
    QVERIFY2(erroresMostrados().isEmpty(), qPrintable(erroresMostrados().join('\n')));
}

void TestImpresionIncidencias::documento()
{
    Entorno e;
    e.arranca();
    TF_Main *m = Ventanas::F_Main;
    m->Anade_Fila_Incidencia("Aceptada", "01/05/2031", "Entrada", "linea\nrota", "1", 0);
    m->Anade_Fila_Incidencia("Alarma", "02/05/2031", "Garaje", "<i>x</i>", "2", 0);
    Operador::setNextDialogAction([](QDialog *) {});
    m->SpeedButton5->click();

    const QTextDocument *d = m->Re_Incidencia->document();
    QCOMPARE(d->textWidth(), 1032.0);
    struct Linea {
        QString texto;
        Qt::Alignment alineacion;
        QString letra; // every fragment's family and point size; empty lines have none
    };
    // A line break inside a field would split its row in two.
    const QList<Linea> esperadas = {
        {"", Qt::AlignHCenter, ""},
        {"", Qt::AlignHCenter, ""},
        {Titulo(), Qt::AlignHCenter, "Courier 16"},
        {"", Qt::AlignLeft, ""},
        {"", Qt::AlignLeft, ""},
        {"\tAlarma   \t02/05/2031   \tGaraje   \t<i>x</i>", Qt::AlignLeft, "Arial 10"},
        {"\tAceptada   \t01/05/2031   \tEntrada   \tlinea rota", Qt::AlignLeft, "Arial 10"},
    };
    QCOMPARE(d->blockCount(), esperadas.size());
    QTextBlock b = d->begin();
    for (const Linea &l : esperadas) {
        QCOMPARE(b.text(), l.texto);
        QCOMPARE(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, l.alineacion);
        QStringList letras;
        for (auto f = b.begin(); !f.atEnd(); ++f) {
            const QTextCharFormat c = f.fragment().charFormat();
            letras << c.font().family() + ' ' + QString::number(c.fontPointSize());
        }
        letras.removeDuplicates();
        QCOMPARE(letras.join('|'), l.letra);
        b = b.next();
    }
}
