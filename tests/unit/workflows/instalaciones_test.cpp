// Installation management on real files with keyvane-sim on the lines:
// whatever fails leaves the installation that was open open and unchanged,
// the lines go with the installation that closes and come with the one that
// opens, and listening follows the registering switch.
#include "flujofixture.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvusuario.h"
#include "workflows/coordinacion.h"
#include "workflows/gestion_instalaciones.h"
#include "workflows/instalacion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using kv::test::FbConnection;
using namespace kv::wf;

namespace {

int Cardholders(const QString &file)
{
    FbConnection c(file);
    return c.scalar("select count(*) from zarvusuario").toInt();
}

} // namespace

// Installation 1 open as the fixture leaves it (controllers on COM1 and
// COM2), and installation 2, "Dos", with one controller on COM1.
class InstalacionesTest : public FlujoTest {
protected:
    void SetUp() override
    {
        FlujoTest::SetUp();
        ASSERT_TRUE(kv::test::copyFile(inst.databaseDir() + "/INSTALACION_B.FDB", inst.installationFile(2)));
        FbConnection principal(inst.mainDatabase());
        ASSERT_TRUE(principal.exec("INSERT INTO instalacion VALUES (gen_id(INSTALACION_ID, 1), 'Dos')"));
        FbConnection dos(inst.installationFile(2));
        ASSERT_TRUE(dos.exec("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                             "VALUES(1,1,'Door of two','Null',1)"));
        Variables::Instalacion_Actual = "1";
        // The fixture's own reader of installation 1 would hold the file
        // against a restore or a deletion; the tests read through their own.
        db.reset();
        Variables::Registrando = false;
    }
    void TearDown() override
    {
        Variables::Registrando = false;
        FlujoTest::TearDown();
    }

    void Registra()
    {
        Variables::Registrando = true;
        Globales::Sistema->Incidencias()->Inicia_Registro();
    }

    // A card presented at COM1's address 1 becomes a row of that file's log.
    bool Stored_In(int installation)
    {
        FbConnection c(inst.installationFile(installation));
        const auto count = [&] { return c.scalar("select count(*) from zarvincidencia").toInt(); };
        const int before = count();
        return com1->ok("card 1 12345") && Espera([&] { return count() > before; }, 3000);
    }
};

TEST_F(InstalacionesTest, SwitchMovesTheLinesAndListeningFollowsTheSwitch)
{
    for (const bool registering : {true, false}) {
        SCOPED_TRACE(registering ? "registering" : "not registering");
        Variables::Registrando = false;
        Cambia_Instalacion("1", Apertura_Modelo);
        if (registering)
            Registra();
        Cambia_Instalacion("2", Apertura_Modelo);
        EXPECT_EQ(Instalacion_Abierta(), "2");
        EXPECT_EQ(Globales::Sistema->Incidencias()->Escuchando(), registering);
        // Installation 2 has nothing on COM2: that line is free either way.
        EXPECT_FALSE(com2->lineHeld());
        EXPECT_EQ(com1->lineHeld(), registering);
        if (registering) {
            EXPECT_TRUE(Stored_In(2));
        }
        EXPECT_TRUE(temporizador.isActive());
        EXPECT_FALSE(Coordinacion::Ocupado());
    }
}

TEST_F(InstalacionesTest, SwitchToAnInstallationThatWillNotOpenKeepsTheOpenOne)
{
    Registra();
    ASSERT_TRUE(QFile::remove(inst.installationFile(2)));
    try {
        Cambia_Instalacion("2", Apertura_Modelo);
        FAIL() << "opened an installation without its file";
    } catch (const Fallo_Instalacion &e) {
        EXPECT_TRUE(e.Texto().contains("INSTALACION_2.FDB")) << e.Texto().toStdString();
    }
    EXPECT_EQ(Instalacion_Abierta(), "1");
    EXPECT_TRUE(Globales::Sistema->Incidencias()->Escuchando());
    EXPECT_TRUE(Stored_In(1));
}

TEST_F(InstalacionesTest, CreateOpensTheNewOneAndAFailedCreateLeavesTheOpenOneOpen)
{
    const int code = Crea_Instalacion("O'Brien's site", Apertura_Modelo);
    ASSERT_EQ(code, 3);
    EXPECT_EQ(Instalacion_Abierta(), "3");
    EXPECT_EQ(Globales::Servidor->Lista_Instalaciones().last(), "3.- O'Brien's site");
    EXPECT_EQ(Crea_Instalacion("  ", Apertura_Modelo), 0);
    EXPECT_EQ(Instalacion_Abierta(), "3");

    Cambia_Instalacion("1", Apertura_Modelo);
    Registra();
    ZARVSistema *open = Globales::Sistema.get();
    struct Case {
        const char *name;
        std::function<void()> spoil;
    };
    const Case cases[] = {
        // Another installation's data where the next code's file would go.
        {"file of the next code",
         [&] { ASSERT_TRUE(QFile::copy(inst.installationFile(2), inst.databaseDir() + "/instalacion_4.fdb")); }},
        {"no template", [&] { ASSERT_TRUE(QFile::remove(inst.databaseDir() + "/INSTALACION_B.FDB")); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.spoil();
        EXPECT_THROW(Crea_Instalacion("Nueva", Apertura_Modelo), Fallo_Instalacion);
        // Never closed: the same model, still listening.
        EXPECT_EQ(Globales::Sistema.get(), open);
        EXPECT_TRUE(Globales::Sistema->Incidencias()->Escuchando());
        EXPECT_EQ(Globales::Servidor->Lista_Instalaciones().size(), 3);
    }
    EXPECT_EQ(Cardholders(inst.databaseDir() + "/instalacion_4.fdb"), 0);
    EXPECT_TRUE(Stored_In(1));
}

TEST_F(InstalacionesTest, DeleteAsksRemovesRowAndFileAndOpensTheFirst)
{
    Cambia_Instalacion("2", Apertura_Modelo);
    operador.respuestas = {false};
    EXPECT_FALSE(Elimina_Instalacion("2", "2.- Dos", operador, Apertura_Modelo));
    EXPECT_EQ(operador.preguntas, QStringList{QString::fromUtf8("\u00BF? - Dos?")});
    EXPECT_EQ(Instalacion_Abierta(), "2");

    {
        // Held open by another connection: refused, installation 2 open again.
        FbConnection holder(inst.installationFile(2));
        operador.respuestas = {true};
        try {
            Elimina_Instalacion("2", "2.- Dos", operador, Apertura_Modelo);
            FAIL() << "deleted a file in use";
        } catch (const Fallo_Instalacion &e) {
            EXPECT_EQ(e.Fallo(), Fallo_Copia::En_Uso);
        }
        EXPECT_EQ(Instalacion_Abierta(), "2");
        EXPECT_TRUE(QFileInfo::exists(inst.installationFile(2)));
    }

    operador.respuestas = {true};
    EXPECT_TRUE(Elimina_Instalacion("2", "2.- Dos", operador, Apertura_Modelo));
    EXPECT_FALSE(QFileInfo::exists(inst.installationFile(2)));
    EXPECT_EQ(Globales::Servidor->Lista_Instalaciones(), QStringList{"1.- Main site"});
    EXPECT_EQ(Instalacion_Abierta(), "1");

    // The last installation stays, and nobody is asked about it.
    operador.preguntas.clear();
    operador.respuestas = {true};
    EXPECT_FALSE(Elimina_Instalacion("1", "1.- Main site", operador, Apertura_Modelo));
    EXPECT_TRUE(operador.preguntas.isEmpty());
    EXPECT_EQ(Instalacion_Abierta(), "1");
}

TEST_F(InstalacionesTest, ImportGivesTheBackupsContentsAndKeepsCodeAndName)
{
    ZARVUsuario u;
    u.Set_Nombre("Uno");
    int id = 0;
    Globales::Sistema->Usuarios()->Inserta(u, id);
    const QString kvd = inst.root() + "/uno.kvd";
    // Backed up with installation 1 open and listening.
    Registra();
    Exporta_Instalacion("1", kvd);
    EXPECT_TRUE(Globales::Sistema->Incidencias()->Escuchando());

    Cambia_Instalacion("2", Apertura_Modelo);
    Importa_Instalacion("2", kvd, Apertura_Modelo);
    EXPECT_EQ(Instalacion_Abierta(), "2");
    EXPECT_EQ(Globales::Sistema->Usuarios()->Cuenta(), 1);
    EXPECT_EQ(Globales::Servidor->Lista_Instalaciones(), (QStringList{"1.- Main site", "2.- Dos"}));
    // Its lines are the restored contents' (installation 1's readers), listening.
    EXPECT_TRUE(com2->lineHeld());
    EXPECT_TRUE(Stored_In(2));
    QStringList files = QDir(inst.databaseDir()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{"INSTALACION_1.FDB", "INSTALACION_2.FDB", "INSTALACION_B.FDB", "KEYVANE.FDB"}));
}

TEST_F(InstalacionesTest, ImportOfABadFileOrOverAFileInUseLeavesTheInstallationOpenAndUnchanged)
{
    Cambia_Instalacion("2", Apertura_Modelo);
    Registra();
    const QString good = inst.root() + "/good.kvd";
    Exporta_Instalacion("1", good);
    const QString text = inst.root() + "/text.kvd";
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a backup\n");
    }
    ZARVSistema *open = Globales::Sistema.get();
    try {
        Importa_Instalacion("2", text, Apertura_Modelo);
        FAIL() << "imported a text file";
    } catch (const Fallo_Instalacion &e) {
        EXPECT_EQ(e.Fallo(), Fallo_Copia::No_Es_Copia);
    }
    // Refused before anything closed.
    EXPECT_EQ(Globales::Sistema.get(), open);
    {
        FbConnection holder(inst.installationFile(2));
        try {
            Importa_Instalacion("2", good, Apertura_Modelo);
            FAIL() << "restored over a file in use";
        } catch (const Fallo_Instalacion &e) {
            EXPECT_EQ(e.Fallo(), Fallo_Copia::En_Uso);
        }
    }
    EXPECT_EQ(Instalacion_Abierta(), "2");
    EXPECT_EQ(Globales::Sistema->Controladores()->Cuenta(), 1);
    EXPECT_TRUE(Globales::Sistema->Incidencias()->Escuchando());
    EXPECT_TRUE(Stored_In(2));
}

TEST_F(InstalacionesTest, NothingStartsWhileAnotherWorkflowHoldsTheControllers)
{
    const QString kvd = inst.root() + "/x.kvd";
    Exporta_Instalacion("1", kvd);
    Trabajo_Controladores other;
    EXPECT_THROW(Cambia_Instalacion("2", Apertura_Modelo), Ocupado);
    EXPECT_THROW(Crea_Instalacion("Tres", Apertura_Modelo), Ocupado);
    EXPECT_THROW(Importa_Instalacion("1", kvd, Apertura_Modelo), Ocupado);
    EXPECT_EQ(Instalacion_Abierta(), "1");
    EXPECT_EQ(Globales::Servidor->Lista_Instalaciones().size(), 2);
}

class ReparacionTest : public ModelTest {};

TEST_F(ReparacionTest, TheRepairListsTheKeptFilesAgainAndNeverReusesTheirCodes)
{
    const QString dir = inst.databaseDir() + "/";
    {
        FbConnection c(inst.installationFile(1));
        ASSERT_TRUE(c.exec("INSERT INTO zarvusuario(id,nombre) VALUES(1,'Six')"));
    }
    ASSERT_TRUE(kv::test::copyFile(inst.installationFile(1), dir + "INSTALACION_6.FDB"));
    ASSERT_TRUE(kv::test::copyFile(inst.installationFile(1), dir + "instalacion_7.fdb"));
    ASSERT_TRUE(QFile::remove(inst.mainDatabase()));
    ASSERT_TRUE(QFile::remove(dir + "INSTALACION_B.FDB"));

    EXPECT_EQ(Repara_BD_Inicial("Recovered installation"), (QStringList{"6", "7"}));
    EXPECT_TRUE(QFileInfo::exists(dir + "INSTALACION_B.FDB"));
    EXPECT_EQ(server.Lista_Instalaciones(),
              (QStringList{"1.- Main site", "6.- Recovered installation 6", "7.- Recovered installation 7"}));
    // The kept installations keep their data, and the next new one takes a code of its own.
    EXPECT_EQ(Cardholders(dir + "INSTALACION_6.FDB"), 1);
    EXPECT_EQ(Cardholders(inst.installationFile(1)), 1);
    EXPECT_EQ(server.Nueva_Instalacion("Ocho", inst.programDir()), 8);
    EXPECT_EQ(Cardholders(dir + "instalacion_7.fdb"), 1);
    EXPECT_FALSE(QFileInfo::exists(dir + "INSTALACION_7.FDB"));
    // With the main database there, nothing is done.
    EXPECT_TRUE(Repara_BD_Inicial("Recovered installation").isEmpty());
}

TEST_F(ReparacionTest, FilesFromAReadOnlyFactorySetAreWritableByTheGroup)
{
    const QString dir = inst.databaseDir() + "/";
    const QFile::Permissions soloLectura = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    for (const QString &f : QDir(dir + "BK20").entryList({"*.FDB"}, QDir::Files))
        ASSERT_TRUE(QFile::setPermissions(dir + "BK20/" + f, soloLectura));
    ASSERT_TRUE(QFile::remove(inst.mainDatabase()));
    ASSERT_TRUE(QFile::remove(dir + "INSTALACION_B.FDB"));

    Repara_BD_Inicial("Recovered installation");
    const QFile::Permissions escritura = QFile::WriteOwner | QFile::WriteGroup;
    EXPECT_EQ(QFile::permissions(inst.mainDatabase()) & escritura, escritura);
    EXPECT_EQ(QFile::permissions(dir + "INSTALACION_B.FDB") & escritura, escritura);
    EXPECT_EQ(QFile::permissions(inst.mainDatabase()) & QFile::ReadOther, QFile::Permissions());
}
