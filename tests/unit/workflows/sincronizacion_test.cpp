// Sending, receiving, retrying, verifying and syncing against keyvane-sim
// (readers 1 and 3 on COM1, reader 2 on COM2) and a real installation file.
#include "flujofixture.h"

#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "workflows/coordinacion.h"
#include "workflows/sincronizacion.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>

#include <cstdio>

using namespace kv::wf;

class SincronizacionTest : public FlujoTest {
protected:
    QStringList Asignaciones()
    {
        return db->rows("select controlador, tarjeta, \"_STOREDINHW\" from zarvcontroladortarjeta "
                        "order by controlador, tarjeta");
    }
    kv::test::SimProcess &Linea(int cod) { return cod == 2 ? *com2 : *com1; }
    // Every "S" is in its controller's memory, and every card a controller
    // holds is known to the database. Answering simulators only.
    QString Descuadre()
    {
        QString r;
        const QStringList conocidas = db->rows("select codigo_tarjeta from zarvtarjeta");
        for (const int cod : {1, 2, 3}) {
            const QStringList memoria = Linea(cod).command(QStringLiteral("dump %1").arg(cod));
            for (const QString &s : db->rows(QStringLiteral("select tarjeta from zarvcontroladortarjeta where "
                                                            "controlador=%1 and \"_STOREDINHW\"='S'")
                                                 .arg(cod)))
                if (!memoria.contains(s))
                    r += QStringLiteral(" S-not-held:%1:%2").arg(cod).arg(s);
            for (const QString &m : memoria)
                if (!conocidas.contains(m))
                    r += QStringLiteral(" unknown:%1:%2").arg(cod).arg(m);
        }
        return r;
    }
};

TEST(FinBloque, TheLastCardOfEveryControllersRunClosesItsBlock)
{
    const std::vector<int> dos = {1, 1, 2};
    EXPECT_FALSE(Fin_Bloque(dos, 0));
    EXPECT_TRUE(Fin_Bloque(dos, 1));
    EXPECT_TRUE(Fin_Bloque(dos, 2));
    // A single card in a single controller is its whole block.
    EXPECT_TRUE(Fin_Bloque({1}, 0));
    EXPECT_TRUE(Fin_Bloque({1, 2}, 0));
}

TEST_F(SincronizacionTest, ASendLeavesPendingExactlyWhatASilentControllerDidNotTake)
{
    Tarjeta("0000000001", {1, 2});
    Tarjeta("0000000002", {1, 3});
    Tarjeta("0000000003", {2});
    ASSERT_TRUE(com1->ok("load 1 0000000099")); // a stale card the send erases
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    const Resultado_Envio r = Envia_Todas(progreso);
    EXPECT_EQ(r.cargadas, 3);
    EXPECT_EQ(r.pendientes, 2);
    EXPECT_FALSE(r.cancelada);
    EXPECT_EQ(Asignaciones(), (QStringList{"1|0000000001|S", "1|0000000002|S", "2|0000000001|N", "2|0000000003|N",
                                           "3|0000000002|S"}));
    EXPECT_EQ(com1->command("dump 1"), (QStringList{"0000000001", "0000000002"}));
    EXPECT_EQ(com1->command("dump 3"), QStringList{"0000000002"});
    EXPECT_TRUE(Descuadre().isEmpty()) << Descuadre().toStdString();
    EXPECT_FALSE(Coordinacion::Ocupado());
}

TEST_F(SincronizacionTest, ACancelledSendLeavesWhatItDidNotLoadPending)
{
    for (const char *c : {"0000000001", "0000000002", "0000000003", "0000000004"})
        Tarjeta(c, {1});
    Progreso_Cancelable p;
    p.cancelar_tras = 2;
    const Resultado_Envio r = Envia_Todas(p);
    EXPECT_TRUE(r.cancelada);
    EXPECT_EQ(r.cargadas, 2);
    EXPECT_EQ(com1->command("dump 1"), (QStringList{"0000000001", "0000000002"}));
    EXPECT_EQ(Asignaciones(), (QStringList{"1|0000000001|S", "1|0000000002|S", "1|0000000003|N", "1|0000000004|N"}));
    EXPECT_EQ(p.cerrado, 1);
}

TEST_F(SincronizacionTest, AReceiveReadsOnlyVersion20AndUpAndNamesUnknownCards)
{
    Tarjeta("0000000001", {1});
    ASSERT_TRUE(com1->ok("set 3 version 19"));
    ASSERT_TRUE(com1->ok("load 1 0000000001 0000000055"));
    ASSERT_TRUE(com1->ok("load 3 0000000066"));
    const std::vector<Lector_Recepcion> lectores = Prueba_Recepcion();
    ASSERT_EQ(lectores.size(), 3u);
    EXPECT_TRUE(lectores[0].Legible());
    EXPECT_EQ(lectores[2].cod, 3);
    EXPECT_FALSE(lectores[2].Legible()) << "version 19";
    const std::vector<Resultado_Recepcion> r = Recibe_Todas(progreso, operador);
    ASSERT_EQ(r.size(), 2u); // readers 1 and 2; 3 is version 19
    EXPECT_TRUE(r[0].completa);
    EXPECT_EQ(Asignaciones(), (QStringList{"1|0000000001|S", "1|0000000055|S"}));
    // The unknown card got a nameless user, and so did the free one.
    EXPECT_EQ(db->scalar("select count(*) from zarvusuario where nombre='' and apellidos=''").toInt(), 2);
    EXPECT_EQ(db->scalar("select count(*) from zarvtarjeta where usuario=-1").toInt(), 0);
    EXPECT_TRUE(operador.mensajes.isEmpty());
}

TEST_F(SincronizacionTest, ARetryStoresThePendingCardOnceTheControllerIsBack)
{
    Tarjeta("0000000007", {2});
    ASSERT_TRUE(db->exec("update zarvcontroladortarjeta set \"_STOREDINHW\"='N'"));
    Globales::Sistema->Tarjetas()->Refrescar();
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    EXPECT_FALSE(Reintenta_Tarjeta("0000000007"));
    EXPECT_EQ(Asignaciones(), QStringList{"2|0000000007|N"});
    ASSERT_TRUE(com2->ok("fault 2 none"));
    EXPECT_TRUE(Reintenta_Tarjeta("0000000007"));
    EXPECT_EQ(Asignaciones(), QStringList{"2|0000000007|S"});
    EXPECT_EQ(com2->command("dump 2"), QStringList{"0000000007"});
}

TEST_F(SincronizacionTest, VerifyReportsDifferencesAndSyncSendsThePending)
{
    Tarjeta("0000000001", {1});
    Tarjeta("0000000002", {3});
    Tarjeta("0000000003", {2});
    ASSERT_TRUE(db->exec("update zarvcontroladortarjeta set \"_STOREDINHW\"='N' where tarjeta='0000000002'"));
    Globales::Sistema->Tarjetas()->Refrescar();
    ASSERT_TRUE(com1->ok("load 1 0000000001 0000000077"));
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    const std::vector<Comparacion> v = Verifica(progreso);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_TRUE(v[0].responde);
    EXPECT_EQ(v[0].sobran, QStringList{"0000000077"});
    EXPECT_TRUE(v[0].faltan.isEmpty());
    EXPECT_EQ(v[1].cod, 2);
    EXPECT_FALSE(v[1].responde);
    EXPECT_EQ(v[2].cod, 3);
    EXPECT_EQ(v[2].faltan, QStringList{"0000000002"});
    EXPECT_EQ(v[2].pendientes, 1);
    EXPECT_EQ(Asignaciones(), (QStringList{"1|0000000001|S", "2|0000000003|S", "3|0000000002|N"})) << "unchanged";

    const std::vector<Envio_Pendiente> s = Sincroniza_Pendientes();
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].cod, 3);
    EXPECT_TRUE(s[0].almacenada);
    EXPECT_EQ(com1->command("dump 3"), QStringList{"0000000002"});
}

// Rounds of the randomized test: a short run here, a long one from the
// benchmark (KEYVANE_ROUNDS).
int Rondas()
{
    return qEnvironmentVariableIsSet("KEYVANE_ROUNDS") ? qEnvironmentVariable("KEYVANE_ROUNDS").toInt() : 6;
}

// Send, retry, receive and sync with faults switched on and off at random:
// a card is never "S" without being in its controller, and no controller
// holds a card the database does not know. Seeded; the seed is printed.
TEST_F(SincronizacionTest, RandomFaultsNeverLeaveAStoredCardMissing)
{
    const quint32 semilla = qEnvironmentVariableIsSet("KEYVANE_SEED") ? qEnvironmentVariable("KEYVANE_SEED").toUInt()
                                                                      : 20261210u;
    QRandomGenerator azar(semilla);
    for (int i = 1; i <= 8; ++i)
        Tarjeta(QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0')), {1 + i % 3, 1 + (i + 1 + int(azar.bounded(2))) % 3});
    // Nothing sent yet: every assignment waits.
    ASSERT_TRUE(db->exec("update zarvcontroladortarjeta set \"_STOREDINHW\"='N'"));
    Globales::Sistema->Tarjetas()->Refrescar();
    const char *fallos[] = {"none", "none", "silence", "refuse", "badsum"};
    int descuadres = 0;
    QString primero;
    const int rondas = Rondas();
    for (int ronda = 0; ronda < rondas; ++ronda) {
        for (const int cod : {1, 2, 3})
            ASSERT_TRUE(Linea(cod).ok(QStringLiteral("fault %1 %2").arg(cod).arg(fallos[azar.bounded(5)])));
        // Now and then COM2 vanishes altogether (a cable pulled): its
        // commands fail with a port error that ends the workflow.
        const bool sin_linea = azar.bounded(6) == 0;
        if (sin_linea)
            QFile::remove(com2->linkPath());
        Progreso_Cancelable p;
        try {
            switch (azar.bounded(4)) {
            case 0:
                p.cancelar_tras = azar.bounded(2) ? int(azar.bounded(12)) : 0;
                Envia_Todas(p);
                break;
            case 1:
                Sincroniza_Pendientes();
                break;
            case 2:
                Recibe_Todas(p, operador);
                break;
            default:
                Reintenta_Tarjeta(QStringLiteral("%1").arg(1 + azar.bounded(8), 10, 10, QLatin1Char('0')));
            }
        } catch (const std::exception &) {
            EXPECT_TRUE(sin_linea) << "a port error with every line in place, seed " << semilla;
        }
        if (sin_linea)
            ASSERT_TRUE(QFile::link(com2->ptyPath(), com2->linkPath()));
        for (const int cod : {1, 2, 3})
            ASSERT_TRUE(Linea(cod).ok(QStringLiteral("fault %1 none").arg(cod)));
        const QString d = Descuadre();
        if (!d.isEmpty() && descuadres++ == 0)
            primero = QStringLiteral("round %1:%2").arg(ronda).arg(d);
    }
    // The long run (a benchmark) reports its figure.
    if (qEnvironmentVariableIsSet("KEYVANE_ROUNDS"))
        std::printf("BENCH sync_random_fault_mismatches %d rounds_with_mismatch_in_%d goal 0\n", descuadres, rondas);
    EXPECT_EQ(descuadres, 0) << "seed " << semilla << ", first " << primero.toStdString();
}
