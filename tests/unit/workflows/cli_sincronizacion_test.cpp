// keyvane-cli's verify, sync and send as an installer scripts them: a real
// installation file, keyvane-sim on COM1 (readers 1 and 3) and COM2 (reader
// 2), the same workflows as the send and receive windows.
#include "cli_proceso.h"
#include "fbtest.h"
#include "simprocess.h"
#include "tempinstall.h"

#include <gtest/gtest.h>

#include <memory>

using kv::test::FbConnection;
using kv::test::SimProcess;

namespace {

// One card assigned to one reader; "S" once the reader confirmed it.
struct Asignacion {
    const char *codigo;
    int lector;
    const char *almacenada;
};

// What a reader's memory holds before the command runs.
struct Memoria {
    int lector;
    const char *codigos; // as the simulator's load takes them
};

QStringList Ordenadas(QStringList l)
{
    l.sort();
    return l;
}

} // namespace

class CliSincronizacionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        com1 = std::make_unique<SimProcess>(1, QStringList{"--controllers", "1,3"}, inst.portsDir());
        com2 = std::make_unique<SimProcess>(2, QStringList{"--controllers", "2"}, inst.portsDir());
        Sql({"INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(1,1,'Main door','',1)",
             "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(3,1,'Back door','',3)",
             "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(2,2,'Garage','',2)"});
    }

    void Sql(const QStringList &sentencias)
    {
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.isOpen());
        for (const QString &sql : sentencias)
            ASSERT_TRUE(db.exec(sql)) << sql.toStdString() << ": " << db.lastError().toStdString();
    }

    SimProcess &Linea(int lector) { return lector == 2 ? *com2 : *com1; }

    // The cards, free, with their assignments as given; the readers' memories
    // are set apart, so that a test can make them disagree.
    void Prepara(const std::vector<Asignacion> &asignaciones, const std::vector<Memoria> &memorias)
    {
        QStringList sentencias;
        QStringList tarjetas;
        for (const Asignacion &a : asignaciones) {
            if (!tarjetas.contains(a.codigo)) {
                tarjetas << a.codigo;
                sentencias << QString("INSERT INTO zarvtarjeta VALUES ('%1', 'N', '2024-01-02 03:04:05', "
                                      "'2024-01-02 03:04:05', -1, 'N')")
                                  .arg(a.codigo);
            }
            sentencias << QString("INSERT INTO zarvcontroladortarjeta VALUES ('%1', %2, '%3')")
                              .arg(a.codigo)
                              .arg(a.lector)
                              .arg(a.almacenada);
        }
        Sql(sentencias);
        for (const Memoria &m : memorias)
            ASSERT_TRUE(Linea(m.lector).ok(QString("load %1 %2").arg(m.lector).arg(m.codigos)));
    }

    Salida_Cli Cli(const QStringList &args) { return Ejecuta_Cli(inst, args); }

    QStringList Filas(const QString &sql)
    {
        FbConnection db(inst.installationFile(1));
        return db.rows(sql);
    }

    QStringList Asignaciones()
    {
        return Filas("select tarjeta, controlador, \"_STOREDINHW\" from zarvcontroladortarjeta "
                     "order by tarjeta, controlador");
    }

    QStringList Tarjetas() { return Filas("select codigo_tarjeta, usuario from zarvtarjeta order by 1"); }

    QStringList Memoria_De(int lector) { return Ordenadas(Linea(lector).command(QString("dump %1").arg(lector))); }

    kv::test::TempInstall inst;
    std::unique_ptr<SimProcess> com1;
    std::unique_ptr<SimProcess> com2;
};

struct Verifica_Caso {
    const char *name;
    std::vector<Asignacion> asignaciones;
    std::vector<Memoria> memorias;
    bool garaje_mudo; // reader 2 does not answer
    QStringList lineas;
    int estado;
};

class CliVerificaTest : public CliSincronizacionTest, public ::testing::WithParamInterface<Verifica_Caso> {};

TEST_P(CliVerificaTest, ReportsEveryReaderAndTheCodesThatDifferChangingNothing)
{
    const Verifica_Caso &caso = GetParam();
    Prepara(caso.asignaciones, caso.memorias);
    if (caso.garaje_mudo) {
        ASSERT_TRUE(com2->ok("fault 2 silence"));
    }
    const QStringList asignaciones = Asignaciones();
    const QStringList tarjetas = Tarjetas();
    const QStringList memorias[] = {Memoria_De(1), Memoria_De(2), Memoria_De(3)};

    const Salida_Cli s = Cli({"verify"});
    EXPECT_EQ(s.estado, caso.estado) << s.err.toStdString();
    EXPECT_EQ(s.lineas, caso.lineas);

    // Neither side was touched: not even a card read from a reader that the
    // database does not know got a user, as a receive would give it.
    EXPECT_EQ(Asignaciones(), asignaciones);
    EXPECT_EQ(Tarjetas(), tarjetas);
    EXPECT_EQ(Memoria_De(1), memorias[0]);
    EXPECT_EQ(Memoria_De(2), memorias[1]);
    EXPECT_EQ(Memoria_De(3), memorias[2]);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CliVerificaTest,
    ::testing::Values(
        Verifica_Caso{"OneSilentOneDiffering",
                      {{"0000000001", 1, "S"}, {"0000000002", 3, "N"}, {"0000000004", 3, "S"}, {"0000000003", 2, "S"}},
                      {{1, "0000000001"}, {3, "0000000004 0000000077"}, {2, "0000000003"}},
                      true,
                      {"1 ok 1", "2 no-answer", "3 differs missing=1 extra=1 pending=1", "3 missing 0000000002",
                       "3 extra 0000000077"},
                      1},
        Verifica_Caso{"EveryReaderMatches",
                      {{"0000000001", 1, "S"}, {"0000000002", 1, "S"}, {"0000000002", 3, "S"}},
                      {{1, "0000000001 0000000002"}, {3, "0000000002"}},
                      false,
                      {"1 ok 2", "2 ok 0", "3 ok 1"},
                      0},
        // The pending assignment is all that differs, and the reader lacks it.
        Verifica_Caso{"PendingTheReaderLacks",
                      {{"0000000001", 1, "S"}, {"0000000005", 2, "N"}},
                      {{1, "0000000001"}},
                      false,
                      {"1 ok 1", "2 differs missing=1 extra=0 pending=1", "3 ok 0", "2 missing 0000000005"},
                      1},
        // Marked pending, yet the reader took it: the memory matches.
        Verifica_Caso{"PendingTheReaderHolds",
                      {{"0000000005", 2, "N"}},
                      {{2, "0000000005"}},
                      false,
                      {"1 ok 0", "2 ok 1", "3 ok 0"},
                      0},
        Verifica_Caso{"SilentReaderAlone", {}, {}, true, {"1 ok 0", "2 no-answer", "3 ok 0"}, 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CliSincronizacionTest, SyncStoresThePendingOnceTheReaderIsBack)
{
    Prepara({{"0000000001", 1, "S"}, {"0000000002", 3, "N"}, {"0000000003", 2, "N"}}, {{1, "0000000001"}});
    ASSERT_TRUE(com2->ok("fault 2 silence"));

    Salida_Cli s = Cli({"sync"});
    EXPECT_EQ(s.estado, 1) << s.err.toStdString();
    EXPECT_EQ(Ordenadas(s.lineas), (QStringList{"2 0000000003 pending", "3 0000000002 stored"}));
    EXPECT_EQ(Asignaciones(), (QStringList{"0000000001|1|S", "0000000002|3|S", "0000000003|2|N"}));
    EXPECT_EQ(Memoria_De(3), QStringList{"0000000002"});
    EXPECT_EQ(Cli({"verify"}).estado, 1);

    ASSERT_TRUE(com2->ok("fault 2 none"));
    s = Cli({"sync"});
    EXPECT_EQ(s.estado, 0) << s.err.toStdString();
    // Only what was still pending is sent again.
    EXPECT_EQ(s.lineas, QStringList{"2 0000000003 stored"});
    EXPECT_EQ(Asignaciones(), (QStringList{"0000000001|1|S", "0000000002|3|S", "0000000003|2|S"}));
    EXPECT_EQ(Memoria_De(2), QStringList{"0000000003"});

    s = Cli({"verify"});
    EXPECT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_EQ(s.lineas, (QStringList{"1 ok 1", "2 ok 1", "3 ok 1"}));
    // Nothing pending: nothing to try, nothing left.
    s = Cli({"sync"});
    EXPECT_EQ(s.estado, 0) << s.err.toStdString();
    EXPECT_TRUE(s.lineas.isEmpty());
}

struct Envio_Caso {
    const char *name;
    bool garaje_mudo;
    const char *resumen;
    QStringList asignaciones;
    int estado;
};

class CliEnvioTest : public CliSincronizacionTest, public ::testing::WithParamInterface<Envio_Caso> {};

TEST_P(CliEnvioTest, EveryAnsweringReaderHoldsExactlyItsCards)
{
    const Envio_Caso &caso = GetParam();
    // Stale cards the send erases, an assignment marked stored that the
    // reader lost and one pending that it took after all.
    Prepara({{"0000000001", 1, "S"}, {"0000000001", 2, "N"}, {"0000000002", 1, "N"}, {"0000000002", 3, "S"},
             {"0000000003", 2, "S"}},
            {{1, "0000000099 0000000002"}, {3, "0000000088"}, {2, "0000000066"}});
    if (caso.garaje_mudo) {
        ASSERT_TRUE(com2->ok("fault 2 silence"));
    }

    const Salida_Cli s = Cli({"send"});
    EXPECT_EQ(s.estado, caso.estado) << s.err.toStdString();
    EXPECT_EQ(s.lineas, QStringList{caso.resumen});
    // Standard error is no terminal here: no progress in a script's log.
    EXPECT_TRUE(s.err.isEmpty()) << s.err.toStdString();
    EXPECT_EQ(Asignaciones(), caso.asignaciones);
    EXPECT_EQ(Memoria_De(1), (QStringList{"0000000001", "0000000002"}));
    EXPECT_EQ(Memoria_De(3), QStringList{"0000000002"});
    // A silent reader may have taken the cards with only its replies lost:
    // what it holds is not the send's to say, and its assignments stay "N".
    if (caso.garaje_mudo)
        return;
    EXPECT_EQ(Memoria_De(2), (QStringList{"0000000001", "0000000003"}));
    EXPECT_EQ(Cli({"verify"}).lineas, (QStringList{"1 ok 2", "2 ok 2", "3 ok 1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CliEnvioTest,
    ::testing::Values(Envio_Caso{"SilentGarage",
                                 true,
                                 "stored=3 pending=2",
                                 {"0000000001|1|S", "0000000001|2|N", "0000000002|1|S", "0000000002|3|S",
                                  "0000000003|2|N"},
                                 1},
                      Envio_Caso{"EveryReaderAnswers",
                                 false,
                                 "stored=5 pending=0",
                                 {"0000000001|1|S", "0000000001|2|S", "0000000002|1|S", "0000000002|3|S",
                                  "0000000003|2|S"},
                                 0}),
    [](const auto &info) { return std::string(info.param.name); });
