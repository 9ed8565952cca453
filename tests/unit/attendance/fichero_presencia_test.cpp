// The attendance file: Windows-1252 lines ending in CR LF; rows come back
// with their four fields whatever they hold (a "*" in a reader description,
// text that code page cannot hold); short lines give rows the old way; and a
// file that is not one gives the rows it has and says how much it left out.
#include "workflows/presencia.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <stdexcept>

using kv::wf::Fila_Presencia;
using kv::wf::Lectura_Presencia;

namespace kv::wf {
void PrintTo(const Fila_Presencia &f, std::ostream *os)
{
    *os << qPrintable(QStringList({f.Dia, f.Entradas, f.Salidas, f.Estancia}).join(QLatin1String(" | ")));
}
} // namespace kv::wf

namespace {

const Fila_Presencia kDia{"04/03/2024", "[09:00:00 Puerta][08:00:00 Puerta]", "[18:30:15 Salida]", "10:30:15"};

} // namespace

TEST(FicheroPresencia, WritesWindows1252LinesEndingInCrLf)
{
    const QByteArray bytes =
        kv::wf::Escribe_Presencia({kDia, {"05/03/2024", QString::fromUtf8("[08:00:00 Acceso Peñón €]"), "", ""}});
    EXPECT_EQ(bytes, "04/03/2024*[09:00:00 Puerta][08:00:00 Puerta]*[18:30:15 Salida]*10:30:15\r\n"
                     "05/03/2024*[08:00:00 Acceso Pe\xF1\xF3n \x80]**\r\n");
}

class IdaYVueltaTest : public ::testing::TestWithParam<Fila_Presencia> {};

TEST_P(IdaYVueltaTest, EveryFieldComesBackAsItWas)
{
    const Lectura_Presencia r = kv::wf::Lee_Presencia(kv::wf::Escribe_Presencia({GetParam(), kDia}));
    EXPECT_EQ(r.filas, QList<Fila_Presencia>({GetParam(), kDia}));
    EXPECT_EQ(r.saltadas, 0);
    EXPECT_FALSE(r.cortada);
}

// Cyrillic, Chinese and a character outside the basic plane are no
// Windows-1252: such a table goes whole as UTF-8 behind a byte order mark.
// A first field that starts with the mark's own bytes in Windows-1252 would
// read as the mark, so it goes the same way.
INSTANTIATE_TEST_SUITE_P(
    Fields, IdaYVueltaTest,
    ::testing::Values(Fila_Presencia{"", "", "", ""},
                      Fila_Presencia{"01/03/2024", "[08:00:00 Puerta*1][07:00:00 **]", "[a\\*b\\]", "*"},
                      Fila_Presencia{"\\", "c:\\dir\\", "\\\\*", "9\\"},
                      Fila_Presencia{"02/03/2024", QString::fromUtf8("[08:00:00 Вход Ёлка]"),
                                     QString::fromUtf8("[09:00:00 出口]"), QString::fromUtf8("1:0:0 😀")},
                      Fila_Presencia{QString::fromUtf8("ï»¿x"), "", "", ""},
                      Fila_Presencia{QString(QChar(0xFEFF)) + "x", QString::fromUtf8("Œ‰ž"), "", ""}),
    [](const auto &info) { return std::to_string(info.index); });

TEST(FicheroPresencia, TextOutsideTheCodePageIsWrittenAsUtf8BehindAMark)
{
    const QByteArray bytes = kv::wf::Escribe_Presencia({{"1", QString::fromUtf8("Вход"), "", ""}});
    EXPECT_EQ(bytes, QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("1*Вход**\r\n").toUtf8());
}

struct Corta {
    const char *linea;
    Fila_Presencia fila;
};

class LineaCortaTest : public ::testing::TestWithParam<Corta> {};

TEST_P(LineaCortaTest, LacksTheMiddleFieldsAndEndsInTheStay)
{
    const Lectura_Presencia r = kv::wf::Lee_Presencia(QByteArray(GetParam().linea) + "\r\n");
    EXPECT_EQ(r.filas, QList<Fila_Presencia>({GetParam().fila}));
    EXPECT_EQ(r.saltadas, 0);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineaCortaTest,
                         ::testing::Values(Corta{"8:0:0", {"", "", "", "8:0:0"}},
                                           Corta{"01/03/2024*8:0:0", {"01/03/2024", "", "", "8:0:0"}},
                                           Corta{"01/03/2024*[e]*8:0:0", {"01/03/2024", "[e]", "", "8:0:0"}},
                                           Corta{"d*e*s*x*y", {"d", "e", "s", "x*y"}},
                                           Corta{"d*e*s*", {"d", "e", "s", ""}},
                                           Corta{"Caf\xE9*\x80",
                                                 {QString::fromUtf8("Café"), "", "", QString::fromUtf8("€")}}),
                         [](const auto &info) { return std::to_string(info.index); });

TEST(FicheroPresencia, AFileThatIsNotOneGivesTheRowsItHasAndCountsTheRest)
{
    // A row, a binary line, a blank line, a row cut short by the end of the file.
    const QByteArray bytes = QByteArray("a*b*c*d\r\n") + QByteArray("\x00\x01\xFF*x*y*z\r\n", 11) + "\r\n" + "e*f";
    const Lectura_Presencia r = kv::wf::Lee_Presencia(bytes);
    EXPECT_EQ(r.filas, QList<Fila_Presencia>({{"a", "b", "c", "d"}, {"e", "", "", "f"}}));
    EXPECT_EQ(r.saltadas, 1);
    EXPECT_FALSE(r.cortada);

    // Text in UTF-16 has a zero byte in every other place: two lines, and
    // the zero byte after the last line break a third.
    const QString texto = QStringLiteral("a*b*c*d\r\ne*f*g*h\r\n");
    const QByteArray utf16(reinterpret_cast<const char *>(texto.utf16()), texto.size() * 2);
    const Lectura_Presencia otra = kv::wf::Lee_Presencia(utf16);
    EXPECT_TRUE(otra.filas.isEmpty());
    EXPECT_EQ(otra.saltadas, 3);
}

TEST(FicheroPresencia, StopsAtTheLimitsWithTheWholeRowsBefore)
{
    QByteArray bytes;
    for (int i = 0; i < 10; ++i)
        bytes += "d" + QByteArray::number(i) + "*e*s*1:0:0\r\n";
    const Lectura_Presencia por_lineas = kv::wf::Lee_Presencia(bytes, {.bytes = 1024, .lineas = 3});
    EXPECT_EQ(por_lineas.filas.size(), 3);
    EXPECT_TRUE(por_lineas.cortada);
    const Lectura_Presencia por_bytes = kv::wf::Lee_Presencia(bytes, {.bytes = 40, .lineas = 100});
    ASSERT_EQ(por_bytes.filas.size(), 2);
    EXPECT_EQ(por_bytes.filas[1], (Fila_Presencia{"d1", "e", "s", "1:0:0"}));
    EXPECT_TRUE(por_bytes.cortada);
}

TEST(FicheroPresencia, AFileIsWrittenWholeAndOneThatCannotBeReadOrWrittenRaises)
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath("marzo.txt");
    kv::wf::Guarda_Fichero_Presencia(ruta, {kDia});
    kv::wf::Guarda_Fichero_Presencia(ruta, {kDia, kDia});
    EXPECT_EQ(kv::wf::Lee_Fichero_Presencia(ruta).filas, QList<Fila_Presencia>({kDia, kDia}));
    EXPECT_THROW(kv::wf::Guarda_Fichero_Presencia(dir.filePath("no/such/dir.txt"), {kDia}), std::runtime_error);
    EXPECT_THROW(kv::wf::Lee_Fichero_Presencia(dir.filePath("missing.txt")), std::runtime_error);
}
