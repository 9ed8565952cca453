#include "app/impresion_incidencias.h"

#include "ui/operador.h"

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace impresion {
namespace {

QTextCharFormat Letra(const QString &familia, int puntos)
{
    QTextCharFormat f;
    f.setFontFamilies({familia});
    f.setFontPointSize(puntos);
    return f;
}

QTextBlockFormat Alineado(Qt::Alignment alineacion)
{
    QTextBlockFormat b;
    b.setAlignment(alineacion);
    return b;
}

// The four columns start at the same place on every line: without tab stops
// of their own each field's tab jumps to the next default stop after it, and
// the columns zigzag down the page. Positions in the document's pixels, for a
// portrait page's printable width (about 620 of them), measured on the
// preview with the longest kind names and a full date.
QTextBlockFormat Con_Columnas(QTextBlockFormat b)
{
    b.setTabPositions({QTextOption::Tab(4, QTextOption::LeftTab), QTextOption::Tab(140, QTextOption::LeftTab),
                       QTextOption::Tab(305, QTextOption::LeftTab), QTextOption::Tab(435, QTextOption::LeftTab)});
    return b;
}

// QTextCursor::insertText starts a new block at a line break: a field that
// held one would print as two lines. Tabs stay, as the saved file keeps them.
QString En_Una_Linea(QString texto)
{
    for (QChar &c : texto)
        if (c != QLatin1Char('\t') && (c.category() == QChar::Other_Control || c == QChar::LineSeparator
                                       || c == QChar::ParagraphSeparator))
            c = QLatin1Char(' ');
    return texto;
}

QString Linea(const kv::wf::Fila_Incidencia &f)
{
    const QString tras = QStringLiteral("   ");
    const QChar tab = QLatin1Char('\t');
    return tab + En_Una_Linea(f.Evento) + tras + tab + En_Una_Linea(f.Fecha) + tras + tab + En_Una_Linea(f.Origen)
           + tras + tab + En_Una_Linea(f.Descripcion);
}

} // namespace

void Compone_Documento(QTextDocument &documento, const QString &titulo, const QList<kv::wf::Fila_Incidencia> &filas)
{
    documento.clear();
    const QTextCharFormat cabecera = Letra(QStringLiteral("Courier"), 16);
    const QTextCharFormat cuerpo = Letra(QStringLiteral("Arial"), 10);
    const QTextBlockFormat centrado = Alineado(Qt::AlignHCenter);
    const QTextBlockFormat izquierda = Con_Columnas(Alineado(Qt::AlignLeft));

    // The empty document holds one block already: the first line goes there.
    QTextCursor c(&documento);
    bool primera = true;
    auto linea = [&](const QString &texto, const QTextBlockFormat &bloque, const QTextCharFormat &letra) {
        if (primera) {
            c.setBlockFormat(bloque);
            c.setBlockCharFormat(letra);
            primera = false;
        } else {
            c.insertBlock(bloque, letra);
        }
        c.insertText(texto, letra);
    };

    c.beginEditBlock();
    // The empty lines take the format of the line they lead to, so the space
    // they leave is that of a line of it.
    for (int i = 0; i < 2; ++i)
        linea(QString(), centrado, cabecera);
    linea(titulo, centrado, cabecera);
    for (int i = 0; i < 2; ++i)
        linea(QString(), izquierda, cuerpo);
    for (const kv::wf::Fila_Incidencia &f : filas)
        linea(Linea(f), izquierda, cuerpo);
    c.endEditBlock();
}

void Imprime_Documento(const QTextDocument &documento, QPrinter &impresora)
{
    // QTextDocument lays a copy of itself out on the printer's pages, with
    // margins and page numbers; the editor's own layout stays as it is.
    documento.print(&impresora);
}

int Vista_Previa(QWidget *padre, const QTextDocument &documento)
{
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(QString::fromLatin1(Nombre_Trabajo));
    QPrintPreviewDialog vista(&impresora, padre);
    vista.setObjectName(QStringLiteral("Vista_Impresion_Incidencias"));
    // The preview paints through this too, and so does its print button, on
    // the printer the operator picks there.
    QObject::connect(&vista, &QPrintPreviewDialog::paintRequested, &vista,
                     [&documento](QPrinter *p) { Imprime_Documento(documento, *p); });
    return kv::ui::Operador::Modal(&vista);
}

} // namespace impresion
