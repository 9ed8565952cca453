// A station working through a Firebird server that stops and comes back: a
// change cut off by the stop leaves nothing behind, everything meanwhile is
// refused with a message that says why, events are held rather than lost,
// and the same open installation works again once the server is back,
// without being opened again. The server is this test's own
// (tests/support/fbserver), so stopping it disturbs no other test.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/transaccionbd.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <vector>

using kv::test::FbConnection;

namespace {

const QString Fbserver = QStringLiteral(KV_FBSERVER);

bool Servidor(const QString &accion, const QString &dir)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(Fbserver, {accion, dir});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// Runs f and returns the ErrorBD it raised; fails the test when it raised none.
template <typename F> ErrorBD Error_De(F &&f)
{
    try {
        f();
    } catch (const ErrorBD &e) {
        return e;
    }
    ADD_FAILURE() << "no ErrorBD";
    return ErrorBD(QString());
}

} // namespace

class ServidorCaidoTest : public ModelTest {
protected:
    static void SetUpTestSuite()
    {
        if (!QFileInfo(QStringLiteral("/usr/sbin/firebird")).isExecutable())
            return;
        dir = new QTemporaryDir;
        arrancado = Servidor(QStringLiteral("start"), dir->path());
        // Before anything reads the account: every database of the test goes through it.
        qputenv("KEYVANE_TEST_SERVIDOR", dir->path().toUtf8());
    }
    static void TearDownTestSuite()
    {
        if (dir)
            Servidor(QStringLiteral("stop"), dir->path());
        delete dir;
        dir = nullptr;
    }
    void SetUp() override
    {
        if (!dir)
            GTEST_SKIP() << "no Firebird server installed (package firebird3.0-server)";
        ASSERT_TRUE(arrancado);
        ModelTest::SetUp();
        ASSERT_FALSE(kv::test::cuentaServidor().host.isEmpty());
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.exec("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                            "VALUES(1,1,'Door 1','Null',1)"))
            << db.lastError().toStdString();
        sistema = Abre();
    }
    void TearDown() override
    {
        if (dir)
            ASSERT_TRUE(Servidor(QStringLiteral("resume"), dir->path()));
        sistema.reset();
    }
    void Para() { ASSERT_TRUE(Servidor(QStringLiteral("stop"), dir->path())); }
    void Vuelve() { ASSERT_TRUE(Servidor(QStringLiteral("resume"), dir->path())); }

    static int Alta(ZARVSistema &s, const QString &nombre)
    {
        ZARVUsuario u;
        u.Set_Nombre(nombre);
        int id = -1;
        s.Usuarios()->Inserta(u, id);
        return id;
    }
    static TEventoInformacion Evento(int tipo, const QString &tarjeta = QString())
    {
        TEventoInformacion info;
        info.Tipo = tipo;
        info.Tarjeta = tarjeta;
        info.Puerto = QStringLiteral("1");
        info.Direccion = 1;
        return info;
    }

    static inline QTemporaryDir *dir = nullptr;
    static inline bool arrancado = false;
    std::unique_ptr<ZARVSistema> sistema;
};

TEST_F(ServidorCaidoTest, AChangeCutOffByTheStopIsNotStoredAndTheStationCarriesOnOnceTheServerIsBack)
{
    Alta(*sistema, QStringLiteral("Ana"));
    {
        // Two cardholders as one change; the server stops between them.
        TransaccionBD cambio(sistema->Usuarios()->Conexion_BD());
        Alta(*sistema, QStringLiteral("Berta"));
        Para();
        const ErrorBD e = Error_De([&] { Alta(*sistema, QStringLiteral("Carla")); });
        EXPECT_TRUE(e.Conexion_Perdida());
        EXPECT_TRUE(e.Texto().contains(QStringLiteral("cannot be reached"))) << e.Texto().toStdString();
        // Not opened again under the change: its last part would be kept alone.
        EXPECT_TRUE(Error_De([&] { Alta(*sistema, QStringLiteral("Carla")); }).Conexion_Perdida());
    }

    // While it is down, every kind of work is refused the same clear way.
    ZARVTarjeta t;
    t.Set_Codigo_Tarjeta(QStringLiteral("0000000055"));
    for (const ErrorBD &e : {Error_De([&] { Alta(*sistema, QStringLiteral("Dora")); }),
                             Error_De([&] { sistema->Tarjetas()->Inserta_Con_Usuario(t, -1); }),
                             Error_De([&] { sistema->Usuarios()->Refrescar(); }),
                             Error_De([&] { server.Lista_Instalaciones(); })}) {
        EXPECT_TRUE(e.Conexion_Perdida()) << e.Texto().toStdString();
        EXPECT_TRUE(e.Texto().contains(kv::test::cuentaServidor().host)) << e.Texto().toStdString();
    }
    EXPECT_EQ(sistema->Marca_Cambios(), 0);

    Vuelve();
    // The same open installation and main database, without a restart.
    EXPECT_GT(sistema->Marca_Cambios(), 0);
    const int dora = Alta(*sistema, QStringLiteral("Dora"));
    sistema->Tarjetas()->Inserta_Con_Usuario(t, dora);
    sistema->Usuarios()->Refrescar();
    EXPECT_EQ(sistema->Usuarios()->Cuenta(), 2);
    EXPECT_FALSE(server.Lista_Instalaciones().isEmpty());

    FbConnection db(inst.installationFile(1));
    EXPECT_EQ(db.rows("select nombre from zarvusuario order by id"), (QStringList{"Ana", "Dora"}));
    EXPECT_EQ(db.rows("select codigo_tarjeta, usuario from zarvtarjeta"), QStringList{QStringLiteral("0000000055|%1").arg(dora)});
    EXPECT_EQ(db.rows("select accion, nombre from zarvauditoria order by id"),
              (QStringList{"cardholder added|, Ana", "cardholder added|, Dora", "card added|, Dora"}));
}

TEST_F(ServidorCaidoTest, EventsArrivingWhileTheServerIsDownAreHeldAndStoredInOrderWhenItIsBack)
{
    ZARVColeccionIncidencia log(sistema.get(), inst.installationFile(1), nullptr);
    int nuevas = 0;
    std::vector<QDateTime> llegadas; // what the live list is told
    QStringList avisos;
    log.OnNuevaIncidencia = [&](ZARVColeccionIncidencia *l, const TEventoInformacion &) {
        ++nuevas;
        llegadas.push_back(l->Llegada_Retenida());
    };
    log.OnServidorPerdido = [&](const QString &motivo) { avisos << QStringLiteral("lost ") + motivo; };
    log.OnServidorRecuperado = [&](int guardadas) { avisos << QStringLiteral("back %1").arg(guardadas); };

    log.Recibe_Evento(nullptr, Evento(3));
    Para();
    const QDateTime antes = QDateTime::currentDateTime();
    log.Recibe_Evento(nullptr, Evento(1, QStringLiteral("00000000AA")));
    log.Recibe_Evento(nullptr, Evento(4));
    EXPECT_EQ(log.Retenidas(), 2);
    EXPECT_EQ(log.Perdidas(), 0);
    EXPECT_EQ(nuevas, 1);
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].contains(QStringLiteral("cannot be reached")));
    EXPECT_EQ(log.Guarda_Retenidas(), 2); // still down: tried, kept

    Vuelve();
    const QDateTime vuelta = QDateTime::currentDateTime();
    // An event arriving before the retry goes behind those held.
    log.Recibe_Evento(nullptr, Evento(5));
    EXPECT_EQ(log.Guarda_Retenidas(), 0);
    EXPECT_EQ(nuevas, 4);
    EXPECT_EQ(avisos.last(), QStringLiteral("back 3"));
    EXPECT_EQ(log.Perdidas(), 0);

    FbConnection db(inst.installationFile(1));
    EXPECT_EQ(db.rows("select evento, tarjeta from zarvincidencia order by cod"),
              (QStringList{"3|", "1|00000000AA", "4|", "5|"}));
    // The held ones keep the time they arrived, not the time they were stored.
    const QDateTime llegada = db.scalar("select \"TIMESTAMP\" from zarvincidencia where evento = 1").toDateTime();
    EXPECT_GE(llegada.msecsTo(vuelta), 0);
    EXPECT_LE(std::abs(antes.msecsTo(llegada)), 2000);
    // The live list shows the same time; an event stored as it came has none to show.
    ASSERT_EQ(llegadas.size(), 4u);
    EXPECT_FALSE(llegadas[0].isValid());
    EXPECT_EQ(llegadas[1].msecsTo(llegada), 0);
    EXPECT_TRUE(llegadas[3].isValid());
}

TEST_F(ServidorCaidoTest, EventsStillHeldWhenTheInstallationClosesAreToldAsLost)
{
    ZARVColeccionIncidencia log(sistema.get(), inst.installationFile(1), nullptr);
    QStringList perdidos;
    log.OnEventoPerdido = [&](const TEventoInformacion &info, const QString &) { perdidos << info.Tarjeta; };
    Para();
    log.Recibe_Evento(nullptr, Evento(1, QStringLiteral("00000000BB")));
    EXPECT_EQ(log.Retenidas(), 1);
    log.Cerrar();
    EXPECT_EQ(perdidos, QStringList{"00000000BB"});
    EXPECT_EQ(log.Perdidas(), 1);
    EXPECT_EQ(log.Retenidas(), 0);
}
