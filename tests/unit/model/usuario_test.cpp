// Cardholders: every write read back with SQL, order and cursor across
// reloads, and entities that outlive the reload that replaced them.
#include "modelfixture.h"

#include "model/errorbd.h"
#include "model/zarvcoleccionusuario.h"

using kv::test::FbConnection;

namespace {

ZARVUsuario Make(const QString &nombre, const QString &apellidos, const QString &foto = QString())
{
    ZARVUsuario u;
    u.Set_Nombre(nombre);
    u.Set_Apellidos(apellidos);
    u.Set_Fotografia(foto);
    return u;
}

QStringList Ids(ZARVColeccionUsuario &c)
{
    QStringList out;
    for (c.Primero(); !c.Fin(); c.Siguiente())
        out << c.Elemento(-1)->Texto();
    return out;
}

} // namespace

class UsuarioTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        sistema = Abre();
        usuarios = sistema->Usuarios();
    }
    int Insert(const QString &nombre, const QString &apellidos, const QString &foto = QString())
    {
        int id = -1;
        usuarios->Inserta(Make(nombre, apellidos, foto), id);
        return id;
    }

    std::unique_ptr<ZARVSistema> sistema;
    ZARVColeccionUsuario *usuarios = nullptr;
};

TEST_F(UsuarioTest, EmptyCollectionEndsAtOnce)
{
    EXPECT_EQ(usuarios->Cuenta(), 0);
    usuarios->Primero();
    EXPECT_TRUE(usuarios->Fin());
    EXPECT_EQ(usuarios->Elemento(-1), nullptr);
    EXPECT_EQ(usuarios->Busca(1), nullptr);
}

TEST_F(UsuarioTest, InsertOnAnEmptyInstallationGivesTheFirstNumber)
{
    ZARVUsuario u = Make("Ana", "Garcia Lopez");
    int id = -1;
    usuarios->Inserta(u, id);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(u.Id(), 0); // the object passed does not learn its number
    ASSERT_EQ(usuarios->Cuenta(), 1);
    const auto loaded = usuarios->Busca(id);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Nombre_Completo(), "Garcia Lopez, Ana");
    EXPECT_EQ(loaded->Texto(), "1");
    EXPECT_EQ(loaded->Coleccion(), usuarios);

    // Without a photograph the column holds the empty text, not null.
    FbConnection c(inst.installationFile(1));
    EXPECT_EQ(c.rows("select id,nombre,apellidos,trim(permanente),fotografia,fotografia is null from zarvusuario"),
              QStringList{"1|Ana|Garcia Lopez|S||false"});
    EXPECT_EQ(loaded->Fotografia(), "");
}

TEST_F(UsuarioTest, ModifyAndDeleteWriteThroughAndReload)
{
    const int a = Insert("Ana", "Uno", "/p/a.jpg");
    const int b = Insert("Luis", "Dos");
    const auto held = usuarios->Busca(a);

    ZARVUsuario changed = *held;
    changed.Set_Nombre("Anabel");
    changed.Set_Fotografia(QString());
    EXPECT_TRUE(usuarios->Modifica(changed));
    FbConnection c(inst.installationFile(1));
    EXPECT_EQ(c.rows("select id,nombre,apellidos,fotografia from zarvusuario order by id"),
              (QStringList{QStringLiteral("%1|Anabel|Uno|").arg(a), QStringLiteral("%1|Luis|Dos|").arg(b)}));
    // The object held before is stale; the list holds a new one.
    EXPECT_EQ(held->Nombre(), "Ana");
    EXPECT_EQ(usuarios->Busca(a)->Nombre(), "Anabel");
    EXPECT_NE(usuarios->Busca(a), held);

    usuarios->Elimina(*usuarios->Busca(a));
    EXPECT_EQ(c.rows("select id from zarvusuario"), QStringList{QString::number(b)});
    EXPECT_EQ(usuarios->Busca(a), nullptr);
    EXPECT_EQ(usuarios->Cuenta(), 1);

    usuarios->Elimina_Todos();
    EXPECT_EQ(c.scalar("select count(*) from zarvusuario").toInt(), 0);
    EXPECT_EQ(usuarios->Cuenta(), 0);
}

TEST_F(UsuarioTest, NumbersAreNotReusedAfterADelete)
{
    Insert("A", "A");
    const int b = Insert("B", "B");
    usuarios->Elimina(*usuarios->Busca(b));
    EXPECT_EQ(Insert("C", "C"), b + 1);
}

TEST_F(UsuarioTest, FindByNamesIsExactAndReloadsEitherWay)
{
    const int a = Insert("Ana", "Garcia");
    Insert("Ana", "Garcia"); // the same names twice: the first the database returns
    EXPECT_EQ(usuarios->Busca_Id("Ana", "Garcia"), a);
    EXPECT_EQ(usuarios->Busca_Id("ana", "Garcia"), -1);

    // A row written behind the collection's back shows after the look-up.
    FbConnection c(inst.installationFile(1));
    ASSERT_TRUE(c.exec("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(50,'X','Y','S','')"));
    EXPECT_EQ(usuarios->Busca_Id("Nadie", "Nunca"), -1);
    EXPECT_EQ(usuarios->Cuenta(), 3);
    EXPECT_NE(usuarios->Busca(50), nullptr);
}

TEST_F(UsuarioTest, SurnameOrderHoldsAcrossLaterReloads)
{
    Insert("Ana", "Zapata");
    Insert("Luis", "Alonso");
    Insert("Eva", "Martin");
    EXPECT_EQ(Ids(*usuarios), (QStringList{"1", "2", "3"}));
    usuarios->Set_Orden("apellidos");
    EXPECT_EQ(Ids(*usuarios), (QStringList{"1", "2", "3"})); // takes effect at the next load
    usuarios->Carga();
    EXPECT_EQ(Ids(*usuarios), (QStringList{"2", "3", "1"}));
    Insert("Pio", "Baroja");
    EXPECT_EQ(Ids(*usuarios), (QStringList{"2", "4", "3", "1"}));
    usuarios->Refrescar();
    EXPECT_EQ(Ids(*usuarios), (QStringList{"2", "4", "3", "1"}));
}

TEST_F(UsuarioTest, ReloadKeepsTheCursorsNumber)
{
    for (const char *n : {"A", "B", "C", "D"})
        Insert(n, n);
    usuarios->Primero();
    usuarios->Siguiente();
    usuarios->Siguiente();
    EXPECT_EQ(usuarios->Elemento(-1)->Nombre(), "C");
    // Someone reloads mid-walk (another window), with a row deleted before the cursor.
    usuarios->Elimina(*usuarios->Elemento(0));
    EXPECT_EQ(usuarios->Cursor(), 2);
    EXPECT_EQ(usuarios->Elemento(-1)->Nombre(), "D");
    usuarios->Siguiente();
    EXPECT_TRUE(usuarios->Fin());
    EXPECT_EQ(usuarios->Elemento(-1), nullptr);
    EXPECT_EQ(usuarios->Elemento(7), nullptr);
    EXPECT_EQ(usuarios->Elemento(-2), nullptr);
}

TEST_F(UsuarioTest, FailedReloadKeepsTheListAndTheStatementErrorReachesTheCaller)
{
    Insert("A", "A");
    const auto before = usuarios->Elemento(0);
    // A column the load reads goes away (a file from another version).
    {
        FbConnection c(inst.installationFile(1));
        ASSERT_TRUE(c.exec("ALTER TABLE zarvusuario DROP fotografia")) << c.lastError().toStdString();
    }
    EXPECT_THROW(usuarios->Carga(), ErrorBD);
    EXPECT_EQ(usuarios->Cuenta(), 1);
    EXPECT_EQ(usuarios->Elemento(0), before);
    // The collection's query is usable again after the failure.
    {
        FbConnection c(inst.installationFile(1));
        ASSERT_TRUE(c.exec("ALTER TABLE zarvusuario ADD fotografia VARCHAR(255)")) << c.lastError().toStdString();
    }
    EXPECT_NO_THROW(usuarios->Carga());
    EXPECT_EQ(usuarios->Cuenta(), 1);
}

TEST_F(UsuarioTest, HeldCardholdersOutliveReloadsAndTheInstallation)
{
    Insert("Ana", "Uno");
    const auto held = usuarios->Elemento(0);
    usuarios->Carga();
    usuarios->Carga();
    EXPECT_EQ(held->Nombre(), "Ana");
    EXPECT_EQ(held->Coleccion(), usuarios);
    sistema.reset();
    EXPECT_EQ(held->Nombre_Completo(), "Uno, Ana");
    EXPECT_EQ(held->Coleccion(), nullptr);
}

class UsuarioQuotedText : public UsuarioTest, public ::testing::WithParamInterface<QString> {};

TEST_P(UsuarioQuotedText, EveryTextFieldIsStoredExactly)
{
    const QString t = GetParam();
    const int id = Insert(t, t + "1", t + "2");
    FbConnection c(inst.installationFile(1));
    const auto row = [&] {
        return c.rows(QStringLiteral("select nombre,apellidos,fotografia from zarvusuario where id=%1").arg(id));
    };
    EXPECT_EQ(row(), QStringList{t + "|" + t + "1|" + t + "2"});
    const auto u = usuarios->Busca(id);
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->Nombre(), t);
    EXPECT_EQ(u->Apellidos(), t + "1");
    EXPECT_EQ(u->Fotografia(), t + "2");
    EXPECT_EQ(usuarios->Busca_Id(t, t + "1"), id);

    ZARVUsuario m = *u;
    m.Set_Nombre(t + "3");
    m.Set_Apellidos(t + "4");
    m.Set_Fotografia(t + "5");
    usuarios->Modifica(m);
    EXPECT_EQ(row(), QStringList{t + "3|" + t + "4|" + t + "5"});
    EXPECT_EQ(c.scalar("select count(*) from zarvusuario").toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Texts, UsuarioQuotedText,
                         ::testing::Values(QStringLiteral("O'Brien"), QStringLiteral("'"),
                                           QStringLiteral("x'); DELETE FROM zarvusuario; --"),
                                           QStringLiteral("a :nombre b"), QString::fromUtf8("Ñúñez")));
