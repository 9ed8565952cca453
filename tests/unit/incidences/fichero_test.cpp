// The saved incidence file: rows come back with their five fields whatever
// they hold, lines written before the escaping read as they are, and a file
// that is not one gives the rows it has and says how much it left out.
#include "workflows/fichero_incidencias.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

using kv::wf::Fila_Incidencia;
using kv::wf::Lectura_Incidencias;

namespace kv::wf {
void PrintTo(const Fila_Incidencia &f, std::ostream *os)
{
    *os << qPrintable(QStringList({f.Evento, f.Fecha, f.Origen, f.Descripcion, f.Usuario}).join(QLatin1String(" | ")));
}
} // namespace kv::wf

namespace {

struct Caso {
    const char *name;
    QByteArray bytes;
    QList<Fila_Incidencia> filas;
    qsizetype saltadas;
};

const Fila_Incidencia kAceptada{"Accepted card", "01/05/2024 11:00:00", "Door 1", "0000012345 Garcia Lopez, Ana", "1"};

} // namespace

class IdaYVueltaTest : public ::testing::TestWithParam<Fila_Incidencia> {};

TEST_P(IdaYVueltaTest, EveryFieldComesBackAsItWas)
{
    const Lectura_Incidencias r = kv::wf::Lee_Incidencias(kv::wf::Escribe_Incidencias({GetParam(), kAceptada}));
    EXPECT_EQ(r.filas, QList<Fila_Incidencia>({GetParam(), kAceptada}));
    EXPECT_EQ(r.saltadas, 0);
    EXPECT_FALSE(r.cortada);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, IdaYVueltaTest,
    ::testing::Values(Fila_Incidencia{"Door alarm", "01/05/2024", "Garaje", "", "-1"},
                      Fila_Incidencia{"", "", "", "", ""},
                      Fila_Incidencia{"*", "a*b", "**", "x * y", "*1*"},
                      Fila_Incidencia{"\\", "a\\b", "c:\\dir\\", "\\*", "\\\\*\\"},
                      Fila_Incidencia{"ñandú €", "\\\\\\", "*\\", "tab\there", "9\\"}),
    [](const auto &info) { return std::to_string(info.index); });

TEST(FicheroIncidencias, LinesWithoutEscapesReadAsTheyAre)
{
    const Lectura_Incidencias r = kv::wf::Lee_Incidencias(
        "Accepted card*01/05/2024 11:00:00*Door 1*0000012345 Garcia Lopez, Ana*1\r\n"
        "*02/05/2024*C:\\Readers\\North*a\\b*5*6\r\n");
    EXPECT_EQ(r.filas, QList<Fila_Incidencia>({kAceptada, {"", "02/05/2024", "C:\\Readers\\North", "a\\b", "5*6"}}));
    EXPECT_EQ(r.saltadas, 0);
}

TEST(FicheroIncidencias, AFieldHoldingTheSeparatorIsEscapedOnlyThere)
{
    EXPECT_EQ(kv::wf::Linea_Incidencia({"E", "D", "C:\\x", "a*b\\", "U\\"}), "E*D*C:\\x*a\\*b\\\\*U\\");
}

class MalaEntradaTest : public ::testing::TestWithParam<Caso> {};

TEST_P(MalaEntradaTest, GivesTheRowsThatParseAndCountsTheRest)
{
    const Caso &c = GetParam();
    const Lectura_Incidencias r = kv::wf::Lee_Incidencias(c.bytes);
    EXPECT_EQ(r.filas, c.filas);
    EXPECT_EQ(r.saltadas, c.saltadas);
    EXPECT_FALSE(r.cortada);
}

const QByteArray kLinea = "Accepted card*01/05/2024 11:00:00*Door 1*0000012345 Garcia Lopez, Ana*1";

INSTANTIATE_TEST_SUITE_P(
    Files, MalaEntradaTest,
    ::testing::Values(
        Caso{"Empty", "", {}, 0},
        Caso{"BlankLines", "\n\r\n  \n" + kLinea + "\n\n", {kAceptada}, 0},
        Caso{"Crlf", kLinea + "\r\n" + kLinea + "\r\n", {kAceptada, kAceptada}, 0},
        Caso{"NoFinalNewline", kLinea, {kAceptada}, 0},
        Caso{"Utf8Bom", "\xEF\xBB\xBF" + kLinea, {kAceptada}, 0},
        Caso{"TooFewSeparators", "a*b*c*d\n" + kLinea + "\nplain text\n", {kAceptada}, 2},
        Caso{"Binary", QByteArray("\x7f" "ELF\x02\x01*\0\0*\x03*\x04*\x05\n", 16) + kLinea + "\n", {kAceptada}, 1},
        Caso{"Utf16", QByteArray("a\0*\0b\0*\0c\0*\0d\0*\0e\0\n\0", 20), {}, 2},
        Caso{"Latin1", "Tarjeta rechazada*1/5/24*Sal\xF3n*Nu\xF1" "ez*-1\n",
             {{"Tarjeta rechazada", "1/5/24", "Sal\u00f3n", "Nu\u00f1ez", "-1"}}, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FicheroIncidencias, StopsAtTheLimitsWithTheWholeRowsBefore)
{
    const QByteArray tres = kLinea + "\n" + kLinea + "\n" + kLinea + "\n";
    for (const kv::wf::Limites_Lectura l : {kv::wf::Limites_Lectura{.lineas = 2},
                                           kv::wf::Limites_Lectura{.bytes = 2 * kLinea.size() + 5}}) {
        const Lectura_Incidencias r = kv::wf::Lee_Incidencias(tres, l);
        EXPECT_EQ(r.filas, QList<Fila_Incidencia>({kAceptada, kAceptada}));
        EXPECT_EQ(r.saltadas, 0);
        EXPECT_TRUE(r.cortada);
    }
}

TEST(FicheroIncidencias, TxtIsAddedOnlyWhenMissing)
{
    const std::pair<QString, QString> casos[] = {
        {"log", "log.txt"}, {"log.txt", "log.txt"}, {"LOG.TXT", "LOG.TXT"},
        {"log.Txt", "log.Txt"}, {"log.txt.bak", "log.txt.bak.txt"}, {"logtxt", "logtxt.txt"},
    };
    for (const auto &[nombre, esperado] : casos)
        EXPECT_EQ(kv::wf::Con_Extension_Txt(nombre), esperado) << qPrintable(nombre);
}

TEST(FicheroIncidencias, AFileIsOverwrittenAndAnEmptyListGivesAnEmptyFile)
{
    QTemporaryDir dir;
    const QString ruta = dir.filePath("inc.txt");
    kv::wf::Guarda_Fichero_Incidencias(ruta, {kAceptada, kAceptada});
    EXPECT_EQ(kv::wf::Lee_Fichero_Incidencias(ruta).filas.size(), 2);
    kv::wf::Guarda_Fichero_Incidencias(ruta, {});
    EXPECT_EQ(QFileInfo(ruta).size(), 0);
    EXPECT_THROW(kv::wf::Lee_Fichero_Incidencias(dir.filePath("none.txt")), std::runtime_error);
    EXPECT_THROW(kv::wf::Guarda_Fichero_Incidencias(dir.filePath("no/such/dir.txt"), {}), std::runtime_error);
}
