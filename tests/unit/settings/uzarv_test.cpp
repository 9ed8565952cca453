// Text splitting, month boundaries and the external-command runner.
#include "model/settings_errors.h"
#include "model/uzarv.h"

#include "fbtest.h" // PrintTo for QString

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Particion {
    const char *separador;
    const char *texto;
    QStringList esperado;
};

class SeparaCase : public testing::TestWithParam<Particion> {};

TEST_P(SeparaCase, Splits)
{
    const Particion &p = GetParam();
    EXPECT_EQ(uzarv::Separa(QString::fromUtf8(p.separador), QString::fromUtf8(p.texto)), p.esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SeparaCase,
    testing::Values(Particion{"_", "instalacion_12", {"instalacion", "12"}},
                    // Only the separator's first character goes: the rest starts the next piece.
                    Particion{".-", "3.- Oficina", {"3", "- Oficina"}},
                    Particion{" -", "Keyvane 2.1 - Oficina", {"Keyvane 2.1", "- Oficina"}},
                    Particion{".-", "1.-2.-3", {"1", "-2", "-3"}},
                    Particion{"_", "abc", {"abc"}},
                    Particion{"_", "", {""}},
                    Particion{"_", "a__b_", {"a", "", "b", ""}},
                    Particion{"*", "*x", {"", "x"}},
                    Particion{"", "abc", {"abc"}}));

TEST(Une, JoinsWithTheSeparatorBetweenNeighbours)
{
    EXPECT_EQ(uzarv::Une(QStringLiteral(" AND "), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}),
              QStringLiteral("a AND b AND c"));
    EXPECT_EQ(uzarv::Une(QStringLiteral(","), {QStringLiteral("a")}), QStringLiteral("a"));
    EXPECT_EQ(uzarv::Une(QStringLiteral(","), {}), QString());
}

TEST(Mes, FirstAndLastDayAtMidnight)
{
    const struct {
        QDate dia;
        QDate primero;
        QDate ultimo;
    } casos[] = {
        {QDate(2004, 2, 10), QDate(2004, 2, 1), QDate(2004, 2, 29)},
        {QDate(2004, 2, 29), QDate(2004, 2, 1), QDate(2004, 2, 29)},
        {QDate(2005, 2, 1), QDate(2005, 2, 1), QDate(2005, 2, 28)},
        {QDate(1900, 2, 3), QDate(1900, 2, 1), QDate(1900, 2, 28)}, // century: not a leap year
        {QDate(2000, 2, 3), QDate(2000, 2, 1), QDate(2000, 2, 29)}, // unless divisible by 400
        {QDate(2005, 3, 31), QDate(2005, 3, 1), QDate(2005, 3, 31)},
        {QDate(2005, 4, 15), QDate(2005, 4, 1), QDate(2005, 4, 30)},
        {QDate(2005, 12, 31), QDate(2005, 12, 1), QDate(2005, 12, 31)},
    };
    for (const auto &c : casos) {
        const QDateTime fecha(c.dia, QTime(18, 30, 12));
        EXPECT_EQ(uzarv::Primer_Dia_Mes(fecha), QDateTime(c.primero, QTime(0, 0))) << c.dia.toString().toStdString();
        EXPECT_EQ(uzarv::Ultimo_Dia_Mes(fecha), QDateTime(c.ultimo, QTime(0, 0))) << c.dia.toString().toStdString();
    }
    EXPECT_FALSE(uzarv::Primer_Dia_Mes(QDateTime()).isValid());
}

TEST(EjecutaYEspera, ReturnsTheExitCode)
{
    for (int codigo : {0, 3, 255})
        EXPECT_EQ(uzarv::Ejecuta_y_Espera(QStringLiteral("/bin/sh"),
                                          {QStringLiteral("-c"), QStringLiteral("exit %1").arg(codigo)}),
                  codigo);
    EXPECT_EQ(uzarv::Ejecuta_y_Espera(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("kill -9 $$")}),
              128 + 9);
}

TEST(EjecutaYEspera, MinusOneWhenItCannotStart)
{
    QTemporaryDir dir;
    EXPECT_EQ(uzarv::Ejecuta_y_Espera(dir.filePath(QStringLiteral("no-such-program")), {}), -1);
    QFile noEjecutable(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(noEjecutable.open(QIODevice::WriteOnly));
    noEjecutable.close();
    EXPECT_EQ(uzarv::Ejecuta_y_Espera(noEjecutable.fileName(), {}), -1);
}

TEST(EjecutaYEspera, TimersKeepRunningWhileItWaits)
{
    int ticks = 0;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] { ++ticks; });
    t.start(20);
    EXPECT_EQ(uzarv::Ejecuta_y_Espera(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 0.4")}), 0);
    EXPECT_GE(ticks, 5);
}

TEST(EjecutaYEspera, CollectsTheOutputWhenAsked)
{
    QByteArray salida;
    EXPECT_EQ(uzarv::Ejecuta_y_Espera(QStringLiteral("/bin/sh"),
                                      {QStringLiteral("-c"), QStringLiteral("echo out; echo err >&2")}, &salida),
              0);
    EXPECT_EQ(salida, QByteArray("out\nerr\n"));
}

class EjecutaComandos : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QTemporaryDir m_dir;
};

TEST_F(EjecutaComandos, HostileFileNamesReachTheCommandUnchanged)
{
    const QStringList nombres = {
        QStringLiteral("it's \"quoted\""),
        QStringLiteral("$(touch pwned) `touch pwned` $HOME ${PATH}"),
        QStringLiteral("a; touch pwned && echo | cat > pwned"),
        QStringLiteral("two  spaces\ttab\\back*?[x]~"),
        QStringLiteral("line\nbreak"),
        QStringLiteral("-n"),
        QStringLiteral("Año ¿?"),
    };
    for (const QString &nombre : nombres) {
        const QString ruta = m_dir.filePath(nombre);
        QByteArray salida;
        const int r = uzarv::Ejecuta_Comandos(
            m_dir.path() + QLatin1Char('/'),
            {{QStringLiteral("printf"), QStringLiteral("%s"), nombre}, {QStringLiteral("touch"), ruta}}, &salida);
        EXPECT_EQ(r, 0) << nombre.toStdString();
        EXPECT_EQ(QString::fromUtf8(salida), nombre);
        EXPECT_TRUE(QFileInfo::exists(ruta)) << nombre.toStdString();
        QFile::remove(ruta);
    }
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("pwned"))));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("pwned"))));
}

TEST_F(EjecutaComandos, LeavesTheCommandFileReadableByItsOwnerOnly)
{
    EXPECT_EQ(uzarv::Ejecuta_Comandos(m_dir.path(), {{QStringLiteral("true")}, {QStringLiteral("false")}}), 1)
        << "the shell ends with the last command's code";
    const QFileInfo f(m_dir.filePath(QStringLiteral("tmp_execute.sh")));
    ASSERT_TRUE(f.exists());
    EXPECT_EQ(f.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());
    QFile texto(f.filePath());
    ASSERT_TRUE(texto.open(QIODevice::ReadOnly));
    EXPECT_EQ(texto.readAll(), QByteArray("#!/bin/sh\n'true'\n'false'\n"));
}

TEST_F(EjecutaComandos, AFileThatCannotBeWrittenRunsNothing)
{
    const QString testigo = m_dir.filePath(QStringLiteral("ran"));
    EXPECT_THROW(uzarv::Ejecuta_Comandos(m_dir.filePath(QStringLiteral("missing/dir")), {{QStringLiteral("touch"), testigo}}),
                 kv::FileError);
    EXPECT_FALSE(QFileInfo::exists(testigo));
}

} // namespace
