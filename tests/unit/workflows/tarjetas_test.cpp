// The cards page's workflows against keyvane-sim (readers 1 and 3 on COM1,
// reader 2 on COM2) and a real installation file.
#include "flujofixture.h"

#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_tarjetas.h"

using namespace kv::wf;

class TarjetasTest : public FlujoTest {
protected:
    QStringList Asignaciones()
    {
        return db->rows("select tarjeta, controlador from zarvcontroladortarjeta order by tarjeta, controlador");
    }
};

TEST_F(TarjetasTest, ACodeIsRegisteredOnceAsAFreeCardWithoutReaders)
{
    const QDateTime cad(QDate(2031, 2, 3), QTime(4, 5, 6));
    struct Caso {
        const char *texto;
        Registro resultado;
    };
    for (const Caso c : {Caso{"77", Registro::Hecho}, {"77", Registro::Ya_Existe}, {"0000000077", Registro::Ya_Existe},
                         {"", Registro::Vacio}, {"12a", Registro::No_Codigo}, {"12345678901", Registro::No_Codigo},
                         {"9912345678", Registro::Hecho}})
        EXPECT_EQ(Registra_Tarjeta(c.texto, false, cad), c.resultado) << c.texto;
    EXPECT_EQ(db->rows("select codigo_tarjeta, usuario, usar_fecha_cad from zarvtarjeta order by 1"),
              (QStringList{"0000000077|-1|N", "9912345678|-1|N"}));
    EXPECT_TRUE(Asignaciones().isEmpty());

    ASSERT_TRUE(Guarda_Caducidad("0000000077", true, cad));
    EXPECT_EQ(db->rows("select usar_fecha_cad, fecha_caducidad from zarvtarjeta where codigo_tarjeta='0000000077'"),
              QStringList{"S|" + cad.toString(Qt::ISODateWithMs)});
    EXPECT_FALSE(Guarda_Caducidad("0000000099", true, cad));
}

TEST_F(TarjetasTest, ACardAReaderKeepsIsDeletedOnlyWhenTheOperatorAgrees)
{
    Tarjeta("0000000011", {1, 2});
    ASSERT_TRUE(com1->ok("load 1 0000000011"));
    ASSERT_TRUE(com2->ok("load 2 0000000011"));
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    int preguntas = 0;
    EXPECT_FALSE(Borra_Tarjeta("11", [&] {
        ++preguntas;
        return false;
    }));
    EXPECT_EQ(preguntas, 1);
    // Exactly what the readers hold: gone from 1, still in 2.
    EXPECT_EQ(Asignaciones(), QStringList{"0000000011|2"});
    EXPECT_TRUE(com1->command("dump 1").isEmpty());
    ASSERT_TRUE(com2->ok("fault 2 none"));
    EXPECT_EQ(com2->command("dump 2"), QStringList{"0000000011"});
    ASSERT_TRUE(com2->ok("fault 2 silence"));

    Globales::Sistema->Tarjetas()->Refrescar();
    EXPECT_TRUE(Borra_Tarjeta("0000000011", [] { return true; }));
    EXPECT_TRUE(Asignaciones().isEmpty());
    EXPECT_EQ(db->scalar("select count(*) from zarvtarjeta").toInt(), 0);
}

TEST_F(TarjetasTest, DeletingSeveralSkipsACardGoneMeanwhileAndStopsOnCancel)
{
    for (const char *c : {"0000000001", "0000000002", "0000000003", "0000000004"})
        Tarjeta(c, {1});
    ASSERT_TRUE(com1->ok("load 1 0000000001 0000000002 0000000003 0000000004"));
    // Another window deleted card 2 after the list was drawn.
    ASSERT_TRUE(db->exec("delete from zarvcontroladortarjeta where tarjeta='0000000002'"));
    ASSERT_TRUE(db->exec("delete from zarvtarjeta where codigo_tarjeta='0000000002'"));
    Progreso_Cancelable p;
    p.cancelar_tras = 3;
    const int n = Elimina_Tarjetas({"0000000001", "0000000002", "0000000003", "0000000004"}, {"a", "b", "c", "d"}, p,
                                   operador, [] { return true; });
    EXPECT_EQ(n, 2);
    EXPECT_EQ(operador.mensajes.size(), 1);
    EXPECT_TRUE(operador.mensajes.value(0).endsWith("0000000002"));
    EXPECT_EQ(db->rows("select codigo_tarjeta from zarvtarjeta"), QStringList{"0000000004"});
    // Card 2 went from the database alone, as that other window left it.
    EXPECT_EQ(com1->command("dump 1"), (QStringList{"0000000002", "0000000004"}));
    EXPECT_EQ(p.cerrado, 1);
    EXPECT_FALSE(Coordinacion::Ocupado());
}
