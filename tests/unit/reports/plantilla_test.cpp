// The template parser: what a good template gives, and for each kind of
// mistake the line it is reported on and why.
#include "reports/maqueta.h"
#include "reports/plantilla.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace kv::rep;

namespace {

Plantilla Lee(const char *texto)
{
    return Lee_Plantilla(QByteArray(texto));
}

} // namespace

TEST(Plantilla, ReadsEveryStatement)
{
    const Plantilla p = Lee("# a comment\n"
                            "page Letter landscape   # trailing comment\n"
                            "margins 10 12.5 10 20\n"
                            "font 8 \"DejaVu Sans\"\n"
                            "title \"[campo_1] \\\"q\\\" # not a comment\"\n"
                            "\n"
                            "footer \"p. {page}\"\n"
                            "Column nombre width=50 caption=\"[campo_2] [[x]\" align=RIGHT\n"
                            "COLUMN fecha_alta width=30.5 date=yyyy-MM-dd\n"
                            "column usar_fecha_cad width=20 bool=Yes|No align=center\n");
    EXPECT_EQ(p.tamano, QPageSize::Letter);
    EXPECT_EQ(p.orientacion, QPageLayout::Landscape);
    EXPECT_EQ(p.margenes, QMarginsF(10, 12.5, 10, 20));
    EXPECT_EQ(p.letra, 8);
    EXPECT_EQ(p.familia, "DejaVu Sans");
    EXPECT_EQ(p.titulo.texto, "[campo_1] \"q\" # not a comment");
    EXPECT_EQ(p.titulo.linea, 5);
    EXPECT_EQ(p.pie.texto, "p. {page}");
    ASSERT_EQ(p.columnas.size(), 3u);
    EXPECT_EQ(p.columnas[0].campo, "nombre");
    EXPECT_EQ(p.columnas[0].titulo.texto, "[campo_2] [[x]");
    EXPECT_EQ(p.columnas[0].alineacion, Alineacion::Derecha);
    EXPECT_EQ(p.columnas[0].linea, 8);
    EXPECT_EQ(p.columnas[1].ancho, 30.5);
    EXPECT_EQ(p.columnas[1].formato_fecha, "yyyy-MM-dd");
    EXPECT_TRUE(p.columnas[2].logico);
    EXPECT_EQ(p.columnas[2].si, "Yes");
    EXPECT_EQ(p.columnas[2].no, "No");
    EXPECT_EQ(p.columnas[2].alineacion, Alineacion::Centro);

    const QHash<QString, QString> etiquetas = {{"campo_1", "Users"}, {"campo_2", "Name"}};
    EXPECT_EQ(Sustituye(p.titulo, etiquetas), "Users \"q\" # not a comment");
    EXPECT_EQ(Sustituye(p.columnas[0].titulo, etiquetas), "Name [x]");
}

TEST(Plantilla, DefaultsAndTheShippedTemplatesParse)
{
    const Plantilla p = Lee("column COD width=180");
    EXPECT_EQ(p.tamano, QPageSize::A4);
    EXPECT_EQ(p.orientacion, QPageLayout::Portrait);
    EXPECT_EQ(p.pie.texto, "{page} / {pages}");
    EXPECT_EQ(p.columnas[0].titulo.texto, "COD");
    for (const char *f : {"users.frf", "cards.frf", "controllers.frf", "cards per user.frf"}) {
        QFile fichero(QStringLiteral(KEYVANE_SOURCE_DIR "/data/reports/") + QLatin1String(f));
        ASSERT_TRUE(fichero.open(QIODevice::ReadOnly)) << f;
        EXPECT_NO_THROW(Lee_Plantilla(fichero.readAll())) << f;
    }
}

TEST(Plantilla, ErrorsNameTheLineAndTheReason)
{
    struct Caso {
        const char *texto;
        int linea;
        const char *motivo;
    };
    const Caso casos[] = {
        {"", 0, "no column"},
        {"# only a comment\n\n", 0, "no column"},
        {"column A width=10\nbanner \"x\"\n", 2, "unknown statement \"banner\""},
        {"page A4\npage A5\ncolumn A width=10\n", 2, "given already on line 1"},
        {"page B7\ncolumn A width=10\n", 1, "page size is A3, A4, A5, Letter or Legal"},
        {"page A4 sideways\ncolumn A width=10\n", 1, "orientation is portrait or landscape"},
        {"margins 10 10 10\ncolumn A width=10\n", 1, "margins takes 4 value(s), not 3"},
        {"margins 10 x 10 10\ncolumn A width=10\n", 1, "a margin must be a number"},
        {"margins 96 10 96 10\ncolumn A width=10\n", 1, "leave less than 20 mm"},
        {"font 2\ncolumn A width=10\n", 1, "font size must be a number from 4 to 40"},
        {"font nan\ncolumn A width=10\n", 1, "font size must be a number"},
        {"title \"unclosed\ncolumn A width=10\n", 1, "quote is not closed"},
        {"title \"a\\nb\"\ncolumn A width=10\n", 1, "only \\\" and \\\\ may follow a backslash"},
        {"title one two\ncolumn A width=10\n", 1, "title takes 1 value(s), not 2"},
        {"title \"[campo_1\"\ncolumn A width=10\n", 1, "must name a report label"},
        {"title \"[]\"\ncolumn A width=10\n", 1, "must name a report label"},
        {"column A width=10\ncolumn\n", 2, "needs a field name"},
        {"column 9A width=10\n", 1, "needs a field name"},
        {"column \"A\" width=10\n", 1, "needs a field name"},
        {"column A\n", 1, "column A needs width=MM"},
        {"column A width=0\n", 1, "width must be a number from 1 to 1000"},
        {"column A width=10 width=20\n", 1, "width is given twice"},
        {"column A width=10 colour=red\n", 1, "column has no option colour"},
        {"column A width=10 align=middle\n", 1, "align is left, center or right"},
        {"column A width=10 bool=Yes\n", 1, "bool is YES|NO"},
        {"column A width=10 date=\n", 1, "date needs a format"},
        {"column A width=10 caption=\"[x\"\n", 1, "must name a report label"},
        {"column A width=10 stray\n", 1, "\"stray\" is not an option"},
        {"font 9 size=3\ncolumn A width=10\n", 1, "font takes no options"},
        {"column A width=100\ncolumn B width=80.5\n", 2, "the columns reach 180.5 mm; the page has 180.0 mm"},
        {"page A5 landscape\nfont 40\ntitle \"T\"\ncolumn A width=10\n", 2, "the first page holds no row"},
        {"=x\n", 1, "a line starts with a statement"},
    };
    for (const Caso &c : casos) {
        try {
            Lee(c.texto);
            ADD_FAILURE() << "accepted: " << c.texto;
        } catch (const Error_Plantilla &e) {
            EXPECT_EQ(e.Linea(), c.linea) << c.texto << " -> " << e.Texto().toStdString();
            EXPECT_TRUE(e.Motivo().contains(QString::fromUtf8(c.motivo))) << c.texto << " -> " << e.Texto().toStdString();
        }
    }
}

TEST(Plantilla, RefusesWhatIsNotSmallUtf8Text)
{
    struct Caso {
        QByteArray bytes;
        const char *motivo;
    };
    const Caso casos[] = {
        {QByteArray("column A width=10 caption=\"\xff\"\n"), "not UTF-8"},
        {QByteArray("column A width=10\n") + QByteArray(Maximo_Bytes, '#'), "larger than"},
        {QByteArray("column A width=10\ntitle \"a") + QByteArray(1, '\0') + QByteArray("b\"\n"), "NUL"},
    };
    for (const Caso &c : casos) {
        try {
            Lee_Plantilla(c.bytes);
            ADD_FAILURE() << c.motivo;
        } catch (const Error_Plantilla &e) {
            EXPECT_TRUE(e.Motivo().contains(QLatin1String(c.motivo))) << e.Texto().toStdString();
        }
    }
}

TEST(Plantilla, FieldsAndLabelsAreCheckedAgainstTheQueryAndTheLabels)
{
    const Plantilla p = Lee("title \"[campo_1]\"\n"
                            "column nombre width=60 caption=\"[Campo_2]\"\n"
                            "column APELLIDOS width=60 caption=\"[campo_3]\"\n");
    const Tabla tabla{{"NOMBRE", "APELLIDOS"}, {{"Ana", "Ruiz"}}};
    const QHash<QString, QString> etiquetas = {{"campo_1", "Users"}, {"campo_2", "Name"}, {"campo_3", "Surname"}};
    const Maqueta m(p, etiquetas, tabla);
    EXPECT_EQ(m.Titulo(), "Users");
    EXPECT_EQ(m.Cabeceras(), (QStringList{"Name", "Surname"}));
    EXPECT_EQ(m.Celda(0, 1), "Ruiz");

    try {
        Maqueta(p, etiquetas, Tabla{{"NOMBRE", "CODIGO_TARJETA"}, {}});
        ADD_FAILURE() << "a field the query lacks was accepted";
    } catch (const Error_Plantilla &e) {
        EXPECT_EQ(e.Linea(), 3);
        EXPECT_TRUE(e.Motivo().contains("no field APELLIDOS")) << e.Texto().toStdString();
    }
    try {
        Maqueta(p, {{"campo_1", "Users"}, {"campo_3", "Surname"}}, tabla);
        ADD_FAILURE() << "a label LANGREP lacks was accepted";
    } catch (const Error_Plantilla &e) {
        EXPECT_EQ(e.Linea(), 2);
        EXPECT_TRUE(e.Motivo().contains("no report label Campo_2")) << e.Texto().toStdString();
    }
}

TEST(Plantilla, PagesFollowFromTheRowCount)
{
    const Plantilla p = Lee("title \"T\"\ncolumn A width=10\n");
    const Geometria g(p);
    ASSERT_GT(g.filas_resto, g.filas_primera);
    EXPECT_EQ(g.Paginas(0), 1);
    EXPECT_EQ(g.Paginas(g.filas_primera), 1);
    EXPECT_EQ(g.Paginas(g.filas_primera + 1), 2);
    EXPECT_EQ(g.Paginas(g.filas_primera + g.filas_resto), 2);
    EXPECT_EQ(g.Paginas(g.filas_primera + g.filas_resto + 1), 3);
    const qsizetype n = g.filas_primera + g.filas_resto + 1;
    EXPECT_EQ(g.Primera_Fila(2), g.filas_primera + g.filas_resto);
    EXPECT_EQ(g.Filas_En(2, n), 1);
    EXPECT_EQ(g.Filas_En(0, n) + g.Filas_En(1, n) + g.Filas_En(2, n), n);
}
