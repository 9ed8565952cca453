// Filtered loads of the incidence log: the statement each filter gives (sent
// as it is, spaces included), what it loads and in which order, and loads
// that find nothing or fail.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/zarvcoleccionincidencia.h"

#include <QLocale>

using kv::test::FbConnection;

namespace {

const QString kSelect = QStringLiteral(
    "select cod,controlador,tarjeta,\"TIMESTAMP\",descripcion,evento,usr,hist_controlador from  zarvincidencia ");

const QDateTime kDesde(QDate(2024, 5, 1), QTime(11, 0));
const QDateTime kHasta(QDate(2024, 5, 1), QTime(12, 0));

QList<int> Cods(ZARVColeccionIncidencia &c)
{
    QList<int> out;
    for (c.Primero(); !c.Fin(); c.Siguiente())
        out << c.Elemento(-1)->Cod();
    return out;
}

} // namespace

class IncidenciaLoadTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        db = std::make_unique<FbConnection>(inst.installationFile(1));
        ASSERT_TRUE(db->isOpen());
        // Stored out of time order: the load sorts by time stamp.
        Row(4, "2024-05-02 09:00:00", 7);
        Row(1, "2024-05-01 10:00:00", 5);
        Row(3, "2024-05-01 12:00:00", 5);
        Row(2, "2024-05-01 11:00:00", 0);
        sistema = Abre();
        sistema->Conecta_Controladores();
        inc = sistema->Incidencias();
    }
    void TearDown() override
    {
        sistema.reset();
        db.reset();
    }
    void Row(int cod, const char *ts, int usr)
    {
        ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvincidencia(cod,controlador,hist_controlador,tarjeta,hist_tarjeta,"
                                            "\"TIMESTAMP\",descripcion,evento,usr) VALUES(%1,%2,'Door %2','00123456','',"
                                            "'%3','d%1',%4,%5)")
                                 .arg(cod)
                                 .arg(cod + 10)
                                 .arg(QLatin1String(ts))
                                 .arg(usr == 0 ? 3 : 1)
                                 .arg(usr)));
    }

    std::unique_ptr<FbConnection> db;
    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionIncidencia *inc = nullptr;
};

struct Filtro {
    const char *name;
    const char *inicio;
    const char *fin;
    int usr;
    QString clausula; // what follows "from  zarvincidencia "
    QList<int> cods;  // in load order
};

class FiltroTest : public IncidenciaLoadTest, public ::testing::WithParamInterface<Filtro> {};

TEST_P(FiltroTest, BuildsTheStatementAndLoadsWhatItSelectsNewestFirst)
{
    const Filtro &f = GetParam();
    inc->Filtro_Textos(QString::fromLatin1(f.inicio), QString::fromLatin1(f.fin), f.usr);
    inc->Filtro_Fechas(f.usr, kDesde, kHasta);
    EXPECT_EQ(inc->Sentencia(), kSelect + f.clausula);
    ASSERT_NO_THROW(inc->Refrescar());
    EXPECT_EQ(Cods(*inc), f.cods);
    EXPECT_EQ(inc->Cuenta(), f.cods.size());
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FiltroTest,
    ::testing::Values(
        Filtro{"None", "", "", -1, " where (1=1) order by \"TIMESTAMP\"", {4, 3, 2, 1}},
        Filtro{"Start", "2024-05-01 11:00:00", "", -1,
               " where (1=1)  AND  ( \"TIMESTAMP\" >= :filter_f_ini)order by \"TIMESTAMP\"", {4, 3, 2}},
        Filtro{"End", "", "x", -1, " where (1=1)  AND  ( \"TIMESTAMP\" <= :filter_f_fin)order by \"TIMESTAMP\"", {3, 2, 1}},
        // The end clause runs straight into "order by", and the database takes it.
        Filtro{"StartAndEnd", "a", "b", -1,
               " where (1=1)  AND  ( \"TIMESTAMP\" >= :filter_f_ini) AND  ( \"TIMESTAMP\" <= :filter_f_fin)order by "
               "\"TIMESTAMP\"",
               {3, 2}},
        Filtro{"User", "", "", 5, " where (1=1)  AND  ( usr = 5) order by \"TIMESTAMP\"", {3, 1}},
        Filtro{"UserZero", "", "", 0, " where (1=1)  AND  ( usr = 0) order by \"TIMESTAMP\"", {2}},
        Filtro{"Everything", "a", "b", 5,
               " where (1=1)  AND  ( \"TIMESTAMP\" >= :filter_f_ini) AND  ( \"TIMESTAMP\" <= :filter_f_fin) AND  ( usr "
               "= 5) order by \"TIMESTAMP\"",
               {3}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(IncidenciaLoadTest, EveryColumnLandsInItsField)
{
    inc->Refrescar();
    ASSERT_EQ(inc->Cuenta(), 4);
    const auto i = inc->Elemento(3);
    EXPECT_EQ(i->Cod(), 1);
    EXPECT_EQ(i->Controlador(), 11);
    EXPECT_EQ(i->Hist_Controlador(), "Door 11");
    EXPECT_EQ(i->Tarjeta(), "00123456"); // the whole stored code
    EXPECT_EQ(i->Timestamp(), QDateTime(QDate(2024, 5, 1), QTime(10, 0)));
    EXPECT_EQ(i->Descripcion(), "d1");
    EXPECT_EQ(i->Evento(), 1);
    EXPECT_EQ(i->Usr(), 5);
    EXPECT_EQ(inc->Elemento(4), nullptr);
}

TEST_F(IncidenciaLoadTest, ALoadOfSeveralPagesWalksEachRowOnceNewestFirstWhileEventsArrive)
{
    // Two pages and a bit more, stored in pairs that share their time stamp:
    // within a pair the higher number is the newer.
    const int n = 2 * ZARVColeccionIncidencia::PAGINA + 3;
    ASSERT_TRUE(db->exec(QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (:i < %1) DO BEGIN "
                                        "INSERT INTO zarvincidencia(cod,controlador,\"TIMESTAMP\",evento,usr) VALUES("
                                        "100 + :i, 1, dateadd(:i / 2 second to timestamp '2024-06-01 00:00:00'), 3, 0); "
                                        "i = :i + 1; END END")
                             .arg(n)))
        << db->lastError().toStdString();
    QList<int> esperados;
    for (int i = n - 1; i >= 0; --i)
        esperados << 100 + i;
    esperados << 4 << 3 << 2 << 1;

    inc->Refrescar();
    ASSERT_EQ(inc->Cuenta(), n + 4);
    QList<int> vistos;
    for (inc->Primero(); !inc->Fin(); inc->Siguiente()) {
        vistos << inc->Elemento(-1)->Cod();
        // Events stored in the middle of the walk belong to the next load.
        if (vistos.size() == ZARVColeccionIncidencia::PAGINA - 1)
            ASSERT_TRUE(db->exec("INSERT INTO zarvincidencia(cod,controlador,\"TIMESTAMP\",evento,usr) "
                                 "VALUES(99999,1,'2030-01-01 00:00:00',3,0)"));
    }
    EXPECT_EQ(vistos, esperados);
    // Any element, in any order, is the same row again.
    for (int i : {n + 3, 0, ZARVColeccionIncidencia::PAGINA, n - 1, 1})
        EXPECT_EQ(inc->Elemento(i)->Cod(), esperados[i]) << i;
    EXPECT_EQ(inc->Elemento(n + 4), nullptr);

    inc->Refrescar();
    EXPECT_EQ(inc->Cuenta(), n + 5);
    EXPECT_EQ(inc->Elemento(0)->Cod(), 99999);
}

TEST_F(IncidenciaLoadTest, TheDateBoundsAreInclusiveAndOnlyTheTextsSwitchThemOn)
{
    // Dates without texts: no bound at all.
    inc->Filtro_Fechas(-1, kHasta, kHasta);
    inc->Refrescar();
    EXPECT_EQ(inc->Cuenta(), 4);
    // Both bounds on the same instant: the row stored at it.
    inc->Filtro_Textos("a", "b", -1);
    inc->Refrescar();
    EXPECT_EQ(Cods(*inc), QList<int>{3});
    // A text without a date of its own compares with the date-time zero.
    ZARVColeccionIncidencia fresh(sistema.get(), inst.installationFile(1), nullptr);
    fresh.Filtro_Textos("a", "", -1);
    fresh.Refrescar();
    EXPECT_EQ(fresh.Cuenta(), 4);
    fresh.Filtro_Textos("", "b", -1);
    fresh.Refrescar();
    EXPECT_EQ(fresh.Cuenta(), 0);
}

TEST_F(IncidenciaLoadTest, AFilterThatMatchesNothingEndsAtOnceAndHidesTheOldRows)
{
    inc->Refrescar();
    const auto old = inc->Elemento(0);
    // Start after end.
    inc->Filtro_Textos("a", "b", -1);
    inc->Filtro_Fechas(-1, kHasta, kDesde);
    inc->Refrescar();
    EXPECT_EQ(inc->Cuenta(), 0);
    EXPECT_EQ(inc->Cargadas(), 0);
    inc->Primero();
    EXPECT_TRUE(inc->Fin());
    // Nothing of the last load is reachable.
    EXPECT_EQ(inc->Elemento(0), nullptr);
    EXPECT_NE(old, nullptr);
}

TEST_F(IncidenciaLoadTest, TheLowerCaseSortColumnBecomesTheDelimitedNameForGood)
{
    EXPECT_EQ(inc->Orden(), "\"TIMESTAMP\"");
    inc->Set_Orden("timestamp");
    EXPECT_TRUE(inc->Sentencia().endsWith("order by \"TIMESTAMP\""));
    inc->Refrescar();
    EXPECT_EQ(inc->Orden(), "\"TIMESTAMP\"");
    // Any other column of the table goes in as it is, with its direction; the
    // list is still the reverse of the statement. Anything else is refused.
    for (const char *mal : {"cod; delete from zarvincidencia", "cod desc, 1", "nada", "cod sideways", ""})
        EXPECT_THROW(inc->Set_Orden(mal), ErrorBD) << mal;
    EXPECT_EQ(inc->Orden(), "\"TIMESTAMP\"");
    inc->Set_Orden("cod desc");
    inc->Refrescar();
    EXPECT_EQ(Cods(*inc), (QList<int>{1, 2, 3, 4}));
}

TEST_F(IncidenciaLoadTest, AFailedLoadLeavesCountAndListAsTheyWere)
{
    inc->Filtro_Textos("", "", 5);
    inc->Refrescar();
    ASSERT_EQ(inc->Cuenta(), 2);
    // A column the load reads goes away (a file from another version).
    {
        kv::test::FbConnection c(inst.installationFile(1));
        ASSERT_TRUE(c.exec("ALTER TABLE zarvincidencia DROP hist_controlador")) << c.lastError().toStdString();
    }
    EXPECT_THROW(inc->Refrescar(), ErrorBD);
    EXPECT_EQ(inc->Cuenta(), 2);
    EXPECT_EQ(Cods(*inc), (QList<int>{3, 1}));
}

TEST_F(IncidenciaLoadTest, DateTextIsTheShortDateAndTheTimeToTheSecondWithoutZone)
{
    ZARVIncidencia i;
    i.Set_Timestamp(QDateTime(QDate(2024, 5, 1), QTime(9, 5, 7)));
    const QLocale sistemaLocale = QLocale::system();
    const QString texto = i.Fecha_Texto();
    EXPECT_TRUE(texto.startsWith(sistemaLocale.toString(QDate(2024, 5, 1), QLocale::ShortFormat) + " ")) << texto.toStdString();
    EXPECT_TRUE(texto.contains("05:07")) << texto.toStdString();
    EXPECT_FALSE(texto.contains(sistemaLocale.toString(i.Timestamp(), "t"))) << texto.toStdString();
    EXPECT_FALSE(texto.endsWith(' '));
}
