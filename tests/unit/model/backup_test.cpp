// Installation backup and restore through the service manager: a backup taken
// while the installation is open restores over it, and a backup that is not a
// good installation backup never touches the installation file.
#include "modelfixture.h"

#include "model/zarvcoleccionusuario.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using kv::test::FbConnection;

namespace {

QByteArray Hash(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result();
}

void AddCardholder(ZARVSistema &s, const QString &nombre)
{
    ZARVUsuario u;
    u.Set_Nombre(nombre);
    u.Set_Apellidos(QStringLiteral("Backup"));
    int id = 0;
    s.Usuarios()->Inserta(u, id);
}

QStringList Names(const QString &file)
{
    FbConnection c(file);
    return c.rows("select nombre from zarvusuario order by id");
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class BackupTest : public ModelTest {
protected:
    QString Backup(const QString &name) const { return inst.root() + QLatin1Char('/') + name; }

    // A backup into kvd of a copy of database changed by statement (none:
    // unchanged), taken through the server as an installation of code 77.
    void BackUpAltered(const QString &database, const QString &statement, const QString &kvd)
    {
        const QString copy = inst.databaseDir() + "/INSTALACION_77.FDB";
        ASSERT_TRUE(kv::test::copyFile(database, copy));
        if (!statement.isEmpty()) {
            FbConnection c(copy);
            ASSERT_TRUE(c.exec(statement)) << c.lastError().toStdString();
        }
        ASSERT_TRUE(server.Exporta_Instalacion("instalacion_77", kvd, Bdkv()).Correcto);
        ASSERT_TRUE(QFile::remove(copy));
    }

    // The installation directory holds nothing but what it held before: no
    // temporary restore file is left behind, whatever the outcome.
    void ExpectOnlyShippedFiles()
    {
        QStringList files = QDir(inst.databaseDir()).entryList(QDir::Files);
        files.sort();
        EXPECT_EQ(files, (QStringList{"INSTALACION_1.FDB", "INSTALACION_B.FDB", "KEYVANE.FDB"}));
    }
};

TEST_F(BackupTest, BackupOfAnOpenInstallationRestoresOverIt)
{
    const QString kvd = Backup("site.kvd");
    {
        auto s = Abre();
        AddCardholder(*s, "Before");
        FbConnection reader(inst.installationFile(1)); // a second holder of the file

        QStringList lines;
        const ZARVResultadoCopia r = server.Exporta_Instalacion(
            "instalacion_1", kvd, Bdkv(), [&](const QString &l) { lines << l; });
        ASSERT_TRUE(r.Correcto) << r.Mensaje.toStdString();
        EXPECT_TRUE(QFileInfo(kvd).size() > 0);
        EXPECT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines, r.Salida);

        AddCardholder(*s, "After");
        EXPECT_EQ(Names(inst.installationFile(1)), (QStringList{"Before", "After"}));
    } // closed, as the import workflow closes it

    const ZARVResultadoCopia r = server.Importa_Instalacion("instalacion_1", kvd, Bdkv());
    ASSERT_TRUE(r.Correcto) << r.Mensaje.toStdString();
    EXPECT_EQ(Names(inst.installationFile(1)), QStringList{"Before"});
    ExpectOnlyShippedFiles();

    // The restored installation opens in the model and takes writes; its
    // generator carried over, so numbers go on where the backup left them.
    auto s = Abre();
    EXPECT_EQ(s->Usuarios()->Cuenta(), 1);
    AddCardholder(*s, "Later");
    EXPECT_EQ(s->Usuarios()->Elemento(1)->Id(), 2);
}

TEST_F(BackupTest, BackupIsInTheBackupToolsOwnFormat)
{
    const QString gbak = QStandardPaths::findExecutable("gbak");
    if (gbak.isEmpty())
        GTEST_SKIP() << "gbak is not installed";
    {
        auto s = Abre();
        AddCardholder(*s, "Tool");
    }
    const QString kvd = Backup("tool.kvd");
    ASSERT_TRUE(server.Exporta_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    const QString restored = inst.root() + "/by-tool.fdb";
    QProcess p;
    p.start(gbak, {"-c", "-user", "SYSDBA", "-password", "x", kvd, restored});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(Names(restored), QStringList{"Tool"});
}

TEST_F(BackupTest, BadBackupsLeaveTheInstallationIntactAndSayWhy)
{
    {
        auto s = Abre();
        AddCardholder(*s, "Keep");
    }
    // A good backup to cut, spoil and mark as a newer tool's.
    const QString good = Backup("good.kvd");
    ASSERT_TRUE(server.Exporta_Instalacion("instalacion_1", good, Bdkv()).Correcto);
    QFile g(good);
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    const QByteArray whole = g.readAll();
    g.close();
    QByteArray spoilt = whole;
    for (int i = whole.size() / 3; i < whole.size() / 3 + 64; ++i)
        spoilt[i] = char(spoilt[i] ^ 0x5a);
    // The format's version is the four bytes after the header's first attribute.
    // Cut just before the end record the tool closes every backup with: all
    // the data there, the end missing.
    qsizetype ultimo = whole.size() - 1;
    while (ultimo > 0 && whole[ultimo] == 0)
        --ultimo;
    const QByteArray sin_final = whole.left(ultimo);
    QByteArray newer_tool = whole;
    newer_tool[3] = char(newer_tool[3] + 1);

    // Good backups of databases that are not this version's installations:
    // the main database, and the template with a column taken away (an older
    // schema) or added (a newer program's).
    const QString foreign = Backup("foreign.kvd");
    BackUpAltered(inst.mainDatabase(), {}, foreign);
    const QString older = Backup("older.kvd");
    BackUpAltered(inst.databaseDir() + "/INSTALACION_B.FDB", "ALTER TABLE zarvtarjeta DROP usar_fecha_cad", older);
    const QString newer = Backup("newer.kvd");
    BackUpAltered(inst.databaseDir() + "/INSTALACION_B.FDB", "ALTER TABLE zarvusuario ADD dni VARCHAR(20)", newer);

    QByteArray noise(8192, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) & 0xff);
    struct Case {
        const char *name;
        QByteArray bytes; // written to <name>.kvd; none: the file above
        Fallo_Copia fallo;
    };
    const Case cases[] = {
        {"noise", noise, Fallo_Copia::No_Es_Copia},
        {"empty", QByteArray(), Fallo_Copia::No_Es_Copia},
        {"text", QByteArray("not a backup\n"), Fallo_Copia::No_Es_Copia},
        {"truncated", whole.left(whole.size() / 2), Fallo_Copia::Incompleta},
        {"without its end", sin_final, Fallo_Copia::Incompleta},
        {"spoilt", spoilt, Fallo_Copia::Danada},
        {"newer tool", newer_tool, Fallo_Copia::Mas_Nueva},
        {"foreign", {}, Fallo_Copia::Ajena},
        {"older", {}, Fallo_Copia::Antigua},
        {"newer", {}, Fallo_Copia::Mas_Nueva},
    };
    const QByteArray before = Hash(inst.installationFile(1));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = Backup(QStringLiteral("%1.kvd").arg(c.name));
        if (!c.bytes.isNull() || !QFileInfo::exists(file)) {
            ASSERT_TRUE(WriteFile(file, c.bytes));
        }
        const ZARVResultadoCopia r = server.Importa_Instalacion("instalacion_1", file, Bdkv());
        EXPECT_FALSE(r.Correcto);
        EXPECT_EQ(int(r.Fallo), int(c.fallo)) << r.Mensaje.toStdString();
        EXPECT_FALSE(r.Mensaje.isEmpty());
        EXPECT_EQ(Hash(inst.installationFile(1)), before);
        ExpectOnlyShippedFiles();
    }
    {
        SCOPED_TRACE("missing file");
        const ZARVResultadoCopia r = server.Importa_Instalacion("instalacion_1", Backup("none.kvd"), Bdkv());
        EXPECT_FALSE(r.Correcto);
        EXPECT_EQ(r.Fallo, Fallo_Copia::Fichero);
        EXPECT_EQ(Hash(inst.installationFile(1)), before);
    }
    EXPECT_EQ(Names(inst.installationFile(1)), QStringList{"Keep"});
}

TEST_F(BackupTest, RestoredAsideWhileOpenThenPutInPlaceOrUndone)
{
    const QString kvd = Backup("aside.kvd");
    auto s = Abre();
    AddCardholder(*s, "Backed up");
    ASSERT_TRUE(server.Exporta_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    AddCardholder(*s, "Since");

    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "confirmed" : "undone");
        // The restore and its checks run with the installation open, so a bad
        // file is refused before anything is closed.
        std::unique_ptr<ZARVRestauracion> r = server.Restaura_Aparte("instalacion_1", kvd, Bdkv());
        ASSERT_TRUE(r->Correcta()) << r->Resultado().Mensaje.toStdString();
        EXPECT_FALSE(r->Coloca()); // still open here
        EXPECT_EQ(r->Resultado().Fallo, Fallo_Copia::En_Uso);
        s.reset();
        r = server.Restaura_Aparte("instalacion_1", kvd, Bdkv());
        ASSERT_TRUE(r->Coloca());
        EXPECT_EQ(Names(inst.installationFile(1)), QStringList{"Backed up"});
        if (confirm)
            r->Confirma();
        r.reset(); // unconfirmed, the old file comes back
        EXPECT_EQ(Names(inst.installationFile(1)),
                  confirm ? QStringList{"Backed up"} : (QStringList{"Backed up", "Since"}));
        ExpectOnlyShippedFiles();
        s = Abre();
    }
}

TEST_F(BackupTest, FailedBackupKeepsThePreviousBackupFile)
{
    const QString kvd = Backup("previous.kvd");
    ASSERT_TRUE(WriteFile(kvd, "the operator's older backup"));
    // No installation 9: the tool fails.
    const ZARVResultadoCopia r = server.Exporta_Instalacion("instalacion_9", kvd, Bdkv());
    EXPECT_FALSE(r.Correcto);
    EXPECT_FALSE(r.Mensaje.isEmpty());
    QFile f(kvd);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("the operator's older backup"));
    EXPECT_EQ(QDir(inst.root()).entryList({"previous.kvd*"}, QDir::Files), QStringList{"previous.kvd"});
}

TEST_F(BackupTest, BackupOverwritesAnEarlierBackupAndTakesOddFileNames)
{
    // Quotes, spaces and shell characters reach the tool as they are.
    const QString kvd = Backup("it's a \"backup\" $(x) `y`;.kvd");
    ASSERT_TRUE(WriteFile(kvd, "older"));
    const ZARVResultadoCopia r = server.Exporta_Instalacion("instalacion_1", kvd, Bdkv());
    ASSERT_TRUE(r.Correcto) << r.Mensaje.toStdString();
    EXPECT_GT(QFileInfo(kvd).size(), 100);
    EXPECT_TRUE(server.Importa_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
}

TEST_F(BackupTest, NamesThatAreNotAnInstallationAreRefused)
{
    for (const char *name : {"instalacion", "instalacion_x", "instalacion_1 2"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(server.Exporta_Instalacion(name, Backup("x.kvd"), Bdkv()).Correcto);
        EXPECT_FALSE(server.Importa_Instalacion(name, Backup("x.kvd"), Bdkv()).Correcto);
    }
    EXPECT_FALSE(QFileInfo::exists(Backup("x.kvd")));
}

TEST_F(BackupTest, RestoreRefusesAnInstallationStillOpen)
{
    const QString kvd = Backup("open.kvd");
    auto s = Abre();
    AddCardholder(*s, "Open");
    ASSERT_TRUE(server.Exporta_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    AddCardholder(*s, "Unsaved");

    // Replacing the file now would leave the open collections writing into
    // the old one: refused, and the installation goes on working.
    const ZARVResultadoCopia r = server.Importa_Instalacion("instalacion_1", kvd, Bdkv());
    EXPECT_FALSE(r.Correcto);
    EXPECT_TRUE(r.Mensaje.contains("in use")) << r.Mensaje.toStdString();
    ExpectOnlyShippedFiles();
    AddCardholder(*s, "Still");
    EXPECT_EQ(Names(inst.installationFile(1)), (QStringList{"Open", "Unsaved", "Still"}));

    s.reset();
    EXPECT_TRUE(server.Importa_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    EXPECT_EQ(Names(inst.installationFile(1)), QStringList{"Open"});
}

TEST_F(BackupTest, RestoreMakesAnInstallationWhoseFileIsMissing)
{
    const QString kvd = Backup("lost.kvd");
    {
        auto s = Abre();
        AddCardholder(*s, "Saved");
    }
    ASSERT_TRUE(server.Exporta_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    ASSERT_TRUE(QFile::remove(inst.installationFile(1)));
    ASSERT_TRUE(server.Importa_Instalacion("instalacion_1", kvd, Bdkv()).Correcto);
    EXPECT_EQ(Names(inst.installationFile(1)), QStringList{"Saved"});
}
