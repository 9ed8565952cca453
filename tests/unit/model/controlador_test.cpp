// Controllers: the statements on zarvcontrolador and the per-controller
// assignment statements, read back with SQL, and the look-ups the event
// attribution relies on.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/zarvcoleccioncontrolador.h"

using kv::test::FbConnection;

namespace {

ZARVControlador Make(int cod, int puerto, int direccion, const QString &descripcion = QStringLiteral("Door"))
{
    ZARVControlador c;
    c.Set_Cod(cod);
    c.Set_Puerto_Serie(puerto);
    c.Set_Direccion(static_cast<std::uint8_t>(direccion));
    c.Set_Descripcion(descripcion);
    c.Set_Tipo(QStringLiteral("ENTRADA")); // ignored by the insert
    return c;
}

} // namespace

class ControladorTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        sistema = Abre();
        ctl = sistema->Controladores();
        db = std::make_unique<FbConnection>(inst.installationFile(1));
        ASSERT_TRUE(db->isOpen());
    }
    void TearDown() override { db.reset(); }

    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionControlador *ctl = nullptr;
    std::unique_ptr<FbConnection> db;
};

TEST_F(ControladorTest, InsertStoresTheRowWithTypeNullAndLoadsAFreshCopy)
{
    const ZARVControlador mine = Make(5, 3, 4);
    ctl->Inserta(mine);
    EXPECT_EQ(db->rows("select cod,puerto_serie,tiempo_pta_abierta,tipo,descripcion,direccion from zarvcontrolador"),
              QStringList{"5|3|0|Null|Door|4"});
    ASSERT_EQ(ctl->Cuenta(), 1);
    const auto loaded = ctl->Elemento(0);
    EXPECT_NE(loaded.get(), &mine);
    EXPECT_EQ(loaded->Cod(), 5);
    EXPECT_EQ(loaded->Puerto_Serie(), 3);
    EXPECT_EQ(loaded->Direccion(), 4);
    EXPECT_EQ(loaded->Tipo(), "Null");
    EXPECT_EQ(loaded->Tiempo_Pta_Abierta(), 0);
    EXPECT_EQ(loaded->Coleccion(), ctl);
    // A duplicate number is the database's to refuse; the error reaches the caller.
    EXPECT_THROW(ctl->Inserta(Make(5, 4, 1)), ErrorBD);
    EXPECT_EQ(ctl->Cuenta(), 1);
}

TEST_F(ControladorTest, LoadsInNumberOrderWithNullTextsAsEmpty)
{
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontrolador(cod,puerto_serie,tiempo_pta_abierta,tipo,descripcion,direccion) "
                         "VALUES(9,2,7,NULL,NULL,31)"));
    ctl->Inserta(Make(3, 1, 0));
    ASSERT_EQ(ctl->Cuenta(), 2);
    const auto first = ctl->Elemento(0), second = ctl->Elemento(1);
    EXPECT_EQ(first->Cod(), 3);
    EXPECT_EQ(second->Cod(), 9);
    EXPECT_EQ(second->Tiempo_Pta_Abierta(), 7);
    EXPECT_EQ(second->Tipo(), "");
    EXPECT_EQ(second->Descripcion(), "");
    EXPECT_EQ(second->Direccion(), 31);
}

struct BusCase {
    int direccion;
    int bus;
};

class DireccionBus : public ::testing::TestWithParam<BusCase> {};

TEST_P(DireccionBus, AddressZeroIsSentAs170)
{
    ZARVControlador c;
    c.Set_Direccion(static_cast<std::uint8_t>(GetParam().direccion));
    EXPECT_EQ(c.Direccion_Bus(), GetParam().bus);
}

INSTANTIATE_TEST_SUITE_P(Addresses, DireccionBus,
                         ::testing::Values(BusCase{0, 170}, BusCase{1, 1}, BusCase{5, 5}, BusCase{31, 31}));

TEST_F(ControladorTest, PortLookUpGivesTheLowestNumberOnThePort)
{
    ctl->Inserta(Make(7, 3, 1));
    ctl->Inserta(Make(2, 3, 2));
    ctl->Inserta(Make(1, 4, 1));
    ASSERT_NE(ctl->Busca_Por_Puerto(3), nullptr);
    EXPECT_EQ(ctl->Busca_Por_Puerto(3)->Cod(), 2);
    EXPECT_EQ(ctl->Busca_Por_Puerto(4)->Cod(), 1);
    EXPECT_EQ(ctl->Busca_Por_Puerto(5), nullptr);
    // Whatever order the list is held in.
    ctl->Set_Orden("cod desc");
    ctl->Refrescar();
    EXPECT_EQ(ctl->Elemento(0)->Cod(), 7);
    EXPECT_EQ(ctl->Busca_Por_Puerto(3)->Cod(), 2);

    EXPECT_EQ(ctl->Busca(7)->Puerto_Serie(), 3);
    EXPECT_EQ(ctl->Busca(8), nullptr);
}

TEST_F(ControladorTest, NumberAndAddressInUseAskTheDatabase)
{
    ctl->Inserta(Make(5, 3, 4));
    EXPECT_TRUE(ctl->Existe_Numero("5"));
    EXPECT_FALSE(ctl->Existe_Numero("6"));
    EXPECT_TRUE(ctl->Existe_Direccion(4, 3));
    EXPECT_FALSE(ctl->Existe_Direccion(4, 2));
    EXPECT_FALSE(ctl->Existe_Direccion(5, 3));
    // Rows the list has not loaded count too.
    ASSERT_TRUE(db->exec("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(8,2,'',NULL,4)"));
    EXPECT_TRUE(ctl->Existe_Numero("8"));
    EXPECT_TRUE(ctl->Existe_Direccion(4, 2));
    // The number travels as a bound value: text around it cannot widen the question.
    EXPECT_FALSE(ctl->Existe_Numero("9 or 1=1"));
}

TEST_F(ControladorTest, ModifyChangesOnlyTypeAndDescription)
{
    ctl->Inserta(Make(5, 3, 4));
    auto c = Make(5, 9, 9, "Exit door");
    c.Set_Tipo("SALIDA");
    ctl->Modifica(c);
    EXPECT_EQ(db->rows("select cod,puerto_serie,tipo,descripcion,direccion from zarvcontrolador"),
              QStringList{"5|3|SALIDA|Exit door|4"});
    EXPECT_EQ(ctl->Busca(5)->Tipo(), "SALIDA");
}

TEST_F(ControladorTest, DeleteLeavesTheAssignmentsAndTheAssignmentStatementsTouchOneController)
{
    ctl->Inserta(Make(1, 3, 1));
    ctl->Inserta(Make(2, 3, 2));
    for (const char *row : {"'0000000001',1,'S'", "'0000000002',1,'S'", "'0000000001',2,'S'", "'0000000003',2,'N'"})
        ASSERT_TRUE(db->exec(QStringLiteral("INSERT INTO zarvcontroladortarjeta values(%1)").arg(row)));
    const QString all = "select tarjeta,controlador,trim(\"_STOREDINHW\") from zarvcontroladortarjeta order by controlador,tarjeta";

    ctl->Marca_Tarjetas(*ctl->Busca(1), false);
    EXPECT_EQ(db->rows(all), (QStringList{"0000000001|1|N", "0000000002|1|N", "0000000001|2|S", "0000000003|2|N"}));
    ctl->Marca_Tarjetas(*ctl->Busca(2), true);
    EXPECT_EQ(db->rows(all), (QStringList{"0000000001|1|N", "0000000002|1|N", "0000000001|2|S", "0000000003|2|S"}));

    ctl->Quita_Tarjeta(*ctl->Busca(1), "0000000001");
    EXPECT_EQ(db->rows(all), (QStringList{"0000000002|1|N", "0000000001|2|S", "0000000003|2|S"}));
    ctl->Quita_Tarjeta(*ctl->Busca(1), "x'OR'1'='1");
    EXPECT_EQ(db->rows(all).size(), 3);

    ctl->Elimina(*ctl->Busca(2));
    EXPECT_EQ(db->rows("select cod from zarvcontrolador"), QStringList{"1"});
    EXPECT_EQ(ctl->Cuenta(), 1);
    EXPECT_EQ(db->rows(all), (QStringList{"0000000002|1|N", "0000000001|2|S", "0000000003|2|S"}));

    ctl->Quita_Tarjetas(*ctl->Busca(1));
    EXPECT_EQ(db->rows(all), (QStringList{"0000000001|2|S", "0000000003|2|S"}));
}

TEST_F(ControladorTest, HeldControllersOutliveReloads)
{
    ctl->Inserta(Make(1, 3, 1, "Front"));
    const auto held = ctl->Elemento(0);
    ctl->Modifica(Make(1, 3, 1, "Back"));
    EXPECT_EQ(held->Descripcion(), "Front");
    EXPECT_EQ(ctl->Elemento(0)->Descripcion(), "Back");
    sistema.reset();
    EXPECT_EQ(held->Descripcion(), "Front");
    EXPECT_EQ(held->Coleccion(), nullptr);
}

class ControladorQuotedText : public ControladorTest, public ::testing::WithParamInterface<QString> {};

TEST_P(ControladorQuotedText, DescriptionAndTypeAreStoredExactly)
{
    const QString t = GetParam();
    ctl->Inserta(Make(4, 2, 1, t));
    EXPECT_EQ(db->scalar("select descripcion from zarvcontrolador where cod=4").toString(), t);
    EXPECT_EQ(ctl->Busca(4)->Descripcion(), t);
    auto c = Make(4, 2, 1, t + t);
    c.Set_Tipo(t.left(20));
    ctl->Modifica(c);
    EXPECT_EQ(db->rows("select tipo,descripcion from zarvcontrolador"), QStringList{t.left(20) + "|" + t + t});
}

INSTANTIATE_TEST_SUITE_P(Texts, ControladorQuotedText,
                         ::testing::Values(QStringLiteral("O'Brien's door"), QStringLiteral("'"),
                                           QStringLiteral("x',1); DELETE FROM zarvcontrolador; --"),
                                           QStringLiteral(":tipo :cod"), QString::fromUtf8("Puerta Ñ")));
