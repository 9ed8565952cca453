// Events as the incidence log receives them: the controller each is
// attributed to (by sender address, else by port), the row written for each
// kind (the whole card code, described and numbered by the card it names,
// quotes in names kept), the notice to the main window, and events that
// cannot be stored.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"

using kv::test::FbConnection;

namespace {

TEventoInformacion Evento(int tipo, const QString &tarjeta, const QString &puerto = QStringLiteral("3"), int direccion = -1)
{
    TEventoInformacion info;
    info.Tipo = tipo;
    info.Tarjeta = tarjeta;
    info.Puerto = puerto;
    info.Direccion = direccion;
    if (tipo == 1 || tipo == 2)
        info.Parametro_1 = tipo == 1 ? QStringLiteral("01") : QStringLiteral("02");
    return info;
}

} // namespace

class EventoTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        db = std::make_unique<FbConnection>(inst.installationFile(1));
        ASSERT_TRUE(db->isOpen());
        const char *fill[] = {
            // Two controllers on port 3, neither first in number order by
            // insertion; the lower number takes the events of unknown senders.
            "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(5,3,'Back door','Null',1)",
            "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(2,3,'Door ''North''','Null',2)",
            "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(7,4,'Garage','Null',0)",
            "INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(5,'Ann','O''Brien','S','')",
            "INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(6,'Ana','Ruiz','S','')",
            "INSERT INTO zarvtarjeta VALUES('0001234567','N',NULL,NULL,5,'N')",
            "INSERT INTO zarvtarjeta VALUES('0007654321','N',NULL,NULL,-1,'N')",
            "INSERT INTO zarvtarjeta VALUES('0012345678','N',NULL,NULL,6,'N')",
            "INSERT INTO zarvtarjeta VALUES('0099999999','N',NULL,NULL,-1,'N')",
        };
        for (const char *sql : fill)
            ASSERT_TRUE(db->exec(sql)) << sql << db->lastError().toStdString();
        sistema = Abre();
        sistema->Conecta_Controladores();
        inc = sistema->Incidencias();
        inc->OnNuevaIncidencia = [this](ZARVColeccionIncidencia *sender, const TEventoInformacion &info) {
            avisos.emplace_back(sender, info);
        };
        inc->OnEventoPerdido = [this](const TEventoInformacion &info, const QString &motivo) {
            perdidos.emplace_back(info, motivo);
        };
    }
    void TearDown() override
    {
        sistema.reset();
        db.reset();
    }
    QStringList Stored()
    {
        return db->rows("select controlador,hist_controlador,tarjeta,hist_tarjeta,descripcion,evento,usr "
                        "from zarvincidencia order by cod");
    }

    std::unique_ptr<FbConnection> db;
    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionIncidencia *inc = nullptr;
    std::vector<std::pair<ZARVColeccionIncidencia *, TEventoInformacion>> avisos;
    std::vector<std::pair<TEventoInformacion, QString>> perdidos;
};

struct Caso {
    const char *name;
    int tipo;
    const char *tarjeta;
    const char *puerto;
    int direccion; // sender's bus address; -1 not known
    QString fila;  // controlador|hist_controlador|tarjeta|hist_tarjeta|descripcion|evento|usr
};

class EventoKindTest : public EventoTest, public ::testing::WithParamInterface<Caso> {};

TEST_P(EventoKindTest, StoresOneRowAndTellsTheMainWindow)
{
    const Caso &c = GetParam();
    const TEventoInformacion info = Evento(c.tipo, QString::fromLatin1(c.tarjeta), QString::fromLatin1(c.puerto), c.direccion);
    inc->Recibe_Evento(nullptr, info);
    EXPECT_EQ(Stored(), QStringList{c.fila});
    EXPECT_EQ(db->rows("select cod, \"TIMESTAMP\" is not null from zarvincidencia"), QStringList{"1|true"});
    EXPECT_EQ(inc->Perdidas(), 0);
    EXPECT_TRUE(perdidos.empty());
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0].first, inc);
    EXPECT_EQ(avisos[0].second.Tipo, info.Tipo);
    EXPECT_EQ(avisos[0].second.Tarjeta, info.Tarjeta);
    EXPECT_EQ(avisos[0].second.Puerto, info.Puerto);
    EXPECT_EQ(avisos[0].second.Parametro_1, info.Parametro_1);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EventoKindTest,
    ::testing::Values(
        // The whole chain for a name with a quote: stored, not lost.
        Caso{"AcceptedKnownCardHolderWithQuote", 1, "0001234567", "3", 2,
             "2|Door 'North'|0001234567|O'Brien, Ann|0001234567 O'Brien, Ann|1|5"},
        // The sender's address picks its controller on the shared line.
        Caso{"AcceptedAtTheOtherControllerOfTheLine", 1, "0012345678", "3", 1,
             "5|Back door|0012345678|Ruiz, Ana|0012345678 Ruiz, Ana|1|6"},
        // Address 0 of the record is 170 on the line.
        Caso{"AcceptedUnknownCardAtAddressZero", 1, "0055555555", "4", 170, "7|Garage|0055555555|unknow|0055555555|1|-1"},
        // More card bytes than a code: the code is its first ten characters.
        Caso{"AcceptedLongerThanACode", 1, "00123456789ABC", "3", 2,
             "2|Door 'North'|0012345678|Ruiz, Ana|0012345678 Ruiz, Ana|1|6"},
        Caso{"AcceptedCardWithoutHolder", 1, "0099999999", "3", 2, "2|Door 'North'|0099999999|unknow|0099999999|1|-1"},
        // No controller of the port has the sender's address, or it is not
        // known: the port's lowest-numbered controller.
        Caso{"SenderNotInTheInstallation", 1, "0007654321", "3", 9, "2|Door 'North'|0007654321|unknow|0007654321|1|-1"},
        Caso{"SenderNotKnown", 1, "0007654321", "3", -1, "2|Door 'North'|0007654321|unknow|0007654321|1|-1"},
        // A refused card names its holder but carries no cardholder number.
        Caso{"RefusedKnownCard", 2, "0001234567", "3", 1, "5|Back door|0001234567|O'Brien, Ann|0001234567 O'Brien, Ann|2|0"},
        Caso{"RefusedCardOtherLine", 2, "0012345678", "4", 170, "7|Garage|0012345678|Ruiz, Ana|0012345678 Ruiz, Ana|2|0"},
        // Other kinds keep no card texts, even when the frame carried bytes.
        Caso{"Kind3WithCardBytes", 3, "0012345678", "3", 2, "2|Door 'North'||||3|0"},
        Caso{"Kind3", 3, "", "3", 1, "5|Back door||||3|0"}, Caso{"Kind4", 4, "", "4", 170, "7|Garage||||4|0"},
        Caso{"Kind5", 5, "", "3", 2, "2|Door 'North'||||5|0"}, Caso{"Kind6", 6, "", "4", -1, "7|Garage||||6|0"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(EventoTest, AnEventFromAPortNoControllerUsesIsCountedAndTold)
{
    inc->Recibe_Evento(nullptr, Evento(1, "0012345678", "9", 1));
    EXPECT_TRUE(Stored().isEmpty());
    EXPECT_TRUE(avisos.empty());
    EXPECT_EQ(inc->Perdidas(), 1);
    ASSERT_EQ(perdidos.size(), 1u);
    EXPECT_EQ(perdidos[0].first.Tarjeta, "0012345678");
    EXPECT_EQ(perdidos[0].second, "COM9: no controller of the installation uses this port");
}

TEST_F(EventoTest, StoredCardEventsLoadWithTheWholeCodeAndOldRowsStillLoad)
{
    // A row as earlier versions wrote it, with seven characters.
    ASSERT_TRUE(db->exec("INSERT INTO zarvincidencia(cod,controlador,hist_controlador,tarjeta,hist_tarjeta,\"TIMESTAMP\","
                         "descripcion,evento,usr) VALUES(gen_id(GEN_ZARVINCIDENCIA_ID, 1),2,'Door','0012345','unknow',"
                         "'2020-01-01 10:00:00','0012345',1,6)"));
    inc->Recibe_Evento(nullptr, Evento(1, "0012345678", "3", 1));
    inc->Refrescar();
    ASSERT_EQ(inc->Cuenta(), 2);
    const auto nueva = inc->Elemento(0);
    EXPECT_EQ(nueva->Tarjeta(), "0012345678");
    EXPECT_EQ(nueva->Descripcion(), "0012345678 Ruiz, Ana");
    EXPECT_EQ(nueva->Usr(), 6);
    EXPECT_EQ(nueva->Controlador(), 5);
    EXPECT_EQ(inc->Elemento(1)->Tarjeta(), "0012345");
    EXPECT_EQ(inc->Elemento(1)->Descripcion(), "0012345");
}

TEST_F(EventoTest, StoredEventsAreSeenByWalksOnlyAfterTheNextLoad)
{
    inc->Refrescar();
    inc->Recibe_Evento(nullptr, Evento(1, "0012345678"));
    inc->Recibe_Evento(nullptr, Evento(3, ""));
    EXPECT_EQ(inc->Cuenta(), 0);
    inc->Primero();
    EXPECT_TRUE(inc->Fin());
    inc->Refrescar();
    ASSERT_EQ(inc->Cuenta(), 2);
    // Same time stamp to the second or not, the newest by number is not
    // guaranteed first; both are there with their kinds.
    QList<int> kinds{inc->Elemento(0)->Evento(), inc->Elemento(1)->Evento()};
    std::sort(kinds.begin(), kinds.end());
    EXPECT_EQ(kinds, (QList<int>{1, 3}));
}

TEST_F(EventoTest, AnEventTheDatabaseRefusesIsCountedNotRaisedAndNotAnnounced)
{
    // The collection's own connection gone: every statement fails.
    inc->Cerrar();
    EXPECT_NO_THROW(inc->Recibe_Evento(nullptr, Evento(1, "0012345678")));
    EXPECT_EQ(inc->Perdidas(), 1);
    EXPECT_FALSE(inc->Ultimo_Error().isEmpty());
    EXPECT_TRUE(avisos.empty());
    ASSERT_EQ(perdidos.size(), 1u);
    EXPECT_EQ(perdidos[0].first.Tarjeta, "0012345678");
    EXPECT_EQ(perdidos[0].second, inc->Ultimo_Error());
    // Guarda itself reports.
    auto i = std::make_shared<ZARVIncidencia>();
    i->Set_Controlador(2);
    i->Set_Evento(3);
    EXPECT_THROW(inc->Guarda(i), ErrorBD);
    EXPECT_TRUE(Stored().isEmpty());
}

TEST_F(EventoTest, TheControllersRelayReachesTheLogWithTheControllerAsSender)
{
    // Conecta_Controladores routed every controller's output to the log.
    const auto c = sistema->Controladores()->Busca(5);
    ASSERT_TRUE(c->OnIncidencia);
    c->OnIncidencia(c.get(), Evento(5, "", "3", 1));
    // Attributed by the sender's address the event carries: controller 5.
    EXPECT_EQ(Stored(), QStringList{"5|Back door||||5|0"});
    EXPECT_EQ(avisos.size(), 1u);

    // Once the installation is closed, a controller kept elsewhere finds no receiver.
    sistema.reset();
    EXPECT_NO_THROW(c->OnIncidencia(c.get(), Evento(5, "", "3", 1)));
}
