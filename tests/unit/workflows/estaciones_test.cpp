// Two operator stations on one installation through the tests' Firebird
// server: this process holds the installation open as the main window does,
// while keyvane-cli processes, the other stations, enrol cardholders on it.
// Embedded, a file belongs to one process at a time, so these only run
// through a server (KEYVANE_TEST_SERVIDOR).
#include "modelfixture.h"

#include "model/serviciocopia.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvincidencia.h"
#include "model/zarvusuario.h"

#include <QFileInfo>
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
    // Started at once, they also race to bring the factory main database up
    // to date (its plain passwords hashed): each start must still succeed.
    auto sistema = Abre();
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

TEST_F(EstacionesTest, EventsStoredWhileAnotherStationEnrolsAreAllThereAndABackupMeanwhileRestores)
{
    auto sistema = Abre();
    sistema->Conecta_Controladores(); // no controllers: the event log only
    ASSERT_TRUE(sistema->Incidencias());
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < 3; ++i)
        procesos.push_back(Alta(QStringLiteral("Enrolled %1").arg(i), QStringLiteral("Meanwhile"),
                                QStringLiteral("%1").arg(80000 + i, 10, 10, QLatin1Char('0'))));
    constexpr int eventos = 200;
    for (int i = 0; i < eventos; ++i) {
        auto e = std::make_shared<ZARVIncidencia>();
        e->Set_Controlador(1);
        e->Set_Tarjeta(QStringLiteral("%1").arg(90000 + i, 10, 10, QLatin1Char('0')));
        e->Set_Evento(1);
        sistema->Incidencias()->Guarda(e);
    }
    for (auto &p : procesos)
        EXPECT_GT(Numero(*p), 0);
    kv::test::FbConnection otra(inst.installationFile(1));
    ASSERT_TRUE(otra.isOpen()) << otra.lastError().toStdString();
    EXPECT_EQ(otra.scalar(QStringLiteral("select count(*) from zarvincidencia where tarjeta between '0000090000' and '0000090199'"))
                  .toInt(),
              eventos);

    // Both stations still connected: the server's service manager takes the
    // copy, and the database tool restores it into a fresh file.
    const kv::test::CuentaServidor &c = kv::test::cuentaServidor();
    const ParametrosBD parametros{c.host, c.usuario, c.password};
    const QString copia = inst.root() + QStringLiteral("/stations.kvd");
    const ZARVResultadoCopia r = ServicioCopia(parametros).Copia(inst.installationFile(1), copia);
    ASSERT_TRUE(r.Correcto) << r.Mensaje.toStdString();
    const QString restaurada = inst.root() + QStringLiteral("/RESTORED.FDB");
    QProcess gbak;
    gbak.start(QStringLiteral("gbak"), {"-c", "-user", c.usuario, "-password", c.password, copia,
                                        c.host + QLatin1Char(':') + restaurada});
    ASSERT_TRUE(gbak.waitForFinished(60000));
    ASSERT_EQ(gbak.exitCode(), 0) << gbak.readAllStandardError().toStdString();
    kv::test::FbConnection db(restaurada);
    ASSERT_TRUE(db.isOpen()) << db.lastError().toStdString();
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from zarvincidencia where tarjeta between '0000090000' and '0000090199'"))
                  .toInt(),
              eventos);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from zarvusuario where apellidos='Meanwhile'")).toInt(), 3);
}
