// keyvane-cli's attendance commands as an installer scripts them: a real
// installation file with designated readers and a cardholder's events; the
// same sheet as the attendance area, its file on --save, and a designation
// made without a display.
#include "cli_proceso.h"
#include "fbtest.h"
#include "tempinstall.h"

#include "workflows/presencia.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using kv::test::FbConnection;

class CliPresenciaTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.isOpen());
        const QStringList sentencias = {
            "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) "
            "VALUES(1,1,'ENTRADA','Main*door',1)",
            "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(2,1,'','Garage',2)",
            "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(4,'Eva','Neil','S')",
        };
        for (const QString &s : sentencias)
            ASSERT_TRUE(db.exec(s)) << db.lastError().toStdString();
        for (const char *f : {"(1,1,'2031-05-06 08:00:00',1,4)", "(2,2,'2031-05-06 17:00:00',1,4)"})
            ASSERT_TRUE(db.exec(QStringLiteral("INSERT INTO zarvincidencia(cod,controlador,\"TIMESTAMP\",evento,usr) "
                                               "VALUES")
                                + QLatin1String(f)))
                << db.lastError().toStdString();
    }

    kv::test::TempInstall inst;
};

TEST_F(CliPresenciaTest, PrintsAndSavesTheSheetAndDesignatesReaders)
{
    Salida_Cli s = Ejecuta_Cli(inst, {"attendance", "4", "2031-05"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    ASSERT_EQ(s.lineas.size(), 31);
    EXPECT_TRUE(s.lineas[5].contains(" Main*door]\t\t")) << s.lineas[5].toStdString();

    // The Garage as the exit gives the day its stay.
    s = Ejecuta_Cli(inst, {"readers-designate", "2", "exit"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    s = Ejecuta_Cli(inst, {"attendance", "4", "2031-05-06"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    ASSERT_EQ(s.lineas.size(), 1);
    EXPECT_TRUE(s.lineas[0].endsWith(" Garage]\t9:0:0")) << s.lineas[0].toStdString();

    // Saved with .txt added once, it reads back as the attendance area opens it, "*" included.
    QTemporaryDir dir;
    for (const char *nombre : {"mayo", "mayo.txt"}) {
        s = Ejecuta_Cli(inst, {"attendance", "4", "2031-05-06", "--save", dir.filePath(nombre)});
        ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("mayo.txt.txt")));
    const kv::wf::Lectura_Presencia leido = kv::wf::Lee_Fichero_Presencia(dir.filePath("mayo.txt"));
    ASSERT_EQ(leido.filas.size(), 1);
    EXPECT_TRUE(leido.filas[0].Entradas.endsWith(" Main*door]"));
    EXPECT_EQ(leido.filas[0].Estancia, "9:0:0");

    // A day without incidences has no line.
    s = Ejecuta_Cli(inst, {"attendance", "4", "2031-05-07"});
    EXPECT_EQ(s.estado, 0);
    EXPECT_TRUE(s.lineas.isEmpty());
}

TEST_F(CliPresenciaTest, RefusesWhatIsNotACardholderAPeriodOrADesignation)
{
    struct Caso {
        QStringList args;
        const char *error;
    };
    const Caso casos[] = {
        {{"attendance", "x", "2031-05"}, "x is not a cardholder number"},
        {{"attendance", "5", "2031-05"}, "no cardholder 5"},
        {{"attendance", "4", "2031-13"}, "2031-13 is not a month"},
        {{"attendance", "4", "2031-05", "--out", "x"}, "optionally --save FILE"},
        {{"attendance", "4", "2031-05", "--save", "/nonexistent/dir/m"}, "/nonexistent/dir/m.txt"},
        {{"readers-designate", "9", "exit"}, "no reader 9"},
        {{"readers-designate", "1", "in"}, "in is not entrance, exit or none"},
    };
    for (const Caso &c : casos) {
        const Salida_Cli s = Ejecuta_Cli(inst, c.args);
        EXPECT_EQ(s.estado, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains(QLatin1String(c.error))) << s.err.toStdString();
    }
}
