// Two operator stations on one installation through the tests' Firebird
// server: this process holds the installation open as the main window does,
// while keyvane-cli processes, the other stations, enrol cardholders on it.
// Embedded, a file belongs to one process at a time, so these only run
// through a server (KEYVANE_TEST_SERVIDOR).
#include "modelfixture.h"

#include "model/zarvcoleccionusuario.h"
#include "model/zarvusuario.h"

#include <QProcess>
#include <QSet>

#include <memory>
#include <vector>

class EstacionesTest : public ModelTest {
protected:
    void SetUp() override
    {
        if (kv::test::cuentaServidor().host.isEmpty())
            GTEST_SKIP() << "two stations need the tests' server (KEYVANE_TEST_SERVIDOR)";
        ModelTest::SetUp();
    }

    // A keyvane-cli user-add started on the installation, not waited for.
    std::unique_ptr<QProcess> Alta(const QString &nombre, const QString &apellidos, const QString &tarjeta)
    {
        auto p = std::make_unique<QProcess>();
        p->start(kv::test::binary(QStringLiteral("keyvane-cli")),
                 {"--program-dir", inst.programDir(), "--system-dir", inst.systemDir(), "--ports-dir",
                  inst.portsDir(), "user-add", nombre, apellidos, "--card", tarjeta});
        return p;
    }

    // The number the station printed, 0 when it failed.
    static int Numero(QProcess &p)
    {
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            ADD_FAILURE() << p.readAllStandardError().toStdString();
            return 0;
        }
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed().toInt();
    }
};

TEST_F(EstacionesTest, ACardholderAddedOnOneStationAppearsOnTheOtherAtItsNextRefresh)
{
    auto sistema = Abre();
    ZARVColeccionUsuario *usuarios = sistema->Usuarios();
    const int antes = usuarios->Cuenta();
    auto p = Alta("Ana", "Other Station", "0000054321");
    const int id = Numero(*p);
    ASSERT_GT(id, 0);
    EXPECT_EQ(usuarios->Cuenta(), antes) << "nothing changes before the refresh";
    usuarios->Refrescar();
    ASSERT_EQ(usuarios->Cuenta(), antes + 1);
    ASSERT_TRUE(usuarios->Busca(id));
    EXPECT_EQ(usuarios->Busca(id)->Apellidos(), QStringLiteral("Other Station"));
    kv::test::FbConnection db(inst.installationFile(1));
    EXPECT_EQ(db.scalar(QStringLiteral("select usuario from zarvtarjeta where codigo_tarjeta='0000054321'")).toInt(), id);
}

TEST_F(EstacionesTest, StationsEnrollingAtTheSameMomentNeverShareANumber)
{
    auto sistema = Abre();
    // The stations are already running, as on a site: one start has brought
    // the main database up to date (each station's start checks it).
    auto lista = std::make_unique<QProcess>();
    lista->start(kv::test::binary(QStringLiteral("keyvane-cli")),
                 {"--program-dir", inst.programDir(), "--system-dir", inst.systemDir(), "--ports-dir",
                  inst.portsDir(), "users"});
    ASSERT_TRUE(lista->waitForFinished(60000));
    ASSERT_EQ(lista->exitCode(), 0) << lista->readAllStandardError().toStdString();
    constexpr int estaciones = 6;
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < estaciones; ++i)
        procesos.push_back(Alta(QStringLiteral("Station %1").arg(i), QStringLiteral("At once"),
                                QStringLiteral("%1").arg(70000 + i, 10, 10, QLatin1Char('0'))));
    QSet<int> numeros;
    for (auto &p : procesos)
        numeros.insert(Numero(*p));
    EXPECT_EQ(numeros.size(), estaciones);
    EXPECT_FALSE(numeros.contains(0));
    kv::test::FbConnection db(inst.installationFile(1));
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from zarvusuario where apellidos='At once'")).toInt(), estaciones);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(distinct usuario) from zarvtarjeta "
                                       "where codigo_tarjeta starting with '00000700'")).toInt(),
              estaciones);
    sistema->Usuarios()->Refrescar();
    for (int id : numeros)
        EXPECT_TRUE(sistema->Usuarios()->Busca(id)) << id;
}
