// The users page's workflows against keyvane-sim (readers 1 and 3 on COM1,
// reader 2 on COM2) and a real installation file: what each leaves in the
// database and in the controllers' memories.
#include "flujofixture.h"

#include "model/globales.h"
#include "model/zarvcoleccionusuario.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_usuarios.h"

#include <QFile>

using namespace kv::wf;

namespace {

Datos_Usuario Usuario(const QString &nombre, const QStringList &tarjetas, std::vector<int> lectores)
{
    Datos_Usuario d;
    d.nombre = nombre;
    d.apellidos = QStringLiteral("Pérez");
    d.tarjetas = tarjetas;
    d.lectores = std::move(lectores);
    d.caducidad = QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5));
    return d;
}

} // namespace

class UsuariosTest : public FlujoTest {
protected:
    QStringList Asignaciones()
    {
        return db->rows("select tarjeta, controlador, \"_STOREDINHW\" from zarvcontroladortarjeta "
                        "order by tarjeta, controlador");
    }
    int Nuevo(const QString &nombre, const QStringList &tarjetas, std::vector<int> lectores)
    {
        return Guarda_Usuario_Nuevo(Usuario(nombre, tarjetas, std::move(lectores)), operador);
    }
};

TEST_F(UsuariosTest, ANewUserStoresHisCardWhereTheReaderAnswersAndLeavesItPendingWhereNot)
{
    ASSERT_TRUE(com2->ok("fault 2 silence"));
    const int id = Nuevo("Ana O'Hara", {"0000012345"}, {1, 2});
    ASSERT_GT(id, 0);
    EXPECT_EQ(db->rows(QStringLiteral("select nombre, apellidos, permanente from zarvusuario where id=%1").arg(id)),
              QStringList{"Ana O'Hara|Pérez|S"});
    EXPECT_EQ(db->rows("select codigo_tarjeta, usuario, usar_fecha_cad from zarvtarjeta"),
              QStringList{QStringLiteral("0000012345|%1|N").arg(id)});
    EXPECT_EQ(Asignaciones(), (QStringList{"0000012345|1|S", "0000012345|2|N"}));
    EXPECT_EQ(com1->command("dump 1"), QStringList{"0000012345"});
    EXPECT_TRUE(com1->command("dump 3").isEmpty()) << "reader 3 was not ticked";
    // The turn, the timer and the lines are as they were.
    EXPECT_FALSE(Coordinacion::Ocupado());
    EXPECT_EQ(Coordinacion::Retenciones(), 0);
    EXPECT_TRUE(Lineas_Libres());
}

TEST_F(UsuariosTest, EditingRemovesADroppedCardFromTheReadersAndSendsTheOthersToTheTickedOnes)
{
    const int id = Nuevo("Luis", {"0000000011", "0000000022"}, {1, 3});
    ASSERT_EQ(com1->command("dump 1"), (QStringList{"0000000011", "0000000022"}));
    Datos_Usuario d = Usuario("Luis", {"0000000022"}, {1});
    d.id = id;
    d.usar_caducidad = true;
    ASSERT_TRUE(Guarda_Usuario_Editado(d, operador));
    EXPECT_EQ(com1->command("dump 1"), QStringList{"0000000022"});
    EXPECT_TRUE(com1->command("dump 3").isEmpty());
    EXPECT_EQ(Asignaciones(), QStringList{"0000000022|1|S"});
    // The dropped card stays as a free card.
    EXPECT_EQ(db->rows("select codigo_tarjeta, usuario, usar_fecha_cad from zarvtarjeta order by 1"),
              (QStringList{"0000000011|-1|N", QStringLiteral("0000000022|%1|S").arg(id)}));
}

TEST_F(UsuariosTest, AReaderThatKeepsADeletedUsersCardIsAskedAboutOnceForTheWholeRun)
{
    const int a = Nuevo("A", {"0000000001"}, {1});
    const int b = Nuevo("B", {"0000000002"}, {3});
    const int c = Nuevo("C", {"0000000003"}, {3});
    const int d = Nuevo("D", {}, {});
    ASSERT_TRUE(com1->ok("fault 3 refuse"));
    int preguntas = 0;
    const int borrados = Elimina_Usuarios({a, b, c, d}, progreso, [&] {
        ++preguntas;
        return true;
    });
    EXPECT_EQ(preguntas, 1);
    EXPECT_EQ(borrados, 4);
    EXPECT_EQ(db->scalar("select count(*) from zarvusuario").toInt(), 0);
    // Every card is free; the ones reader 3 kept lost their assignments.
    EXPECT_EQ(db->rows("select codigo_tarjeta, usuario from zarvtarjeta order by 1"),
              (QStringList{"0000000001|-1", "0000000002|-1", "0000000003|-1"}));
    EXPECT_TRUE(Asignaciones().isEmpty());
    EXPECT_TRUE(com1->command("dump 1").isEmpty());
    EXPECT_EQ(progreso.pasos, (QStringList{"Pérez, A", "Pérez, B", "Pérez, C", "Pérez, D"}));
    EXPECT_EQ(progreso.cerrado, 1);
}

TEST_F(UsuariosTest, RefusingToLoseAHeldCardKeepsThatUserAndHisCard)
{
    const int a = Nuevo("A", {"0000000001"}, {3});
    const int b = Nuevo("B", {"0000000002"}, {1});
    ASSERT_TRUE(com1->ok("fault 3 refuse"));
    EXPECT_EQ(Elimina_Usuarios({a, b}, progreso, [] { return false; }), 1);
    EXPECT_EQ(db->rows("select id from zarvusuario"), QStringList{QString::number(a)});
    EXPECT_EQ(Asignaciones(), QStringList{"0000000001|3|S"});
    EXPECT_EQ(com1->command("dump 3"), QStringList{"0000000001"});
}

TEST_F(UsuariosTest, CancelStopsBeforeTheNextUserAndLeavesTheRestUntouched)
{
    std::vector<int> ids;
    for (const char *n : {"A", "B", "C", "D", "E"})
        ids.push_back(Nuevo(n, {}, {}));
    Progreso_Cancelable p;
    p.cancelar_tras = 3;
    EXPECT_EQ(Elimina_Usuarios(ids, p, [] { return true; }), 2);
    EXPECT_EQ(db->rows("select nombre from zarvusuario order by id"), (QStringList{"C", "D", "E"}));
    EXPECT_EQ(p.cerrado, 1);
}

TEST_F(UsuariosTest, WhatTheWindowHoldsIsCheckedBeforeAnythingIsWritten)
{
    const int duena = Nuevo("Eva", {"0000000077"}, {});
    struct Caso {
        const char *nombre;
        QString name;
        QStringList tarjetas;
        bool cede; // the operator's answer when asked to give a card away
        bool guarda;
    };
    const Caso casos[] = {
        {"plain", "Ana", {"0000000001"}, false, true},
        {"quotes and star", "O'Brien \"*\"", {}, false, true},
        {"100 characters", QString(100, 'x'), {}, false, true},
        {"101 characters", QString(101, 'x'), {}, false, false},
        {"line break", "Ana\nMaría", {}, false, false},
        {"letters in a code", "Ana", {"00000A0001"}, false, false},
        {"eleven digits", "Ana", {"12345678901"}, false, false},
        {"unpadded code", "Ana", {"12345"}, false, false},
        {"another user's card kept", "Ana", {"0000000077"}, false, false},
        {"another user's card given", "Ana", {"0000000077"}, true, true},
    };
    for (const Caso &c : casos) {
        const int antes = db->scalar("select count(*) from zarvusuario").toInt();
        operador.respuestas = {c.cede};
        Datos_Usuario d = Usuario(c.name, c.tarjetas, {});
        const int id = Guarda_Usuario_Nuevo(d, operador);
        EXPECT_EQ(id > 0, c.guarda) << c.nombre;
        EXPECT_EQ(db->scalar("select count(*) from zarvusuario").toInt(), antes + (c.guarda ? 1 : 0)) << c.nombre;
        if (c.guarda)
            EXPECT_EQ(db->scalar(QStringLiteral("select nombre from zarvusuario where id=%1").arg(id)).toString(), c.name)
                << c.nombre;
    }
    // The card given away now belongs to the last Ana.
    EXPECT_NE(db->scalar("select usuario from zarvtarjeta where codigo_tarjeta='0000000077'").toInt(), duena);
}

TEST(CodigoTarjeta, OnlyTenDigitsAtMostMakeACode)
{
    EXPECT_EQ(Codigo_Tarjeta("12345"), std::optional<QString>("0000012345"));
    EXPECT_EQ(Codigo_Tarjeta("0012345678"), std::optional<QString>("0012345678"));
    EXPECT_EQ(Codigo_Tarjeta("9912345678"), std::optional<QString>("9912345678"));
    for (const char *mal : {"", "12345678901", "12A45", " 12", "-1", "1e5", "１２"})
        EXPECT_FALSE(Codigo_Tarjeta(QString::fromUtf8(mal))) << mal;
}

TEST_F(UsuariosTest, APortThatCannotBeOpenedEndsTheSaveAndTheCleanUpStillRuns)
{
    com2->stop();
    QFile::remove(inst.portsDir() + "/COM2");
    try {
        Nuevo("Ana", {"0000000001"}, {1, 2});
        ADD_FAILURE() << "the save went on without COM2";
    } catch (const std::exception &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains("COM2")) << e.what();
    }
    EXPECT_FALSE(Coordinacion::Ocupado());
    EXPECT_EQ(Coordinacion::Retenciones(), 0);
    // What went before the failure is kept: the user, his card, reader 1's copy.
    EXPECT_EQ(Asignaciones(), QStringList{"0000000001|1|S"});
    EXPECT_EQ(com1->command("dump 1"), QStringList{"0000000001"});
}
