// The INI layer both files go through: case rules, code page, present-empty
// entries and what a write keeps.
#include "model/inifile.h"
#include "model/settings_errors.h"

#include "fbtest.h" // PrintTo for QString

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray leer(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void escribir(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct Busqueda {
    const char *seccion;
    const char *clave;
};

class IniFileCase : public testing::TestWithParam<Busqueda> {};

TEST_P(IniFileCase, FindsSectionsAndKeysWithoutRegardToCase)
{
    kv::IniFile f;
    f.loadData("[General]\r\nTestear_cx=TRUE\r\n[ESPA\xD1OL]\r\nf_recv_users_Caption=Recibir\r\n");
    const Busqueda b = GetParam();
    const QString seccion = QString::fromUtf8(b.seccion);
    EXPECT_TRUE(f.hasSection(seccion));
    EXPECT_TRUE(f.hasKey(seccion, QLatin1String(b.clave)));
    EXPECT_NE(f.value(seccion, QLatin1String(b.clave), QStringLiteral("absent")), QStringLiteral("absent"));
}

INSTANTIATE_TEST_SUITE_P(Spellings, IniFileCase,
                         testing::Values(Busqueda{"General", "Testear_cx"}, Busqueda{"GENERAL", "testear_CX"},
                                         Busqueda{"general", "TESTEAR_CX"}, Busqueda{"ESPAÑOL", "f_recv_users_Caption"},
                                         Busqueda{"Español", "F_RECV_USERS_CAPTION"},
                                         Busqueda{"español", "F_Recv_Users_caption"}));

TEST(IniFile, PresentButEmptyIsNotMissing)
{
    kv::IniFile f;
    f.loadData("[S]\nvacia=\nllena=x\n");
    EXPECT_TRUE(f.hasKey(QStringLiteral("S"), QStringLiteral("vacia")));
    EXPECT_EQ(f.value(QStringLiteral("S"), QStringLiteral("vacia"), QStringLiteral("def")), QString());
    EXPECT_FALSE(f.hasKey(QStringLiteral("S"), QStringLiteral("falta")));
    EXPECT_EQ(f.value(QStringLiteral("S"), QStringLiteral("falta"), QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(f.value(QStringLiteral("Otra"), QStringLiteral("llena"), QStringLiteral("def")), QStringLiteral("def"));
}

TEST(IniFile, ConvertsWindows1252AtTheFileBoundary)
{
    kv::IniFile f;
    f.loadData("[ESPA\xD1OL]\nk=\xBF" "Desea? \x80 \x93x\x94\n");
    EXPECT_EQ(f.sections(), QStringList{QStringLiteral("ESPAÑOL")});
    EXPECT_EQ(f.value(QStringLiteral("ESPAÑOL"), QStringLiteral("k")), QStringLiteral("¿Desea? € “x”"));

    f.setValue(QStringLiteral("ESPAÑOL"), QStringLiteral("marca"), QStringLiteral("¿?"));
    f.setValue(QStringLiteral("ESPAÑOL"), QStringLiteral("fuera"), QStringLiteral("Ωx"));
    const QByteArray bytes = f.toBytes();
    EXPECT_TRUE(bytes.contains("[ESPA\xD1OL]"));
    EXPECT_TRUE(bytes.contains("marca=\xBF?"));
    EXPECT_TRUE(bytes.contains("fuera=?x")) << "outside the code page becomes '?'";
}

TEST(IniFile, SectionsComeInFileOrder)
{
    kv::IniFile f;
    f.loadData("suelta=1\n[ZULU]\na=1\n[ENGLISH]\n[ESPA\xD1OL]\nb=2\n[alpha]\n");
    EXPECT_EQ(f.sections(), (QStringList{QStringLiteral("ZULU"), QStringLiteral("ENGLISH"),
                                         QStringLiteral("ESPAÑOL"), QStringLiteral("alpha")}));
}

TEST(IniFile, FileWithUtf8SignatureIsReadAndWrittenAsUtf8)
{
    kv::IniFile f;
    f.loadData("\xEF\xBB\xBF[ESPA\xC3\x91OL]\nk=\xC2\xBFS\xC3\xAD?\n");
    EXPECT_EQ(f.value(QStringLiteral("español"), QStringLiteral("K")), QStringLiteral("¿Sí?"));
    EXPECT_TRUE(f.toBytes().startsWith("\xEF\xBB\xBF"));
}

TEST(IniFile, WriteKeepsEverythingElseAndCreatesTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ini"));
    kv::IniFile nuevo(path);
    nuevo.load(); // missing: empty
    EXPECT_TRUE(nuevo.sections().isEmpty());
    nuevo.setValue(QStringLiteral("General"), QStringLiteral("a"), QStringLiteral("1"));
    nuevo.save();
    EXPECT_EQ(leer(path), QByteArray("[General]\na=1\n"));

    escribir(path, "; comment kept\r\n[1]\r\ncamara_desc=Door\r\n[GENERAL]\r\nIdioma=ENGLISH\r\nOtra=x\r\n[3]\r\nz=\r\n");
    kv::IniFile f(path);
    f.load();
    f.setValue(QStringLiteral("General"), QStringLiteral("IDIOMA"), QStringLiteral("ESPAÑOL"));
    f.setValue(QStringLiteral("General"), QStringLiteral("Nueva"), QStringLiteral("y"));
    f.save();

    kv::IniFile otra(path);
    otra.load();
    EXPECT_EQ(otra.sections(), (QStringList{QStringLiteral("1"), QStringLiteral("GENERAL"), QStringLiteral("3")}));
    EXPECT_EQ(otra.value(QStringLiteral("1"), QStringLiteral("camara_desc")), QStringLiteral("Door"));
    EXPECT_EQ(otra.value(QStringLiteral("general"), QStringLiteral("idioma")), QStringLiteral("ESPAÑOL"));
    EXPECT_EQ(otra.value(QStringLiteral("general"), QStringLiteral("otra")), QStringLiteral("x"));
    EXPECT_EQ(otra.value(QStringLiteral("general"), QStringLiteral("nueva")), QStringLiteral("y"));
    EXPECT_TRUE(otra.hasKey(QStringLiteral("3"), QStringLiteral("z")));
    const QByteArray bytes = leer(path);
    EXPECT_TRUE(bytes.contains("; comment kept"));
    EXPECT_TRUE(bytes.contains("Idioma=ESPA\xD1OL")) << "the key keeps its spelling";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("x.ini")})
        << "no temporary file left beside it";
}

TEST(IniFile, AValueCannotAddEntries)
{
    kv::IniFile f;
    f.setValue(QStringLiteral("1"), QStringLiteral("camara_desc"), QStringLiteral("Door\r\n[General]\nIdioma=x"));
    kv::IniFile otra;
    otra.loadData(f.toBytes());
    EXPECT_EQ(otra.sections(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(otra.value(QStringLiteral("1"), QStringLiteral("camara_desc")), QStringLiteral("Door  [General] Idioma=x"));
}

TEST(IniFile, AnUnclosedHeaderNamesNoSection)
{
    for (const QByteArray &prefijo : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        kv::IniFile f;
        f.loadData(prefijo + "[General]\na=1\n  [broken\nb=2\n[x]y\nc=3\n");
        EXPECT_EQ(f.sections(), (QStringList{QStringLiteral("General"), QStringLiteral("x")}));
        EXPECT_EQ(f.value(QStringLiteral("General"), QStringLiteral("b")), QStringLiteral("2"));
        EXPECT_EQ(f.value(QStringLiteral("x"), QStringLiteral("c")), QStringLiteral("3"));
    }
}

TEST(IniFile, RemovesOneSection)
{
    kv::IniFile f;
    f.loadData("[1]\na=1\n[3]\nb=2\n[4]\nc=3\n");
    EXPECT_TRUE(f.removeSection(QStringLiteral("3")));
    EXPECT_FALSE(f.removeSection(QStringLiteral("3")));
    EXPECT_EQ(f.sections(), (QStringList{QStringLiteral("1"), QStringLiteral("4")}));
}

TEST(IniFile, UnreadableFileIsAnErrorNotAnEmptyFile)
{
    QTemporaryDir dir;
    // Something of that name that is no file: unreadable even for root.
    const QString carpeta = dir.filePath(QStringLiteral("dir.ini"));
    ASSERT_TRUE(QDir().mkpath(carpeta));
    kv::IniFile f(carpeta);
    EXPECT_THROW(f.load(), kv::FileError);

    if (::geteuid() != 0) {
        const QString path = dir.filePath(QStringLiteral("x.ini"));
        escribir(path, "[General]\nIdioma=ENGLISH\n");
        QFile::setPermissions(path, QFileDevice::WriteOwner);
        kv::IniFile g(path);
        EXPECT_THROW(g.load(), kv::FileError);
    }
}

TEST(IniFile, WriteIntoAPlaceThatCannotHoldTheFileFails)
{
    QTemporaryDir dir;
    escribir(dir.filePath(QStringLiteral("file")), "x");
    kv::IniFile f(dir.filePath(QStringLiteral("file/x.ini")));
    f.setValue(QStringLiteral("General"), QStringLiteral("a"), QStringLiteral("1"));
    EXPECT_THROW(f.save(), kv::FileError);
}

TEST(IniFile, BareNameFindsAFileSpelledInAnotherCase)
{
    QTemporaryDir dir;
    escribir(dir.filePath(QStringLiteral("keyvane20.ini")), "[General]\n");
    EXPECT_EQ(kv::resolveFileName(dir.path(), QStringLiteral("KEYVANE20.INI")),
              dir.filePath(QStringLiteral("keyvane20.ini")));
    EXPECT_EQ(kv::resolveFileName(dir.path(), QStringLiteral("other.ini")), dir.filePath(QStringLiteral("other.ini")));
}

} // namespace
