// Cards: the load with its cardholders and order, look-ups that compare codes
// as texts, and every write read back with SQL, including the two that
// swallow their errors and the codes that carry a quote.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"

using kv::test::FbConnection;

namespace {

const QDateTime kAlta(QDate(2024, 3, 1), QTime(9, 30, 15));
const QDateTime kCaduca(QDate(2025, 12, 31), QTime(23, 59, 0));

ZARVTarjeta Make(const QString &codigo, const std::shared_ptr<ZARVUsuario> &usuario = nullptr, bool usar_cad = true)
{
    ZARVTarjeta t;
    t.Set_Codigo_Tarjeta(codigo);
    t.Set_Fecha_Alta(kAlta);
    t.Set_Fecha_Caducidad(kCaduca);
    t.Set_Usar_Fecha_Cad(usar_cad);
    t.Set_Usuario(usuario);
    return t;
}

QStringList Codes(ZARVColeccionTarjeta &c)
{
    QStringList out;
    for (c.Primero(); !c.Fin(); c.Siguiente())
        out << c.Elemento(-1)->Codigo_Tarjeta();
    return out;
}

} // namespace

struct Completa {
    const char *texto;
    const char *esperado;
};

class CompletaCodigoTest : public ::testing::TestWithParam<Completa> {};

TEST_P(CompletaCodigoTest, PadsToTenAndLeavesLongerTextsAlone)
{
    EXPECT_EQ(Completa_Codigo(QString::fromLatin1(GetParam().texto)), QString::fromLatin1(GetParam().esperado));
}

INSTANTIATE_TEST_SUITE_P(Codes, CompletaCodigoTest,
                         ::testing::Values(Completa{"12345", "0000012345"}, Completa{"", "0000000000"},
                                           Completa{"0", "0000000000"}, Completa{"123456789", "0123456789"},
                                           Completa{"1234567890", "1234567890"},
                                           Completa{"12345678901", "12345678901"}));

class TarjetaTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        db = std::make_unique<FbConnection>(inst.installationFile(1));
        ASSERT_TRUE(db->isOpen());
    }
    void TearDown() override
    {
        sistema.reset();
        db.reset();
    }
    void Open()
    {
        sistema = Abre();
        tarjetas = sistema->Tarjetas();
        ASSERT_NE(tarjetas, nullptr);
    }
    int NewHolder(const QString &nombre, const QString &apellidos)
    {
        ZARVUsuario u;
        u.Set_Nombre(nombre);
        u.Set_Apellidos(apellidos);
        int id = -1;
        sistema->Usuarios()->Inserta(u, id);
        return id;
    }
    QStringList CardRows()
    {
        return db->rows("select codigo_tarjeta,bloqueado,fecha_alta,fecha_caducidad,usuario,usar_fecha_cad "
                        "from zarvtarjeta order by codigo_tarjeta");
    }

    std::unique_ptr<FbConnection> db;
    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionTarjeta *tarjetas = nullptr;
};

TEST_F(TarjetaTest, LoadResolvesCardholdersAndListsCardsWithoutOneFirst)
{
    ASSERT_TRUE(db->exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(4,'Ana','Ruiz','S','')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(2,'Luis','Sol','S','')"));
    // Inserted out of order: the load orders by cardholder number.
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000004','N','2024-01-02 03:04:05','2030-01-01 00:00:00',4,'S')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000002','N','2024-01-01 00:00:00','2030-01-01 00:00:00',2,'N')"));
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000000','N','2024-01-01 00:00:00','2030-01-01 00:00:00',-1,'N')"));
    // A cardholder number that no cardholder has.
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000009','N','2024-01-01 00:00:00','2030-01-01 00:00:00',9,'N')"));
    Open();

    EXPECT_EQ(Codes(*tarjetas), (QStringList{"0000000000", "0000000002", "0000000004", "0000000009"}));
    EXPECT_EQ(tarjetas->Busca("0000000000")->Usuario(), nullptr);
    EXPECT_EQ(tarjetas->Busca("0000000009")->Usuario(), nullptr);
    const auto t = tarjetas->Busca("0000000004");
    ASSERT_NE(t->Usuario(), nullptr);
    EXPECT_EQ(t->Usuario(), sistema->Usuarios()->Busca(4));
    EXPECT_EQ(t->Usuario()->Nombre_Completo(), "Ruiz, Ana");
    EXPECT_TRUE(t->Usar_Fecha_Cad());
    EXPECT_FALSE(tarjetas->Busca("0000000002")->Usar_Fecha_Cad());
    EXPECT_EQ(t->Fecha_Alta(), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(t->Fecha_Caducidad(), QDateTime(QDate(2030, 1, 1), QTime(0, 0)));
    EXPECT_TRUE(t->Controladores().empty());
}

TEST_F(TarjetaTest, LookUpsCompareCodesAsTextsExactly)
{
    Open();
    tarjetas->Inserta(Make("0012345678"));
    tarjetas->Inserta(Make("12345"));
    EXPECT_EQ(tarjetas->Busca("012345678"), nullptr);
    EXPECT_EQ(tarjetas->Busca("12345678"), nullptr);
    EXPECT_EQ(tarjetas->Busca("0000012345"), nullptr);
    ASSERT_NE(tarjetas->Busca("0012345678"), nullptr);
    ASSERT_NE(tarjetas->Busca("12345"), nullptr);
    EXPECT_TRUE(tarjetas->Existe("0012345678"));
    EXPECT_FALSE(tarjetas->Existe("012345678"));

    // Existe asks the database: a row written behind the collection's back is
    // found there before the list knows of it.
    ASSERT_TRUE(db->exec("INSERT INTO zarvtarjeta VALUES('0000000777','N',NULL,NULL,-1,'N')"));
    EXPECT_TRUE(tarjetas->Existe("0000000777"));
    EXPECT_EQ(tarjetas->Busca("0000000777"), nullptr);
    tarjetas->Refrescar();
    EXPECT_NE(tarjetas->Busca("0000000777"), nullptr);
}

TEST_F(TarjetaTest, InsertStoresTheRowAndReloadsSoTheCallerLooksItsCopyUp)
{
    Open();
    const int id = NewHolder("Ana", "Ruiz");
    const ZARVTarjeta mine = Make("0000000042", sistema->Usuarios()->Busca(id));
    tarjetas->Inserta(mine);
    tarjetas->Inserta(Make("0000000043", nullptr, false));
    EXPECT_EQ(CardRows(), (QStringList{QStringLiteral("0000000042|N|2024-03-01T09:30:15.000|2025-12-31T23:59:00.000|%1|S").arg(id),
                                       "0000000043|N|2024-03-01T09:30:15.000|2025-12-31T23:59:00.000|-1|N"}));
    ASSERT_EQ(tarjetas->Cuenta(), 2);
    const auto loaded = tarjetas->Busca("0000000042");
    ASSERT_NE(loaded, nullptr);
    EXPECT_NE(loaded.get(), &mine);
    EXPECT_EQ(loaded->Usuario()->Id(), id);
}

TEST_F(TarjetaTest, InsertSwallowsARefusedCodeAndLeavesTheDatabaseAsItWas)
{
    Open();
    tarjetas->Inserta(Make("0000000042"));
    ZARVTarjeta again = Make("0000000042", nullptr, false);
    again.Set_Fecha_Alta(QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    EXPECT_NO_THROW(tarjetas->Inserta(again));
    EXPECT_EQ(CardRows(), QStringList{"0000000042|N|2024-03-01T09:30:15.000|2025-12-31T23:59:00.000|-1|S"});
    // A code too long for the column is refused just as silently.
    EXPECT_NO_THROW(tarjetas->Inserta(Make("12345678901")));
    EXPECT_EQ(tarjetas->Cuenta(), 1);

    // Inserta_Con_Usuario reports the same refusal.
    EXPECT_THROW(tarjetas->Inserta_Con_Usuario(Make("0000000042"), 3), ErrorBD);
    tarjetas->Inserta_Con_Usuario(Make("0000000044"), 3);
    EXPECT_EQ(db->scalar("select usuario from zarvtarjeta where codigo_tarjeta='0000000044'").toInt(), 3);
    EXPECT_EQ(tarjetas->Cuenta(), 2);
}

TEST_F(TarjetaTest, ModifyRewritesCardholderDatesAndFlagAndAlwaysSaysTrue)
{
    Open();
    const int id = NewHolder("Ana", "Ruiz");
    tarjetas->Inserta(Make("0000000042", sistema->Usuarios()->Busca(id)));
    ZARVTarjeta changed = *tarjetas->Busca("0000000042");
    changed.Set_Usuario(nullptr);
    changed.Set_Usar_Fecha_Cad(false);
    changed.Set_Fecha_Alta(QDateTime(QDate(2024, 6, 1), QTime(8, 0)));
    changed.Set_Fecha_Caducidad(QDateTime(QDate(2024, 7, 1), QTime(8, 0)));
    EXPECT_TRUE(tarjetas->Modifica(changed));
    EXPECT_EQ(CardRows(), QStringList{"0000000042|N|2024-06-01T08:00:00.000|2024-07-01T08:00:00.000|-1|N"});
    EXPECT_EQ(tarjetas->Busca("0000000042")->Usuario(), nullptr);
    // A card that is not stored: nothing changes, still true.
    EXPECT_TRUE(tarjetas->Modifica(Make("0000000099")));
    EXPECT_EQ(CardRows().size(), 1);
}

TEST_F(TarjetaTest, DeleteDoesNotReload)
{
    Open();
    tarjetas->Inserta(Make("0000000001"));
    tarjetas->Inserta(Make("0000000002"));
    tarjetas->Elimina(*tarjetas->Busca("0000000001"));
    EXPECT_EQ(CardRows().size(), 1);
    EXPECT_EQ(tarjetas->Cuenta(), 2);
    tarjetas->Elimina_Todas();
    EXPECT_TRUE(CardRows().isEmpty());
    EXPECT_EQ(tarjetas->Cuenta(), 2);
    tarjetas->Refrescar();
    EXPECT_EQ(tarjetas->Cuenta(), 0);
}

// Codes come from entry windows and from imported workbooks: a quote in one
// must neither break a statement that carries the code in its text nor reach
// another card.
TEST_F(TarjetaTest, ACodeWithAQuoteIsStoredChangedAndDeletedAsItIs)
{
    Open();
    const QString odd = QStringLiteral("12'4 OR 1");
    tarjetas->Inserta(Make(odd));
    tarjetas->Inserta(Make("0000000001"));
    ASSERT_TRUE(tarjetas->Existe(odd));
    tarjetas->Asigna(*tarjetas->Busca(odd), 1, false);
    EXPECT_TRUE(tarjetas->Esta_Asignada(odd));
    EXPECT_FALSE(tarjetas->Esta_Asignada("0000000001"));

    ZARVTarjeta changed = *tarjetas->Busca(odd);
    changed.Set_Usar_Fecha_Cad(false);
    EXPECT_TRUE(tarjetas->Modifica(changed));
    EXPECT_FALSE(tarjetas->Busca(odd)->Usar_Fecha_Cad());
    EXPECT_TRUE(tarjetas->Busca("0000000001")->Usar_Fecha_Cad());

    tarjetas->Elimina(changed);
    EXPECT_EQ(CardRows(), QStringList{"0000000001|N|2024-03-01T09:30:15.000|2025-12-31T23:59:00.000|-1|S"});
}

TEST_F(TarjetaTest, ACardWithoutDatesStoresNulls)
{
    Open();
    ZARVTarjeta t;
    t.Set_Codigo_Tarjeta("0000000005");
    tarjetas->Inserta(t);
    EXPECT_EQ(db->rows("select fecha_alta is null, fecha_caducidad is null from zarvtarjeta"), QStringList{"true|true"});
    const auto loaded = tarjetas->Busca("0000000005");
    ASSERT_NE(loaded, nullptr);
    EXPECT_FALSE(loaded->Fecha_Alta().isValid());
}

TEST_F(TarjetaTest, AFailedReloadKeepsTheListAndReports)
{
    Open();
    tarjetas->Inserta(Make("0000000001"));
    // A column the load reads goes away (a file from another version).
    ASSERT_TRUE(db->exec("ALTER TABLE zarvcontroladortarjeta DROP \"_STOREDINHW\"")) << db->lastError().toStdString();
    EXPECT_THROW(tarjetas->Refrescar(), ErrorBD);
    EXPECT_EQ(tarjetas->Cuenta(), 1);
    EXPECT_NE(tarjetas->Busca("0000000001"), nullptr);
    // Inserta swallows the failing reload too; the row is in all the same.
    EXPECT_NO_THROW(tarjetas->Inserta(Make("0000000002")));
    EXPECT_TRUE(tarjetas->Existe("0000000002"));
}
