// keyvane-cli parameters as an installer scripts it: shown, changed and
// written only when something differs, bad values refused with the reason.
#include "cli_proceso.h"
#include "fbtest.h"
#include "tempinstall.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

QByteArray Lee(const QString &fichero)
{
    QFile f(fichero);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(CliParametros, ShowsChangesAndRefuses)
{
    kv::test::TempInstall inst;
    ASSERT_TRUE(inst.isValid());
    {
        kv::test::FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.exec("INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) "
                            "VALUES(3,1,'','Gate',1)"))
            << db.lastError().toStdString();
    }
    const QString ajustes = inst.systemDir() + QStringLiteral("/KEYVANE20.INI");
    {
        QFile f(ajustes);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[General]\r\nIdioma=ENGLISH\r\nLiberar_tarj=true\r\nTestear_cx=true\r\nEl_inc=0\r\n");
    }

    Salida_Cli s = Ejecuta_Cli(inst, {"parameters"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_TRUE(s.lineas.contains("release-cards\tyes"));
    EXPECT_TRUE(s.lineas.contains("reading-reader\tnone"));

    // The same values again write nothing.
    const QByteArray antes = Lee(ajustes);
    s = Ejecuta_Cli(inst, {"parameters", "--release-cards", "yes", "--language", "english"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_TRUE(s.err.contains("nothing changed"));
    EXPECT_EQ(Lee(ajustes), antes);

    s = Ejecuta_Cli(inst, {"parameters", "--release-cards", "no", "--reading-reader", "3", "--language", "español"});
    ASSERT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_TRUE(s.err.contains("settings written"));
    EXPECT_TRUE(s.lineas.contains("reading-reader\t3"));
    const QByteArray despues = Lee(ajustes);
    EXPECT_TRUE(despues.contains("Liberar_tarj=false"));
    EXPECT_TRUE(despues.contains("USA_LECTOR=3"));
    EXPECT_TRUE(despues.contains("Idioma=ESPA\xd1OL")) << despues.toStdString();

    struct Caso {
        QStringList args;
        const char *error;
    };
    const Caso casos[] = {
        {{"parameters", "--reading-reader", "9"}, "no reader 9"},
        {{"parameters", "--reading-reader", "x"}, "not a reader number"},
        {{"parameters", "--language", "KLINGON"}, "no language KLINGON"},
        {{"parameters", "--test-readers", "maybe"}, "yes or no"},
        {{"parameters", "--colour", "red"}, "not an option"},
        {{"parameters", "--test-readers"}, "takes a value"},
    };
    for (const Caso &c : casos) {
        s = Ejecuta_Cli(inst, c.args);
        EXPECT_EQ(s.estado, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(s.err.contains(QLatin1String(c.error))) << s.err.toStdString();
    }
    EXPECT_EQ(Lee(ajustes), despues);
}

} // namespace
