// keyvane-cli report as an installer scripts it, on a real installation
// file: the PDF of the shipped template with its rows and pages, and the
// refusals of a wrong call and a missing template.
#include "cli_proceso.h"
#include "fbtest.h"
#include "tempinstall.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using kv::test::FbConnection;

namespace {

QString Texto_Pdf(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

class CliInformesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        const QDir fuentes(QStringLiteral(KEYVANE_SOURCE_DIR "/data/reports"));
        for (const QString &f : fuentes.entryList({"*.frf"}, QDir::Files))
            ASSERT_TRUE(kv::test::copyFile(fuentes.filePath(f), inst.programDir() + "/Data/" + f));
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.isOpen());
        for (const char *s : {"INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(4,2,'','Puerta 山田',1)",
                              "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(9,1,'','Garaje',3)"})
            ASSERT_TRUE(db.exec(s)) << db.lastError().toStdString();
    }

    kv::test::TempInstall inst;
};

} // namespace

TEST_F(CliInformesTest, WritesTheReportAsPdfAndTellsRowsAndPages)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("readers.pdf");
    const Salida_Cli s = Ejecuta_Cli(inst, {"report", "controllers", "--pdf", pdf});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(s.lineas, QStringList{"rows 2 pages 1"});
    const QString texto = Texto_Pdf(pdf);
    // A main database the program never started on has no labels stored:
    // the language's own stand in for them.
    EXPECT_TRUE(texto.contains("Description")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("Puerta 山田")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("Garaje"));
}

TEST_F(CliInformesTest, RefusesAWrongCallAndAMissingTemplate)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("x.pdf");
    struct Caso {
        QStringList args;
        const char *dice;
    };
    const Caso casos[] = {
        {{"report", "doors", "--pdf", pdf}, "NAME one of users"},
        {{"report", "users", "--out", pdf}, "report takes NAME --pdf FILE"},
        {{"report", "users", "--pdf"}, "wrong number of arguments"},
    };
    for (const Caso &c : casos) {
        const Salida_Cli s = Ejecuta_Cli(inst, c.args);
        EXPECT_EQ(s.estado, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains(c.dice)) << s.err.toStdString();
    }
    ASSERT_TRUE(QFile::remove(inst.programDir() + "/Data/cards per user.frf"));
    const Salida_Cli s = Ejecuta_Cli(inst, {"report", "cards-per-user", "--pdf", pdf});
    EXPECT_EQ(s.estado, 2);
    EXPECT_TRUE(s.err.contains("cards per user.frf: the file does not exist")) << s.err.toStdString();
    EXPECT_TRUE(s.lineas.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));
}
