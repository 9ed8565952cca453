// Applying the application parameters: the settings file is written only
// when a value changed, the reading reader follows the stored choice, and a
// file that cannot be written leaves everything as it was.
#include "tempinstall.h"

#include "model/settings_errors.h"
#include "model/variables.h"
#include "platform/paths.h"
#include "workflows/parametros.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

class ParametrosTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        kv::Paths::setSystemDir(inst.systemDir());
        QFile f(ajustes());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[General]\r\nIdioma=ENGLISH\r\nLiberar_tarj=false\r\nTestear_cx=true\r\nEl_inc=2\r\n"
                "USA_LECTOR=\r\n[Cam1]\r\ncamara_desc=Gate\r\n");
        f.close();
        Variables::Restablecer();
        Variables::Lee_Configuracion();
    }
    void TearDown() override { Variables::Restablecer(); }

    QString ajustes() const { return inst.systemDir() + QStringLiteral("/KEYVANE20.INI"); }
    QByteArray contenido() const
    {
        QFile f(ajustes());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    kv::test::TempInstall inst;
};

TEST_F(ParametrosTest, WritesOnlyWhenAValueChanged)
{
    const QByteArray antes = contenido();
    EXPECT_FALSE(kv::wf::Aplica_Parametros(kv::wf::Parametros_Actuales()));
    EXPECT_EQ(contenido(), antes);

    // Each value on its own is a change; the other sections of the file stay.
    const std::vector<std::function<void(kv::wf::Parametros_App &)>> cambios = {
        [](auto &p) { p.Liberar_tarj = true; },
        [](auto &p) { p.Testear_cx = false; },
        [](auto &p) { p.El_inc = 3; },
        [](auto &p) { p.Idioma = QString::fromUtf8("ESPAÑOL"); },
        [](auto &p) { p.USA_LECTOR = QStringLiteral("7"); },
    };
    for (size_t i = 0; i < cambios.size(); ++i) {
        kv::wf::Parametros_App p = kv::wf::Parametros_Actuales();
        cambios[i](p);
        EXPECT_TRUE(kv::wf::Aplica_Parametros(p)) << i;
        EXPECT_EQ(kv::wf::Parametros_Actuales(), p) << i;
    }
    Variables::Restablecer();
    Variables::Lee_Configuracion();
    EXPECT_TRUE(Variables::Liberar_tarj);
    EXPECT_FALSE(Variables::Testear_cx);
    EXPECT_EQ(Variables::El_inc, 3);
    EXPECT_EQ(Variables::Idioma, QString::fromUtf8("ESPAÑOL"));
    EXPECT_EQ(Variables::USA_LECTOR, "7");
    EXPECT_TRUE(contenido().contains("camara_desc=Gate"));
}

TEST_F(ParametrosTest, TheReadingReaderFollowsTheStoredChoice)
{
    kv::wf::Parametros_App p = kv::wf::Parametros_Actuales();
    p.USA_LECTOR = QStringLiteral(" 3 ");
    ASSERT_TRUE(kv::wf::Aplica_Parametros(p));
    EXPECT_EQ(Variables::USA_LECTOR, "3");
    EXPECT_TRUE(Variables::Lector_Activo);
    EXPECT_EQ(Variables::Lector_Codigo, 3);

    p.USA_LECTOR.clear();
    ASSERT_TRUE(kv::wf::Aplica_Parametros(p));
    EXPECT_FALSE(Variables::Lector_Activo);
    EXPECT_EQ(Variables::Lector_Codigo, 0);

    // Not a number: refused, nothing changes.
    const QByteArray antes = contenido();
    p.USA_LECTOR = QStringLiteral("3x");
    p.Liberar_tarj = true;
    EXPECT_THROW(kv::wf::Aplica_Parametros(p), kv::ConversionError);
    EXPECT_FALSE(Variables::Liberar_tarj);
    EXPECT_EQ(contenido(), antes);

    // A deletion choice the window has no button for keeps the stored one.
    p = kv::wf::Parametros_Actuales();
    p.El_inc = 9;
    EXPECT_FALSE(kv::wf::Aplica_Parametros(p));
    EXPECT_EQ(Variables::El_inc, 2);
}

TEST_F(ParametrosTest, AFileThatCannotBeWrittenLeavesEverythingAsItWas)
{
    // A directory where the settings file should be cannot be written.
    ASSERT_TRUE(QFile::remove(ajustes()));
    ASSERT_TRUE(QDir(inst.systemDir()).mkdir(QStringLiteral("KEYVANE20.INI")));
    kv::wf::Parametros_App p = kv::wf::Parametros_Actuales();
    p.Liberar_tarj = true;
    p.USA_LECTOR = QStringLiteral("4");
    EXPECT_THROW(kv::wf::Aplica_Parametros(p), kv::FileError);
    EXPECT_FALSE(Variables::Liberar_tarj);
    EXPECT_TRUE(Variables::USA_LECTOR.isEmpty());
    EXPECT_FALSE(Variables::Lector_Activo);
}

} // namespace
