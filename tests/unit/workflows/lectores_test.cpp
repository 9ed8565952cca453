// The readers page's workflows against keyvane-sim and a real installation
// file: what each one tells the operator, what it sends to which controller,
// and what the database keeps afterwards.
#include "flujofixture.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "workflows/flujo_lectores.h"

#include <QRegularExpression>

using namespace kv::wf;

TEST_F(FlujoTest, ATestReportsWhatTheControllerAndTheDatabaseHold)
{
    Tarjeta(QStringLiteral("0000000011"), {3});
    ASSERT_TRUE(com1->ok("set 3 version 21"));
    ASSERT_TRUE(com1->ok("set 3 lock 12"));
    ASSERT_TRUE(com1->ok("fault 1 silence"));
    QList<Resultado_Test> vistos;
    QList<int> posiciones;
    Test_Controladores({3, 1}, [&](int posicion, const Resultado_Test &r) {
        posiciones << posicion;
        vistos << r;
    });
    ASSERT_EQ(vistos.size(), 2);
    EXPECT_EQ(posiciones, (QList<int>{0, 1}));
    const Resultado_Test &tres = vistos[0];
    EXPECT_TRUE(tres.responde);
    EXPECT_EQ(tres.codigo, 3);
    EXPECT_EQ(tres.version, "2.1");
    EXPECT_EQ(tres.cerradura, "12");
    EXPECT_EQ(tres.tarjetas, "0");
    EXPECT_EQ(tres.tarjetas_bd, "1");
    EXPECT_FALSE(tres.Coinciden());
    EXPECT_FALSE(vistos[1].responde);
    EXPECT_EQ(vistos[1].codigo, 1);
}

struct Alta_Caso {
    const char *name;
    Datos_Controlador datos;
    Alta resultado;
    const char *mensaje; // empty: none
};

class AltaTest : public FlujoTest, public ::testing::WithParamInterface<Alta_Caso> {};

TEST_P(AltaTest, EachInputFaultHasItsMessageAndStoresNothing)
{
    const Alta_Caso &c = GetParam();
    const int antes = Globales::Sistema->Controladores()->Cuenta();
    EXPECT_EQ(Alta_Controlador(c.datos, operador), c.resultado);
    EXPECT_EQ(operador.mensajes, *c.mensaje ? QStringList{QString::fromUtf8(c.mensaje)} : QStringList{});
    EXPECT_EQ(Globales::Sistema->Controladores()->Cuenta(), antes + (c.resultado == Alta::Hecha ? 1 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    NewController, AltaTest,
    ::testing::Values(Alta_Caso{"Stored", {"7", "Gate", "2", "31"}, Alta::Hecha, ""},
                      Alta_Caso{"BlankField", {"7", "  ", "2", "5"}, Alta::Campos_Vacios, "Todos los campos son obligados"},
                      Alta_Caso{"AddressNotANumber", {"7", "Gate", "2", "x"}, Alta::Direccion_No_Numero,
                                "La Direccion debe ser de 0 a 31"},
                      Alta_Caso{"Address32", {"7", "Gate", "2", "32"}, Alta::Direccion_Fuera,
                                "La Direccion debe de ser entre 0 a 31"},
                      Alta_Caso{"NumberInUse", {"3", "Gate", "2", "9"}, Alta::Numero_Repetido, "Código debe de ser único"},
                      Alta_Caso{"AddressInUseOnThePort", {"7", "Gate", "1", "3"}, Alta::Direccion_Repetida,
                                "Direccion controlador ya existente parar este puerto COM"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FlujoTest, EditingSendsTheTimesOnlyWhenTheyWereReadAndAlwaysStoresTheDescription)
{
    // Read from the controller at its own address (3, not 170).
    ASSERT_TRUE(com1->ok("set 3 lock 7"));
    ASSERT_TRUE(com1->ok("set 3 open 20"));
    const auto tiempos = Lee_Tiempos(3);
    ASSERT_TRUE(tiempos.has_value());
    EXPECT_EQ(tiempos->cerradura, "7");
    EXPECT_EQ(tiempos->abierta, "20");

    // A lock time of 0 in a field that was read is refused; nothing stored.
    EXPECT_FALSE(Guarda_Edicion({3, "Back door", "0", "20", true}, operador));
    EXPECT_EQ(operador.mensajes, QStringList{Variables::Mensaje("Variables_variables_F_edit_controller_2")});
    EXPECT_FALSE(Guarda_Edicion({3, "Back door", "5", "100", true}, operador));
    EXPECT_EQ(operador.mensajes.last(), Variables::Mensaje("Variables_variables_F_edit_controller_1"));
    EXPECT_EQ(db->scalar("select descripcion from zarvcontrolador where cod=3").toString(), "Door 3");

    // Open time 0 is accepted and sent.
    EXPECT_TRUE(Guarda_Edicion({3, "Back door", "9", "0", true}, operador));
    EXPECT_TRUE(com1->command("list").filter(QRegularExpression("^3 .*lock=9 open=0")).size() == 1)
        << com1->command("list").join('\n').toStdString();
    EXPECT_EQ(db->scalar("select descripcion from zarvcontrolador where cod=3").toString(), "Back door");

    // A silent controller: no times, the description alone is stored.
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    EXPECT_FALSE(Lee_Tiempos(2).has_value());
    EXPECT_TRUE(Guarda_Edicion({2, "Garage", "", "", false}, operador));
    EXPECT_EQ(db->scalar("select descripcion from zarvcontrolador where cod=2").toString(), "Garage");
}

TEST_F(FlujoTest, DeletingAsksFirstAndTakesTheAssignmentsAlong)
{
    Tarjeta(QStringLiteral("0000000011"), {1, 3});
    EXPECT_FALSE(Elimina_Controlador(3, operador)); // answered no
    EXPECT_EQ(operador.preguntas.size(), 1);
    EXPECT_TRUE(operador.preguntas.first().endsWith(" Door 3?"));
    EXPECT_EQ(db->scalar("select count(*) from zarvcontrolador").toInt(), 3);

    operador.respuestas = {true};
    EXPECT_TRUE(Elimina_Controlador(3, operador));
    EXPECT_EQ(db->scalar("select count(*) from zarvcontrolador where cod=3").toInt(), 0);
    EXPECT_EQ(db->rows("select controlador from zarvcontroladortarjeta"), QStringList{"1"});
    EXPECT_EQ(kv::wf::Controlador(3), nullptr);
}

TEST_F(FlujoTest, ErasingMarksTheAssignmentsPendingOnlyOnceTheControllerConfirmed)
{
    Tarjeta(QStringLiteral("0000000011"), {3});
    ASSERT_TRUE(com1->ok("load 3 0000000011"));
    ASSERT_TRUE(com1->ok("fault 3 refuse"));
    operador.respuestas = {true};
    EXPECT_FALSE(Vacia_Tarjetas(3, operador));
    EXPECT_EQ(db->rows("select \"_STOREDINHW\" from zarvcontroladortarjeta"), QStringList{"S"});

    ASSERT_TRUE(com1->ok("fault 3 none"));
    operador.respuestas = {true};
    EXPECT_TRUE(Vacia_Tarjetas(3, operador));
    EXPECT_TRUE(com1->command("dump 3").isEmpty());
    // The assignment stays, to be written again by the next send.
    EXPECT_EQ(db->rows("select \"_STOREDINHW\" from zarvcontroladortarjeta"), QStringList{"N"});
    // Controller 1 on the same line was not touched.
    EXPECT_EQ(com1->command("dump 1"), QStringList{});
}

TEST_F(FlujoTest, CloningCopiesOntoEachAnsweringTargetAndLeavesASilentOneAsItWas)
{
    Tarjeta(QStringLiteral("0000000011"), {1});
    Tarjeta(QStringLiteral("0000000022"), {1});
    Tarjeta(QStringLiteral("0000000099"), {2, 3});
    ASSERT_TRUE(com1->ok("load 1 0000000011 0000000022"));
    ASSERT_TRUE(com1->ok("load 3 0000000099"));
    ASSERT_TRUE(com2->ok("load 2 0000000099"));
    ASSERT_TRUE(com2->ok("fault 2 silence"));

    Clona(1, {3, 2}, progreso);

    EXPECT_EQ(com1->command("dump 3"), (QStringList{"0000000011", "0000000022"}));
    EXPECT_EQ(com2->command("dump 2"), QStringList{"0000000099"});
    EXPECT_EQ(db->rows("select controlador,tarjeta,\"_STOREDINHW\" from zarvcontroladortarjeta "
                       "where controlador<>1 order by controlador,tarjeta"),
              (QStringList{"2|0000000099|S", "3|0000000011|S", "3|0000000022|S"}));
    EXPECT_EQ(progreso.mostrado, 2);
    EXPECT_EQ(progreso.rangos, QList<int>{2});
    EXPECT_EQ(progreso.pasos, (QStringList{"3 Door 3 0000000011", "3 Door 3 0000000022"}));
    EXPECT_EQ(progreso.cerrado, 1);
}

TEST_F(FlujoTest, ACloneTargetThatRefusesACardKeepsItPending)
{
    Tarjeta(QStringLiteral("0000000011"), {1});
    Tarjeta(QStringLiteral("0000000022"), {1});
    ASSERT_TRUE(com1->ok("set 3 capacity 1"));
    Clona(1, {3}, progreso);
    EXPECT_EQ(com1->command("dump 3"), QStringList{"0000000011"});
    EXPECT_EQ(db->rows("select tarjeta,\"_STOREDINHW\" from zarvcontroladortarjeta where controlador=3 order by tarjeta"),
              (QStringList{"0000000011|S", "0000000022|N"}));
}
