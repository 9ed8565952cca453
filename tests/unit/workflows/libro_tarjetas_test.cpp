// Export and import of cards through a workbook, on real installation files:
// what is exported imports back the same; another application's workbook is
// read as it shows it; codes are padded or refused; an import is one change,
// undone whole when it fails part-way.
#include "flujofixture.h"
#include "libro_a_mano.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "workbooks/libro.h"
#include "workflows/libro_tarjetas.h"

#include <QFile>
#include <QTemporaryDir>

using kv::wf::Libro_Importacion;
using kv::wf::Modo_Importacion;

namespace {

class LibroTarjetasTest : public FlujoTest {
protected:
    // Every card with its holder's names and its assignments, as the
    // database holds them: what an import must leave unchanged on failure.
    QStringList Tarjetas()
    {
        return db->rows(QStringLiteral("select t.codigo_tarjeta, coalesce(u.nombre,'-'), coalesce(u.apellidos,'-') "
                                       "from zarvtarjeta t left join zarvusuario u on u.id = t.usuario order by 1"));
    }
    QStringList Estado()
    {
        QStringList e = Tarjetas();
        e << db->rows(QStringLiteral("select tarjeta, controlador, \"_STOREDINHW\" from zarvcontroladortarjeta order by 1,2"));
        e << db->rows(QStringLiteral("select nombre, apellidos from zarvusuario order by id"));
        return e;
    }
    int Cuenta(const char *tabla) { return db->scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(tabla))).toInt(); }

    QString Guarda(const QByteArray &bytes, const QString &nombre = QStringLiteral("in.xlsx"))
    {
        const QString ruta = dir.filePath(nombre);
        QFile f(ruta);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return ruta;
    }
    QString Escribe(const std::vector<QStringList> &filas)
    {
        const QString ruta = dir.filePath(QStringLiteral("filas.xlsx"));
        kv::libros::Escribe_Xlsx(ruta, filas);
        return ruta;
    }
    kv::wf::Resultado_Importacion Importa(const QString &ruta, Modo_Importacion modo, const std::vector<int> &lectores = {1, 2, 3})
    {
        return kv::wf::Importa_Libro(kv::wf::Lee_Libro_Importacion(ruta), modo, lectores, progreso);
    }
    // A holder with one card through the same import path.
    void Usuario(const QString &codigo, const QString &nombre, const QString &apellidos, const std::vector<int> &lectores)
    {
        Importa(Escribe({{"h", "h", "h"}, {codigo, nombre, apellidos}}), Modo_Importacion::Anadir, lectores);
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(LibroTarjetasTest, WhatIsExportedImportsBackTheSame)
{
    Variables::Campos_Informe = {"c1", "Nombre", "Apellidos", "Tarjeta"};
    Usuario("0000012345", "=1+1", "Núñez", {1});
    Usuario("0000000077", "Ana", "", {});
    Tarjeta(QStringLiteral("0000000009"), {2}); // a free card
    const QString ruta = dir.filePath(QStringLiteral("export.xlsx"));
    EXPECT_EQ(kv::wf::Exporta_Libro(ruta), 3);

    // Header from the report labels, every code with its zeros, as text.
    const kv::libros::Hoja h = kv::libros::Lee_Hoja(ruta, 3);
    ASSERT_EQ(h.filas.size(), 4u);
    EXPECT_EQ(h.filas[0].celdas, QStringList({"Tarjeta", "Nombre", "Apellidos"}));
    QStringList exportadas;
    for (std::size_t i = 1; i < h.filas.size(); ++i)
        exportadas << h.filas[i].celdas.join(QLatin1Char('|'));
    exportadas.sort();
    EXPECT_EQ(exportadas, QStringList({"0000000009||", "0000000077|Ana|", "0000012345|=1+1|Núñez"}));

    const QStringList tarjetas_antes = Tarjetas();
    const auto r = Importa(ruta, Modo_Importacion::Reemplazar);
    EXPECT_EQ(r.importadas, 3);
    EXPECT_EQ(Tarjetas(), tarjetas_antes);
    // Every assignment of a replace is pending: the readers need a send.
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from zarvcontroladortarjeta where \"_STOREDINHW\" <> 'N'")).toInt(), 0);
}

TEST_F(LibroTarjetasTest, AnotherApplicationsWorkbookIsPaddedCheckedAndGrouped)
{
    kv::test::Xlsx_A_Mano x;
    x.hojas.emplace_back(QStringLiteral("Notes"), "<sheetData><row r=\"2\"><c r=\"A2\"><v>555</v></c></row></sheetData>");
    x.hojas.emplace_back(QStringLiteral("Cards"),
                         R"(<sheetData>
<row r="1"><c r="A1" t="s"><v>0</v></c></row>
<row r="2"><c r="A2"><v>12345</v></c><c r="B2" t="s"><v>1</v></c><c r="C2" t="s"><v>2</v></c></row>
<row r="3"><c r="A3" t="inlineStr"><is><t>0000000002</t></is></c><c r="B3" t="s"><v>1</v></c><c r="C3" t="inlineStr"><is><t>López</t></is></c></row>
<row r="4"><c r="A4" t="inlineStr"><is><t>12AB</t></is></c><c r="B4" t="s"><v>1</v></c></row>
<row r="5"><c r="A5"><v>12345678901</v></c><c r="B5" t="s"><v>1</v></c></row>
<row r="6"><c r="A6" t="inlineStr"><is><t>1'; drop table zarvtarjeta; --</t></is></c></row>
<row r="7"><c r="A7" s="1"><v>45292</v></c></row>
<row r="8"><c r="A8"><f>12300+45</f><v>12345</v></c><c r="B8" t="s"><v>1</v></c><c r="C8" t="s"><v>2</v></c></row>
<row r="9"><c r="A9" t="inlineStr"><is><t>3</t></is></c><c r="B9" t="s"><v>1</v></c><c r="C9" t="s"><v>2</v></c></row>
<row r="11"><c r="A11"><v>4</v></c><c r="B11" t="s"><v>1</v></c></row>
</sheetData>)");
    x.activa = 1;
    x.cadenas = "<si><t>Card</t></si><si><t>Ana</t></si><si><t>López</t></si>";
    x.estilos = R"(<cellXfs count="2"><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs>)";

    const Libro_Importacion libro = kv::wf::Lee_Libro_Importacion(Guarda(x.Bytes()));
    // Row 10 is empty: row 11 is not read.
    QStringList leidas;
    for (const auto &f : libro.filas)
        leidas << QString::number(f.fila) + QLatin1Char(':') + f.codigo;
    EXPECT_EQ(leidas, QStringList({"2:0000012345", "3:0000000002", "8:0000012345", "9:0000000003"}));
    QList<qint64> rechazadas;
    for (const auto &f : libro.rechazadas)
        rechazadas << f.fila;
    EXPECT_EQ(rechazadas, QList<qint64>({4, 5, 6, 7}));

    const auto r = kv::wf::Importa_Libro(libro, Modo_Importacion::Anadir, {2}, progreso);
    EXPECT_EQ(r.importadas, 3);
    EXPECT_EQ(r.saltadas, 1); // row 8 repeats row 2's code
    EXPECT_EQ(r.rechazadas, 4);
    // Same names, several cards: one holder holding them all.
    EXPECT_EQ(db->rows(QStringLiteral("select nombre, apellidos from zarvusuario")), QStringList({"Ana|López"}));
    EXPECT_EQ(db->rows(QStringLiteral("select t.codigo_tarjeta from zarvtarjeta t join zarvusuario u on u.id = t.usuario order by 1")),
              QStringList({"0000000002", "0000000003", "0000012345"}));
    EXPECT_EQ(Cuenta("zarvcontroladortarjeta"), 3);
    EXPECT_EQ(progreso.pasos.size(), 4);
    // The lists show the import at once.
    EXPECT_TRUE(Globales::Sistema->Tarjetas()->Busca(QStringLiteral("0000012345")));
    EXPECT_EQ(Globales::Sistema->Usuarios()->Cuenta(), 1);
}

TEST_F(LibroTarjetasTest, TheTickedReadersGetPendingAssignmentsAndNoneGetsNone)
{
    struct Caso {
        std::vector<int> lectores;
        QStringList asignaciones;
    };
    const std::vector<Caso> casos = {
        {{}, {}},
        {{3, 1}, {"0000000001|1|N", "0000000001|3|N"}},
        {{2, 99, 2}, {"0000000001|2|N"}}, // a reader the installation lacks is left out, each once
    };
    for (const Caso &c : casos) {
        Importa(Escribe({{"h"}, {"1", "Eva", "Sanz"}}), Modo_Importacion::Reemplazar, c.lectores);
        EXPECT_EQ(Cuenta("zarvtarjeta"), 1);
        EXPECT_EQ(db->rows(QStringLiteral("select tarjeta, controlador, \"_STOREDINHW\" from zarvcontroladortarjeta order by 2")),
                  c.asignaciones);
    }
}

TEST_F(LibroTarjetasTest, AddingSkipsExistingCardsAndReplacingWithAnEmptyWorkbookEmptiesTheInstallation)
{
    Usuario("0000000001", "Eva", "Sanz", {1});
    Globales::Sistema->Tarjetas()->Marca_Todas_Almacenadas();
    const QStringList antes = Estado();
    const auto r = Importa(Escribe({{"h"}, {"1", "Otro", "Nombre"}}), Modo_Importacion::Anadir);
    EXPECT_EQ(r.saltadas, 1);
    EXPECT_EQ(Estado(), antes); // its holder and its stored assignment stay

    const auto vacio = Importa(Escribe({{"Card", "Name", "Surname"}}), Modo_Importacion::Reemplazar);
    EXPECT_EQ(vacio.importadas, 0);
    EXPECT_EQ(Cuenta("zarvtarjeta"), 0);
    EXPECT_EQ(Cuenta("zarvusuario"), 0);
    EXPECT_EQ(Cuenta("zarvcontroladortarjeta"), 0);
    EXPECT_EQ(Globales::Sistema->Tarjetas()->Cuenta(), 0);
}

TEST_F(LibroTarjetasTest, AFailurePartWayLeavesTheInstallationAsItWas)
{
    Usuario("0000000001", "Eva", "Sanz", {1, 2});
    const QStringList antes = Estado();
    std::vector<QStringList> filas = {{"h"}};
    for (int i = 10; i < 20; ++i)
        filas.push_back({QString::number(i), QStringLiteral("N%1").arg(i), QStringLiteral("S")});
    const QString ruta = Escribe(filas);
    // Both modes: the replace mode's deletions are undone too.
    for (const Modo_Importacion modo : {Modo_Importacion::Anadir, Modo_Importacion::Reemplazar}) {
        progreso.pasos.clear();
        progreso.en_paso = [this] {
            if (progreso.pasos.size() == 5)
                throw std::runtime_error("disk full");
        };
        try {
            Importa(ruta, modo);
            ADD_FAILURE() << "the import did not fail";
        } catch (const kv::wf::Importacion_Fallida &e) {
            EXPECT_EQ(e.Fila(), 6);
            EXPECT_EQ(e.Hechas(), 4);
            EXPECT_TRUE(e.Motivo().contains(QLatin1String("disk full")));
        }
        EXPECT_EQ(Estado(), antes);
        EXPECT_EQ(Globales::Sistema->Tarjetas()->Cuenta(), 1);
    }
    // A cancel is the same: nothing of the import stays.
    progreso.en_paso = nullptr;
    Progreso_Cancelable cancelable;
    cancelable.cancelar_tras = 3;
    EXPECT_THROW(kv::wf::Importa_Libro(kv::wf::Lee_Libro_Importacion(ruta), Modo_Importacion::Reemplazar, {1}, cancelable),
                 kv::wf::Importacion_Fallida);
    EXPECT_EQ(Estado(), antes);
    EXPECT_EQ(cancelable.cerrado, 1);
}

TEST_F(LibroTarjetasTest, ABadFileChangesNothing)
{
    Usuario("0000000001", "Eva", "Sanz", {1});
    const QStringList antes = Estado();
    EXPECT_THROW(kv::wf::Lee_Libro_Importacion(Guarda("Card;Name\n1;Eva\n", QStringLiteral("x.xlsx"))), kv::libros::Error_Libro);
    QFile f(Escribe({{"h"}, {"2", "A", "B"}}));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_THROW(kv::wf::Lee_Libro_Importacion(Guarda(bytes.left(bytes.size() - 100), QStringLiteral("cut.xlsx"))),
                 kv::libros::Error_Libro);
    EXPECT_EQ(Estado(), antes);
}
