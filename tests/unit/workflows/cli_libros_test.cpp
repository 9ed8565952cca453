// keyvane-cli's export-workbook and import-workbook as a script runs them:
// a real installation file, keyvane-sim on the two lines, the same workflows
// as the export/import window.
#include "cli_proceso.h"
#include "fbtest.h"
#include "simprocess.h"
#include "tempinstall.h"

#include "workbooks/libro.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

using kv::test::FbConnection;
using kv::test::SimProcess;

class CliLibrosTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        com1 = std::make_unique<SimProcess>(1, QStringList{"--controllers", "1,3"}, inst.portsDir());
        com2 = std::make_unique<SimProcess>(2, QStringList{"--controllers", "2"}, inst.portsDir());
        Sql({"INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(1,1,'Main door','',1)",
             "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(3,1,'Back door','',3)",
             "INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(2,2,'Garage','',2)"});
    }

    void Sql(const QStringList &sentencias)
    {
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.isOpen());
        for (const QString &sql : sentencias)
            ASSERT_TRUE(db.exec(sql)) << sql.toStdString() << ": " << db.lastError().toStdString();
    }
    QStringList Filas(const QString &sql)
    {
        FbConnection db(inst.installationFile(1));
        return db.rows(sql);
    }
    QStringList Tarjetas()
    {
        return Filas("select t.codigo_tarjeta, u.nombre, u.apellidos from zarvtarjeta t "
                     "left join zarvusuario u on u.id = t.usuario order by 1");
    }
    QStringList Asignaciones()
    {
        return Filas("select tarjeta, controlador, \"_STOREDINHW\" from zarvcontroladortarjeta order by 1, 2");
    }
    QString Libro(const std::vector<QStringList> &filas)
    {
        const QString ruta = dir.filePath(QStringLiteral("in.xlsx"));
        kv::libros::Escribe_Xlsx(ruta, filas);
        return ruta;
    }
    Salida_Cli Cli(const QStringList &args) { return Ejecuta_Cli(inst, args); }

    kv::test::TempInstall inst;
    std::unique_ptr<SimProcess> com1;
    std::unique_ptr<SimProcess> com2;
    QTemporaryDir dir;
};

TEST_F(CliLibrosTest, AnExportImportsBackIntoAnEmptiedInstallation)
{
    ASSERT_EQ(Cli({"import-workbook", Libro({{"h"}, {"12345", "Ana", "López"}, {"7", "Ana", "López"}, {"8"}})}).estado, 0);
    const QStringList antes = Tarjetas();
    EXPECT_EQ(antes, QStringList({"0000000007|Ana|López", "0000000008||", "0000012345|Ana|López"}));
    const QString fichero = dir.filePath(QStringLiteral("out.xlsx"));
    const Salida_Cli exportado = Cli({"export-workbook", fichero});
    ASSERT_EQ(exportado.estado, 0) << exportado.err.toStdString();
    EXPECT_EQ(exportado.lineas, QStringList{"exported 3"});

    const Salida_Cli importado = Cli({"import-workbook", fichero, "--replace", "--readers", "none"});
    ASSERT_EQ(importado.estado, 0) << importado.err.toStdString();
    EXPECT_EQ(importado.lineas, QStringList{"imported 3 skipped 0 refused 0"});
    EXPECT_EQ(Tarjetas(), antes);
    EXPECT_EQ(Filas("select count(*) from zarvusuario"), QStringList{"1"});
    EXPECT_TRUE(Asignaciones().isEmpty());
}

TEST_F(CliLibrosTest, ReadersAreEveryOneByDefaultOrThoseGiven)
{
    struct Caso {
        QStringList opciones;
        QStringList asignaciones;
    };
    const std::vector<Caso> casos = {
        {{}, {"0000000001|1|N", "0000000001|2|N", "0000000001|3|N"}},
        {{"--readers", "3,1"}, {"0000000001|1|N", "0000000001|3|N"}},
        {{"--readers", "none"}, {}},
    };
    for (const Caso &c : casos) {
        const Salida_Cli s = Cli(QStringList{"import-workbook", Libro({{"h"}, {"1", "Eva", "Sanz"}}), "--replace"} + c.opciones);
        ASSERT_EQ(s.estado, 0) << s.err.toStdString();
        EXPECT_EQ(Asignaciones(), c.asignaciones) << c.opciones.join(' ').toStdString();
    }
    const QStringList antes = Tarjetas();
    const Salida_Cli falta = Cli({"import-workbook", Libro({{"h"}, {"2", "Eva", "Sanz"}}), "--readers", "1,9"});
    EXPECT_EQ(falta.estado, 2);
    EXPECT_TRUE(falta.err.contains("no reader 9")) << falta.err.toStdString();
    EXPECT_EQ(Tarjetas(), antes);
}

TEST_F(CliLibrosTest, RefusedRowsAreListedAndABadFileChangesNothing)
{
    const Salida_Cli s = Cli({"import-workbook", Libro({{"h"}, {"1", "Eva", "Sanz"}, {"12A", "Ana", "Ruiz"}, {"12345678901", "Ana", "Ruiz"}}),
                              "--readers", "none"});
    EXPECT_EQ(s.estado, 1);
    EXPECT_EQ(s.lineas, QStringList{"imported 1 skipped 0 refused 2"});
    EXPECT_TRUE(s.err.contains("row 3 refused") && s.err.contains("row 4 refused")) << s.err.toStdString();
    EXPECT_EQ(Tarjetas(), QStringList{"0000000001|Eva|Sanz"});

    const QString texto = dir.filePath(QStringLiteral("cards.xlsx"));
    QFile f(texto);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Card;Name\n2;Eva\n");
    f.close();
    const Salida_Cli malo = Cli({"import-workbook", texto, "--replace"});
    EXPECT_EQ(malo.estado, 2);
    EXPECT_TRUE(malo.err.contains("not a workbook")) << malo.err.toStdString();
    EXPECT_EQ(Tarjetas(), QStringList{"0000000001|Eva|Sanz"});

    const Salida_Cli sin_dir = Cli({"export-workbook", dir.filePath(QStringLiteral("no/such/out.xlsx"))});
    EXPECT_EQ(sin_dir.estado, 2);
    EXPECT_TRUE(sin_dir.err.contains("export failed")) << sin_dir.err.toStdString();
}
