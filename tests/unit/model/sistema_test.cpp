// The model root: its collections load in order, each on a connection of its
// own, and closing the installation releases every connection.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionusuario.h"

#include <QFile>
#include <QSqlQuery>

using kv::test::FbConnection;

namespace {

// Attachments to the database other than the one asking.
int OtherAttachments(FbConnection &c)
{
    return c.scalar("select count(*) from mon$attachments where mon$attachment_id <> current_connection "
                    "and mon$system_flag = 0")
        .toInt();
}

} // namespace

class SistemaTest : public ModelTest {};

TEST_F(SistemaTest, CreateOpensNothingAndTheCollectionsLoadWhatIsStored)
{
    FbConnection c(inst.installationFile(1));
    ASSERT_TRUE(c.exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(3,'Ana','Uno','S','')"));
    ASSERT_TRUE(c.exec("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(1,3,'d','Null',0)"));

    ZARVSistema s(nullptr, inst.installationFile(1), &server);
    EXPECT_EQ(s.Usuarios(), nullptr);
    EXPECT_EQ(s.Controladores(), nullptr);
    EXPECT_EQ(OtherAttachments(c), 0);
    EXPECT_EQ(s.Ruta_BD(), inst.installationFile(1));
    EXPECT_EQ(s.Servidor(), &server);
    EXPECT_EQ(s.Texto(), "salida de la clase BASE");

    s.Crea_Colecciones();
    ASSERT_NE(s.Usuarios(), nullptr);
    ASSERT_NE(s.Controladores(), nullptr);
    EXPECT_EQ(s.Usuarios()->Cuenta(), 1);
    EXPECT_EQ(s.Controladores()->Cuenta(), 1);
    EXPECT_EQ(s.Usuarios()->Sistema(), &s);
    EXPECT_EQ(s.Controladores()->Ruta_BD(), inst.installationFile(1));
}

TEST_F(SistemaTest, EachCollectionHasItsOwnConnectionAndClosingReleasesThemAll)
{
    FbConnection c(inst.installationFile(1));
    {
        auto s = Abre();
        // Cardholders, controllers and cards, and the root's own one once the reports use it.
        EXPECT_EQ(OtherAttachments(c), 3);
        QSqlQuery q(s->Conexion());
        ASSERT_TRUE(q.exec("select count(*) from zarvusuario") && q.next());
        EXPECT_EQ(OtherAttachments(c), 4);
        // The incidence log joins when the controllers are connected.
        s->Conecta_Controladores();
        EXPECT_EQ(OtherAttachments(c), 5);
    }
    EXPECT_EQ(OtherAttachments(c), 0);
}

TEST_F(SistemaTest, AnInstallationFileThatCannotBeOpenedStopsTheOpening)
{
    ZARVSistema s(nullptr, inst.databaseDir() + "/INSTALACION_9.FDB", &server);
    EXPECT_THROW(s.Crea_Colecciones(), ErrorBD);
    EXPECT_EQ(s.Usuarios(), nullptr);

    QFile junk(inst.databaseDir() + "/INSTALACION_8.FDB");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    ZARVSistema t(nullptr, junk.fileName(), &server);
    EXPECT_THROW(t.Crea_Colecciones(), ErrorBD);
}

TEST_F(SistemaTest, GlobalInstancesHoldTheServerAndTheOpenInstallation)
{
    Globales::Servidor = std::make_unique<ZARVServer>();
    Globales::Servidor->Configurar(QString(), inst.mainDatabase(), "quillpond", "sysdba");
    Globales::Servidor->Abre_Sesion_Consola();
    Globales::Sistema = std::make_unique<ZARVSistema>(nullptr, inst.installationFile(1), Globales::Servidor.get());
    Globales::Sistema->Crea_Colecciones();
    EXPECT_EQ(Globales::Sistema->Usuarios()->Cuenta(), 0);
    // Switching installations: the old root goes before the new one is built.
    const int code = Globales::Servidor->Nueva_Instalacion("Dos", inst.programDir());
    Globales::Sistema.reset();
    Globales::Sistema = std::make_unique<ZARVSistema>(
        nullptr, ZARVServer::Fichero_Instalacion(inst.databaseDir(), QString::number(code)), Globales::Servidor.get());
    Globales::Sistema->Crea_Colecciones();
    EXPECT_EQ(Globales::Sistema->Controladores()->Cuenta(), 0);
    Globales::Sistema.reset();
    Globales::Servidor.reset();
}

TEST_F(SistemaTest, OpeningAFileOfAnEarlierVersionAddsWhatItLacksAndTheMarkerCountsChanges)
{
    FbConnection c(inst.installationFile(1));
    const auto objetos = [&c] {
        return c.scalar("select count(*) from rdb$indices where rdb$index_name = 'IX_ZARVINCIDENCIA_RECIENTES'").toInt()
               + c.scalar("select count(*) from rdb$triggers where rdb$trigger_name starting with 'TRC_ZARV'").toInt();
    };
    ASSERT_EQ(objetos(), 0);
    auto s = Abre();
    EXPECT_EQ(objetos(), 5);
    // Opened again, nothing is made twice.
    s.reset();
    s = Abre();
    EXPECT_EQ(objetos(), 5);

    // Changes by another connection move the marker; the incidence log does not.
    const qint64 antes = s->Marca_Cambios();
    ASSERT_TRUE(c.exec("INSERT INTO zarvincidencia(cod,controlador,evento,usr) VALUES(1,1,3,0)"));
    EXPECT_EQ(s->Marca_Cambios(), antes);
    for (const char *cambio : {"INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(3,'A','B','S','')",
                               "INSERT INTO zarvtarjeta VALUES ('0000000001','N',NULL,NULL,3,'N')",
                               "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(1,3,'d','',0)",
                               "INSERT INTO zarvcontroladortarjeta VALUES ('0000000001',1,'S')",
                               "DELETE FROM zarvcontroladortarjeta"}) {
        const qint64 previa = s->Marca_Cambios();
        ASSERT_TRUE(c.exec(cambio)) << cambio;
        EXPECT_GT(s->Marca_Cambios(), previa) << cambio;
    }
}
