// Workbooks: what the writer puts in a cell comes back as those characters;
// a workbook another application wrote reads as that application shows it
// (its active sheet, numbers as digits, formulas as their value, dates as
// dates); a file that is not a workbook, or one past the limits, is refused
// with the reason and without reading it whole.
#include "libro_a_mano.h"
#include "workbooks/libro.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using kv::libros::Error_Libro;
using kv::libros::Hoja;
using kv::libros::Limites;
using kv::test::Xlsx_A_Mano;

namespace {

QStringList Celdas(const Hoja &h, std::size_t i)
{
    return i < h.filas.size() ? h.filas[i].celdas : QStringList{QStringLiteral("<no row>")};
}

QByteArray Lee_Fichero(const QString &ruta)
{
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Fixture(const char *nombre)
{
    return QStringLiteral(KEYVANE_SOURCE_DIR "/tests/unit/workbooks/fixtures/") + QLatin1String(nombre);
}

} // namespace

TEST(LibroTest, EveryWrittenCellReadsBackAsTheSameText)
{
    // Texts a value-guessing writer would change: zeros in front, formulas,
    // numbers with signs and exponents, escapes, long text, other scripts.
    const std::vector<QStringList> filas = {
        {QStringLiteral("Card"), QStringLiteral("Name"), QStringLiteral("Surname")},
        {QStringLiteral("0000012345"), QStringLiteral("=1+1"), QStringLiteral("+34 600")},
        {QStringLiteral("0000000001"), QStringLiteral("1E5"), QStringLiteral("12.50")},
        {QStringLiteral("0000000002"), QStringLiteral("_x0041_ & <b>"), QStringLiteral("Núñez Ibáñez ΩЖ中")},
        {QStringLiteral("0000000003"), QString(), QStringLiteral("two\nlines\ttab")},
        {QStringLiteral("0000000004"), QString(300, QLatin1Char('x')), QStringLiteral("TRUE")},
    };
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("export.xlsx"));
    kv::libros::Escribe_Xlsx(ruta, filas);
    const Hoja h = kv::libros::Lee_Hoja(ruta, 3);
    ASSERT_EQ(h.filas.size(), filas.size());
    for (std::size_t i = 0; i < filas.size(); ++i) {
        EXPECT_EQ(h.filas[i].numero, qint64(i) + 1);
        EXPECT_EQ(h.filas[i].celdas, filas[i]) << "row " << i + 1;
    }
}

TEST(LibroTest, AFailedWriteLeavesTheEarlierFileAsItWas)
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("export.xlsx"));
    kv::libros::Escribe_Xlsx(ruta, {{QStringLiteral("first")}});
    const QByteArray antes = Lee_Fichero(ruta);
    // A cell past the application's limit is cut, never a failure; an
    // unwritable directory is one.
    EXPECT_THROW(kv::libros::Escribe_Xlsx(dir.filePath(QStringLiteral("no/such/dir.xlsx")), {{QStringLiteral("x")}}),
                 Error_Libro);
    EXPECT_EQ(Lee_Fichero(ruta), antes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("export.xlsx")});
}

TEST(LibroTest, AnotherApplicationsWorkbookReadsAsItShowsIt)
{
    Xlsx_A_Mano x;
    // The first sheet is not the one shown: the reader must not take it.
    x.hojas.emplace_back(QStringLiteral("Old"), R"(<sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>wrong sheet</t></is></c></row></sheetData>)");
    x.hojas.emplace_back(QStringLiteral("Cards"),
                         R"(<sheetData>
<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c></row>
<row r="2"><c r="A2"><v>12345</v></c><c r="B2" t="s"><v>3</v></c><c r="C2" t="inlineStr"><is><r><t>Ló</t></r><r><t>pez</t></r></is></c></row>
<row r="3"><c r="A3" s="1"><v>1.2345E4</v></c><c r="B3" t="str"><f>CONCAT("A","na")</f><v>Ana</v></c><c r="C3"><f>1+1</f><v>2</v></c></row>
<row r="5"><c r="C5" t="inlineStr"><is><t>only C</t></is></c><c r="D5"><v>9</v></c></row>
<row><c><v>7.5</v></c><c t="b"><v>1</v></c><c s="2"><v>45292</v></c></row>
<row r="8"><c r="A8" s="3"><v>45292.5</v></c><c r="B8" t="e"><v>#DIV/0!</v></c></row>
</sheetData>)");
    x.activa = 1;
    x.cadenas = R"(<si><t>Code</t></si><si><t>Name</t></si><si><r><t>Sur</t></r><rPh><t>ignored</t></rPh><r><t>name</t></r></si><si><t xml:space="preserve"> Eva </t></si>)";
    x.estilos = R"(<numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy\-mm\-dd hh:mm"/></numFmts>
<cellXfs count="4"><xf numFmtId="0"/><xf numFmtId="1"/><xf numFmtId="14"/><xf numFmtId="164"/></cellXfs>)";
    const Hoja h = kv::libros::Lee_Xlsx(x.Bytes(), 3);
    EXPECT_EQ(h.nombre, QStringLiteral("Cards"));
    ASSERT_EQ(h.filas.size(), 6u);
    EXPECT_EQ(Celdas(h, 0), QStringList({"Code", "Name", "Surname"}));
    EXPECT_EQ(Celdas(h, 1), QStringList({"12345", " Eva ", "López"}));
    EXPECT_EQ(Celdas(h, 2), QStringList({"12345", "Ana", "2"}));
    EXPECT_EQ(h.filas[3].numero, 5);
    EXPECT_EQ(Celdas(h, 3), QStringList({"", "", "only C"}));
    // A row and its cells without references follow the ones before.
    EXPECT_EQ(h.filas[4].numero, 6);
    EXPECT_EQ(Celdas(h, 4), QStringList({"7.5", "TRUE", "2024-01-01"}));
    EXPECT_EQ(Celdas(h, 5), QStringList({"2024-01-01 12:00:00", "#DIV/0!", ""}));
}

TEST(LibroTest, ALegacyWorkbookReadsItsFirstSheet)
{
    // Written record by record by fixtures/hace_xls.py: shared and inline
    // strings, numbers, a text that looks like a formula, and a second sheet.
    const Hoja h = kv::libros::Lee_Hoja(Fixture("otro.xls"), 3);
    EXPECT_EQ(h.nombre, QStringLiteral("Cards"));
    ASSERT_EQ(h.filas.size(), 3u);
    EXPECT_EQ(Celdas(h, 0), QStringList({"Code", "Name", "Surname"}));
    EXPECT_EQ(Celdas(h, 1), QStringList({"12345", "Ana", "Ibáñez"}));
    EXPECT_EQ(Celdas(h, 2), QStringList({"0000000007", "=1+1", "7.5"}));
}

TEST(LibroTest, AnEmptySheetHasNoRows)
{
    Xlsx_A_Mano x;
    x.hojas.emplace_back(QStringLiteral("Sheet1"), "<sheetData/>");
    EXPECT_TRUE(kv::libros::Lee_Xlsx(x.Bytes(), 3).filas.empty());
}

namespace {

struct Malo {
    const char *name;
    QByteArray bytes;
    Error_Libro::Tipo tipo;
    Limites limites = {};
};

void PrintTo(const Malo &m, std::ostream *os) { *os << m.name; }

QByteArray Libro_Valido()
{
    Xlsx_A_Mano x;
    QByteArray filas = "<sheetData>";
    for (int i = 1; i <= 200; ++i)
        filas += "<row r=\"" + QByteArray::number(i) + "\"><c t=\"inlineStr\"><is><t>row " + QByteArray::number(i)
                 + "</t></is></c></row>";
    x.hojas.emplace_back(QStringLiteral("S"), filas + "</sheetData>");
    return x.Bytes();
}

Xlsx_A_Mano Con_Hoja(const QByteArray &datos, const QByteArray &cadenas = {})
{
    Xlsx_A_Mano x;
    x.hojas.emplace_back(QStringLiteral("S"), datos);
    x.cadenas = cadenas;
    return x;
}

std::vector<Malo> Malos()
{
    using T = Error_Libro::Tipo;
    const QByteArray valido = Libro_Valido();
    // Two megabytes of blanks that deflate to a few kilobytes.
    const QByteArray bomba = Con_Hoja("<sheetData>" + QByteArray(2 << 20, ' ') + "</sheetData>").Bytes();
    QByteArray muchas_cadenas;
    for (int i = 0; i < 50; ++i)
        muchas_cadenas += "<si><t>s</t></si>";
    return {
        {"text", "Card;Name;Surname\n12345;Ana;Lopez\n", T::No_Libro},
        {"empty", QByteArray(), T::No_Libro},
        {"truncated_zip", valido.left(valido.size() / 2), T::No_Libro},
        {"zip_without_workbook", kv::test::Zip_De({{QStringLiteral("a.txt"), "hello"}}), T::No_Libro},
        {"ole_header_only", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0'), T::No_Libro},
        {"broken_xml", Con_Hoja("<sheetData><row><c><v>1</v></row></sheetData>").Bytes(), T::No_Libro},
        {"shared_string_out_of_range", Con_Hoja("<sheetData><row><c t=\"s\"><v>3</v></c></row></sheetData>", "<si><t>a</t></si>").Bytes(), T::No_Libro},
        {"zip_bomb", bomba, T::Demasiado, {.bytes_parte = 1 << 20}},
        {"row_past_the_sheet", Con_Hoja("<sheetData><row r=\"1048577\"><c><v>1</v></c></row></sheetData>").Bytes(), T::Demasiado},
        {"more_rows_than_allowed", valido, T::Demasiado, {.filas = 100}},
        {"huge_shared_string_table", Con_Hoja("<sheetData/>", muchas_cadenas).Bytes(), T::Demasiado, {.cadenas = 10}},
        {"file_too_large", valido, T::Demasiado, {.bytes_fichero = 100}},
        // Found by the fuzz target: this file crashes the legacy format's
        // library, which therefore reads in a process of its own.
        {"xls_that_crashes_its_reader", Lee_Fichero(Fixture("cae_freexl.xls")), T::No_Libro},
        {"xls_claiming_endless_rows", Lee_Fichero(Fixture("filas_sin_fin.xls")), T::Demasiado},
    };
}

} // namespace

class LibroMaloTest : public ::testing::TestWithParam<Malo> {};

TEST_P(LibroMaloTest, IsRefusedWithItsReason)
{
    const Malo &m = GetParam();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("bad.xlsx"));
    QFile f(ruta);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(m.bytes);
    f.close();
    try {
        kv::libros::Lee_Hoja(ruta, 3, m.limites);
        FAIL() << "read as a workbook";
    } catch (const Error_Libro &e) {
        EXPECT_EQ(e.tipo(), m.tipo) << e.what();
        EXPECT_STRNE(e.what(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Casos, LibroMaloTest, ::testing::ValuesIn(Malos()),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(LibroTest, AMillionRowsReadWithinTheDefaultLimits)
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("big.xlsx"));
    std::vector<QStringList> filas;
    filas.reserve(1000000);
    for (int i = 0; i < 1000000; ++i)
        filas.push_back({QString::number(i).rightJustified(10, QLatin1Char('0')), QStringLiteral("N"), QStringLiteral("S")});
    kv::libros::Escribe_Xlsx(ruta, filas);
    const Hoja h = kv::libros::Lee_Hoja(ruta, 3);
    ASSERT_EQ(h.filas.size(), filas.size());
    EXPECT_EQ(h.filas.back().celdas, filas.back());
}
