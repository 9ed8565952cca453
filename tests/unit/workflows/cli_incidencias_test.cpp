// keyvane-cli's incidences command as an installer scripts it: a real
// installation file whose log holds rows of a few days; the same load and
// row format as the incidence view, and its file format on --save.
#include "cli_proceso.h"
#include "fbtest.h"
#include "tempinstall.h"

#include "workflows/fichero_incidencias.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using kv::test::FbConnection;

class CliIncidenciasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.isOpen());
        const char *filas[] = {
            "(1,1,'Main door','2031-05-01 09:00:00','0000000500 O''Neil, Eva',1,4)",
            "(2,1,'Back*door','2031-05-01 18:30:00','a*b',3,0)",
            "(3,2,'Garage','2031-05-02 08:00:00','0000000007',2,0)",
            // The last fraction of the day, which an inclusive end at .999 would drop.
            "(4,2,'Garage','2031-05-01 23:59:59.9995','late',3,0)",
        };
        for (const char *f : filas)
            ASSERT_TRUE(db.exec(QStringLiteral("INSERT INTO zarvincidencia(cod,controlador,hist_controlador,"
                                               "\"TIMESTAMP\",descripcion,evento,usr) VALUES")
                                + QLatin1String(f)))
                << db.lastError().toStdString();
    }

    kv::test::TempInstall inst;
};

TEST_F(CliIncidenciasTest, ListsADateRangeNewestFirstAndSavesItAsTheViewDoes)
{
    // A day alone as the end reaches to its end.
    Salida_Cli s = Ejecuta_Cli(inst, {"incidences", "2031-05-01", "2031-05-01"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    ASSERT_EQ(s.lineas.size(), 3);
    EXPECT_TRUE(s.lineas[0].endsWith("\tGarage\tlate\t0")) << s.lineas[0].toStdString();
    EXPECT_TRUE(s.lineas[1].endsWith("\tBack*door\ta*b\t0")) << s.lineas[1].toStdString();
    EXPECT_TRUE(s.lineas[2].endsWith("\tMain door\t0000000500 O'Neil, Eva\t4")) << s.lineas[2].toStdString();

    // Saved, the file reads back as the view opens it, "*" in a field included.
    QTemporaryDir dir;
    s = Ejecuta_Cli(inst, {"incidences", "2031-05-01T12:00", "2031-05-03", "--save", dir.filePath("log")});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    const kv::wf::Lectura_Incidencias leido = kv::wf::Lee_Fichero_Incidencias(dir.filePath("log.txt"));
    ASSERT_EQ(leido.filas.size(), 3);
    EXPECT_EQ(leido.filas[0].Descripcion, "0000000007");
    EXPECT_EQ(leido.filas[2].Origen, "Back*door");
    EXPECT_EQ(leido.filas[2].Descripcion, "a*b");

    // A start after the end is an empty list, not an error.
    s = Ejecuta_Cli(inst, {"incidences", "2031-05-03", "2031-05-01"});
    EXPECT_EQ(s.estado, 0);
    EXPECT_TRUE(s.lineas.isEmpty());
}

TEST_F(CliIncidenciasTest, RefusesWhatIsNotADateOrAFileItCannotWrite)
{
    struct Caso {
        QStringList args;
        const char *error;
    };
    const Caso casos[] = {
        {{"incidences", "yesterday", "2031-05-01"}, "yesterday is not a date"},
        {{"incidences", "2031-05-01", "2031-13-01"}, "2031-13-01 is not a date"},
        {{"incidences", "2031-05-01", "2031-05-02", "--out", "x"}, "optionally --save FILE"},
        {{"incidences", "2031-05-01", "2031-05-02", "--save", "/nonexistent/dir/log"}, "/nonexistent/dir/log.txt"},
    };
    for (const Caso &c : casos) {
        const Salida_Cli s = Ejecuta_Cli(inst, c.args);
        EXPECT_NE(s.estado, 0) << c.args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains(QLatin1String(c.error))) << s.err.toStdString();
    }
}
