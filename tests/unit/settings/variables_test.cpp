// The settings file's section "General", the camera sections, and the small
// routines of the same module.
#include "model/inifile.h"
#include "model/settings_errors.h"
#include "model/variables.h"
#include "platform/paths.h"

#include "fbtest.h" // PrintTo for QString

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A throwaway system directory for the settings file, and fresh program-wide
// state for every test.
class Configuracion : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kv::Paths::setSystemDir(m_dir.path());
        Variables::Restablecer();
    }
    void TearDown() override
    {
        kv::Paths::reset();
        Variables::Restablecer();
    }

    QString fichero() const { return m_dir.filePath(QStringLiteral("KEYVANE20.INI")); }
    void escribir(const QByteArray &bytes) const
    {
        QFile f(fichero());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray leer() const
    {
        QFile f(fichero());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Reads the settings from a section "General" holding only these lines.
    void leer_general(const QByteArray &lineas)
    {
        escribir("[General]\r\n" + lineas);
        Variables::Lee_Configuracion();
    }

    QTemporaryDir m_dir;
};

TEST_F(Configuracion, MissingFileReadsAsDefaults)
{
    Variables::Lee_Configuracion();
    EXPECT_EQ(Variables::Idioma, QStringLiteral("¿?"));
    EXPECT_TRUE(Variables::Testear_cx);
    EXPECT_TRUE(Variables::Liberar_tarj);
    EXPECT_EQ(Variables::El_inc, 0);
    EXPECT_EQ(Variables::LAST_INSTALLATION, QStringLiteral("0"));
    EXPECT_EQ(Variables::USA_LECTOR, QString());
    EXPECT_EQ(Variables::Servidor_BD, QString());
    EXPECT_EQ(Variables::Usuario_BD, QStringLiteral("sysdba"));
    EXPECT_EQ(Variables::Password_BD, QStringLiteral("quillpond"));
    EXPECT_FALSE(Variables::Lector_Activo);
    EXPECT_FALSE(QFile::exists(fichero())) << "reading never creates the file";
}

struct Booleano {
    const char *valor;
    bool esperado;
};
class ConfiguracionBooleana : public Configuracion, public testing::WithParamInterface<Booleano> {};

TEST_P(ConfiguracionBooleana, OnlyTrueInAnyCaseIsTrue)
{
    const QByteArray v = GetParam().valor;
    leer_general("Testear_cx=" + v + "\r\nLiberar_tarj=" + v + "\r\n");
    EXPECT_EQ(Variables::Testear_cx, GetParam().esperado);
    EXPECT_EQ(Variables::Liberar_tarj, GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Values, ConfiguracionBooleana,
                         testing::Values(Booleano{"true", true}, Booleano{"TRUE", true}, Booleano{"True", true},
                                         Booleano{"false", false}, Booleano{"yes", false}, Booleano{"1", false},
                                         Booleano{"", false}, Booleano{"truex", false}));

struct Incidencias {
    const char *lineas;
    int esperado;
};
class ConfiguracionElInc : public Configuracion, public testing::WithParamInterface<Incidencias> {};

TEST_P(ConfiguracionElInc, TakesTheFirstDigit)
{
    Variables::El_inc = 7;
    leer_general(GetParam().lineas);
    EXPECT_EQ(Variables::El_inc, GetParam().esperado);
}

INSTANTIATE_TEST_SUITE_P(Values, ConfiguracionElInc,
                         testing::Values(Incidencias{"El_inc=3\r\n", 3}, Incidencias{"El_inc=12\r\n", 1},
                                         Incidencias{"El_inc=0\r\n", 0}, Incidencias{"el_INC=2\r\n", 2},
                                         Incidencias{"El_inc=\r\n", 0}, Incidencias{"", 0}));

TEST_F(Configuracion, UnusableNumbersAreAClearError)
{
    for (const QByteArray &lineas : {QByteArray("El_inc=x\r\n"), QByteArray("El_inc=-1\r\n"),
                                    QByteArray("USA_LECTOR=abc\r\n"), QByteArray("USA_LECTOR=3x\r\n")}) {
        escribir("[General]\r\n" + lineas);
        try {
            Variables::Lee_Configuracion();
            ADD_FAILURE() << "accepted " << lineas.constData();
        } catch (const kv::ConversionError &e) {
            const QByteArray clave = lineas.left(lineas.indexOf('='));
            EXPECT_NE(std::string(e.what()).find(clave.constData()), std::string::npos)
                << "the message names the entry: " << e.what();
        }
    }
}

TEST_F(Configuracion, ReadingReader)
{
    leer_general("USA_LECTOR=\r\n");
    EXPECT_FALSE(Variables::Lector_Activo) << "present but empty: no reading reader";
    EXPECT_EQ(Variables::USA_LECTOR, QString());

    leer_general("USA_LECTOR=7\r\n");
    EXPECT_TRUE(Variables::Lector_Activo);
    EXPECT_EQ(Variables::Lector_Codigo, 7);
    EXPECT_EQ(Variables::USA_LECTOR, QStringLiteral("7"));

    // Empty again: both keep what they held.
    leer_general("usa_lector=\r\n");
    EXPECT_TRUE(Variables::Lector_Activo);
    EXPECT_EQ(Variables::Lector_Codigo, 7);
}

TEST_F(Configuracion, TextsAreStoredAsReadFromAnyCaseOfSectionAndKey)
{
    escribir("[GENERAL]\r\nIDIOMA=ESPA\xD1OL\r\nlast_installation=12\r\nservidor_bd=dbhost\r\n");
    Variables::Lee_Configuracion();
    EXPECT_EQ(Variables::Idioma, QStringLiteral("ESPAÑOL"));
    EXPECT_EQ(Variables::LAST_INSTALLATION, QStringLiteral("12"));
    EXPECT_EQ(Variables::Servidor_BD, QStringLiteral("dbhost"));
}

TEST_F(Configuracion, WritesGeneralInItsOrderAndKeepsTheRest)
{
    Variables::Testear_cx = false;
    Variables::Liberar_tarj = true;
    Variables::El_inc = 2;
    Variables::Idioma = QStringLiteral("ESPAÑOL");
    Variables::LAST_INSTALLATION = QStringLiteral("3");
    Variables::USA_LECTOR.clear();
    Variables::Servidor_BD = QStringLiteral("dbhost");
    Variables::Guarda_Configuracion();
    EXPECT_EQ(leer(), QByteArray("[General]\nTestear_cx=false\nLiberar_tarj=true\nEl_inc=2\nIdioma=ESPA\xD1OL\n"
                                 "LAST_INSTALLATION=3\nUSA_LECTOR=\nServidor_BD=dbhost\n"));

    escribir("[1]\r\ncamara_desc=Gate\r\ncamara_MAC=http://10.0.0.7/x\r\n[general]\r\nidioma=ENGLISH\r\nExtra=kept\r\n");
    Variables::Idioma = QStringLiteral("¿?");
    Variables::Guarda_Configuracion();
    kv::IniFile f(fichero());
    f.load();
    EXPECT_EQ(f.sections(), (QStringList{QStringLiteral("1"), QStringLiteral("general")}));
    EXPECT_EQ(f.value(QStringLiteral("1"), QStringLiteral("camara_desc")), QStringLiteral("Gate"));
    EXPECT_EQ(f.value(QStringLiteral("General"), QStringLiteral("Extra")), QStringLiteral("kept"));
    EXPECT_TRUE(leer().contains("idioma=\xBF?\n")) << "the marker is the bytes BF 3F";
}

TEST_F(Configuracion, WhatIsWrittenReadsBack)
{
    Variables::Testear_cx = false;
    Variables::Liberar_tarj = false;
    Variables::El_inc = 3;
    Variables::Idioma = QStringLiteral("ESPAÑOL");
    Variables::LAST_INSTALLATION = QStringLiteral("5");
    Variables::USA_LECTOR = QStringLiteral("4");
    Variables::Servidor_BD = QStringLiteral("server.local");
    Variables::Guarda_Configuracion();
    Variables::Restablecer();
    Variables::Lee_Configuracion();
    EXPECT_FALSE(Variables::Testear_cx);
    EXPECT_FALSE(Variables::Liberar_tarj);
    EXPECT_EQ(Variables::El_inc, 3);
    EXPECT_EQ(Variables::Idioma, QStringLiteral("ESPAÑOL"));
    EXPECT_EQ(Variables::LAST_INSTALLATION, QStringLiteral("5"));
    EXPECT_TRUE(Variables::Lector_Activo);
    EXPECT_EQ(Variables::Lector_Codigo, 4);
    EXPECT_EQ(Variables::Servidor_BD, QStringLiteral("server.local"));
}

TEST_F(Configuracion, TheServerAccountIsReadButNeverWrittenAndTheFileIsKeptFromOtherAccounts)
{
    escribir("[General]\r\nServidor_BD=dbhost\r\nUsuario_BD=keyvane\r\nPassword_BD=s3cret;x\r\n");
    QFile::setPermissions(fichero(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    Variables::Lee_Configuracion();
    EXPECT_EQ(Variables::Usuario_BD, QStringLiteral("keyvane"));
    EXPECT_EQ(Variables::Password_BD, QStringLiteral("s3cret;x"));
    Variables::Usuario_BD = QStringLiteral("changed");
    Variables::Guarda_Configuracion();
    const QByteArray escrito = leer();
    EXPECT_TRUE(escrito.contains("Usuario_BD=keyvane")) << escrito.toStdString();
    EXPECT_TRUE(escrito.contains("Password_BD=s3cret;x")) << escrito.toStdString();
    const QFile::Permissions p = QFile::permissions(fichero());
    EXPECT_FALSE(p & (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
    EXPECT_TRUE(p & QFile::ReadGroup) << "the operators' group keeps reading it";
}

TEST_F(Configuracion, Cameras)
{
    escribir("[General]\r\nIdioma=ENGLISH\r\n");
    Variables::Anade_Camara(QStringLiteral("1"), QStringLiteral("Gate"), QStringLiteral("http://10.0.0.7/v"));
    Variables::Anade_Camara(QStringLiteral("3"), QStringLiteral("Hall"), QStringLiteral("http://10.0.0.9/v"));
    Variables::Anade_Camara(QStringLiteral("1"), QStringLiteral("Other"), QStringLiteral("http://10.0.0.8/v"));
    EXPECT_TRUE(Variables::Existe_Seccion(QStringLiteral("1")));
    EXPECT_EQ(Variables::Lee_Valor(QStringLiteral("1"), QStringLiteral("camara_desc")), QStringLiteral("Gate"))
        << "an existing camera is left unchanged";
    EXPECT_EQ(Variables::Lee_Valor(QStringLiteral("3"), QStringLiteral("CAMARA_MAC")), QStringLiteral("http://10.0.0.9/v"));

    Variables::Borra_Seccion(QStringLiteral("3"));
    Variables::Borra_Seccion(QStringLiteral("4"));
    kv::IniFile f(fichero());
    f.load();
    EXPECT_EQ(f.sections(), (QStringList{QStringLiteral("General"), QStringLiteral("1")}));
}

TEST(Variables, HexToDecimal)
{
    const struct {
        const char *texto;
        const char *esperado;
    } casos[] = {{"1F", "31"}, {"0A", "10"}, {"0a", "0"}, {"FF", "255"}, {"99", "153"}, {"F", "240"},
                 {"", "0"},    {"1F9", "31"}, {"G1", "1"}, {"-1", "1"}};
    for (const auto &c : casos)
        EXPECT_EQ(Variables::Hex_a_Decimal(QLatin1String(c.texto)), QLatin1String(c.esperado)) << c.texto;
}

TEST(Variables, ProgramDirectoryHasNoTrailingSeparator)
{
    const QString d = Variables::Directorio_Programa();
    EXPECT_FALSE(d.endsWith(QLatin1Char('/')));
    EXPECT_EQ(d, QCoreApplication::applicationDirPath());
}

// A copy of sleep under a name no other process has.
class Proceso : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_nombre = QStringLiteral("kvsleep_%1").arg(QCoreApplication::applicationPid());
        m_ruta = m_dir.filePath(m_nombre);
        const QString sleep = QFile::exists(QStringLiteral("/bin/sleep")) ? QStringLiteral("/bin/sleep")
                                                                          : QStringLiteral("/usr/bin/sleep");
        ASSERT_TRUE(QFile::copy(sleep, m_ruta));
        QFile::setPermissions(m_ruta, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::WriteOwner);
    }

    void arrancar(QProcess &p)
    {
        p.start(m_ruta, {QStringLiteral("60")});
        ASSERT_TRUE(p.waitForStarted());
    }

    QTemporaryDir m_dir;
    QString m_nombre;
    QString m_ruta;
};

TEST_F(Proceso, TerminatesEveryMatchByNameOrWholePath)
{
    const QString ruta = QFileInfo(m_ruta).canonicalFilePath();
    for (const QString &buscado : {m_nombre.toUpper(), ruta.toUpper(), m_nombre.toLower()}) {
        QProcess a, b;
        arrancar(a);
        arrancar(b);
        EXPECT_TRUE(Variables::Termina_Proceso(buscado)) << buscado.toStdString();
        EXPECT_TRUE(a.waitForFinished(5000));
        EXPECT_TRUE(b.waitForFinished(5000));
    }
}

TEST_F(Proceso, NoMatchTerminatesNothing)
{
    QProcess p;
    arrancar(p);
    EXPECT_FALSE(Variables::Termina_Proceso(m_nombre + QStringLiteral("x")));
    EXPECT_FALSE(Variables::Termina_Proceso(QString()));
    EXPECT_FALSE(p.waitForFinished(300));
    p.kill();
    p.waitForFinished();
}

TEST(Variables, NeverTerminatesTheCallingProcess)
{
    const QString yo = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    EXPECT_FALSE(Variables::Termina_Proceso(yo));
}

} // namespace
