// Each report made from a real installation file: its rows against the
// database, its PDF read back with pdftotext and pdfinfo, and the errors of
// a missing or broken template and of the database.
#include "fbtest.h"
#include "servidortest.h"
#include "tempinstall.h"

#include "model/globales.h"
#include "reports/informe.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>

using kv::test::FbConnection;
using kv::rep::Error_Informe;
using kv::rep::Informe;

namespace {

QString Sin_Blancos(QString t)
{
    t.remove(QRegularExpression(QStringLiteral("\\s")));
    return t;
}

QString Ejecuta(const QString &programa, const QStringList &args)
{
    QProcess p;
    p.start(programa, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of one page (1-based), or of the whole file.
QString Texto_Pdf(const QString &pdf, int pagina = 0)
{
    QStringList args{QStringLiteral("-layout")};
    if (pagina > 0)
        args << "-f" << QString::number(pagina) << "-l" << QString::number(pagina);
    return Ejecuta(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

int Paginas_Pdf(const QString &pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Ejecuta(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QStringList Filas(const Informe &informe)
{
    QStringList r;
    const kv::rep::Maqueta &m = informe.Paginas();
    for (qsizetype i = 0; i < m.Filas(); ++i) {
        QStringList celdas;
        for (int c = 0; c < m.Cabeceras().size(); ++c)
            celdas << m.Celda(i, c);
        r << celdas.join('|');
    }
    return r;
}

class InformeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(inst.isValid());
        const QDir fuentes(QStringLiteral(KEYVANE_SOURCE_DIR "/data/reports"));
        for (const QString &f : fuentes.entryList({"*.frf"}, QDir::Files))
            ASSERT_TRUE(kv::test::copyFile(fuentes.filePath(f), Plantilla(f)));
        FbConnection principal(inst.mainDatabase());
        ASSERT_TRUE(principal.exec(
            "INSERT INTO LANGREP(Idioma,campo_1,campo_2,campo_3,campo_4,campo_5,campo_6,campo_7,campo_8,campo_9,"
            "campo_10,campo_11,campo_12,campo_13) VALUES('TEST','Titulares-1','Nombre-2','Apellidos-3','Tarjeta-4',"
            "'Alta-5','Tarjeta-6','Caduca-7','Usa-8','Tarjetas-9','Lectores-10','Lector-11','Puerto-12','Descripción-13')"))
            << principal.lastError().toStdString();
    }
    void TearDown() override
    {
        Globales::Sistema.reset();
        Globales::Servidor.reset();
    }

    QString Plantilla(const QString &fichero) const { return inst.programDir() + "/Data/" + fichero; }

    void Sql(const QStringList &sentencias)
    {
        FbConnection db(inst.installationFile(1));
        ASSERT_TRUE(db.isOpen());
        for (const QString &s : sentencias)
            ASSERT_TRUE(db.exec(s)) << s.toStdString() << ": " << db.lastError().toStdString();
    }

    // The installation opened as the program opens it.
    void Abre()
    {
        Globales::Servidor = std::make_unique<ZARVServer>();
        const kv::test::CuentaServidor &cuenta = kv::test::cuentaServidor();
        Globales::Servidor->Configurar(cuenta.host, inst.mainDatabase(), cuenta.password, cuenta.usuario);
        Globales::Sistema = std::make_unique<ZARVSistema>(nullptr, inst.installationFile(1), Globales::Servidor.get());
        Globales::Sistema->Crea_Colecciones();
    }

    kv::test::TempInstall inst;
};

} // namespace

TEST_F(InformeTest, EachReportHoldsTheRowsOfItsQuery)
{
    Sql({"INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(1,'Łukasz','Żółć','S')",
         "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(2,'Ωμέγα','山田','S')",
         "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(3,'Ana','Sin Tarjeta','S')",
         "INSERT INTO zarvtarjeta(codigo_tarjeta,fecha_alta,fecha_caducidad,usuario,usar_fecha_cad) "
         "VALUES('0000000004','2026-01-02 10:30:00','2027-03-04 00:00:00',1,'S')",
         "INSERT INTO zarvtarjeta(codigo_tarjeta,fecha_alta,fecha_caducidad,usuario,usar_fecha_cad) "
         "VALUES('0000000002','2026-02-03 08:00:00','2026-02-03 08:00:00',2,'N')",
         "INSERT INTO zarvtarjeta(codigo_tarjeta,fecha_alta,fecha_caducidad,usuario,usar_fecha_cad) "
         "VALUES('0000000003','2026-02-04 09:15:00',NULL,NULL,'N')",
         "INSERT INTO zarvtarjeta(codigo_tarjeta,fecha_alta,fecha_caducidad,usuario,usar_fecha_cad) "
         "VALUES('0000000001','2026-02-05 00:00:00',NULL,1,NULL)",
         "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(7,1,'','Garaje',2)",
         "INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES(1,3,'','Puerta Ω',1)"});
    Abre();

    struct Caso {
        int indice;
        QString titulo;
        QStringList cabeceras;
        QStringList filas;
        bool en_orden;
    };
    const Caso casos[] = {
        {1, "Titulares-1", {"Nombre-2", "Apellidos-3"}, {"Ana|Sin Tarjeta", "Łukasz|Żółć", "Ωμέγα|山田"}, true},
        {2,
         "Tarjetas-9",
         {"Tarjeta-6", "Alta-5", "Caduca-7", "Usa-8"},
         {"0000000001|05/02/2026 00:00||", "0000000002|03/02/2026 08:00||", "0000000003|04/02/2026 09:15||",
          "0000000004|02/01/2026 10:30|04/03/2027 00:00|X"},
         true},
        {3, "Lectores-10", {"Lector-11", "Puerto-12", "Descripción-13"}, {"1|3|Puerta Ω", "7|1|Garaje"}, true},
        // Ordered by first name alone: one holder's cards may come in any order.
        // Ana has no card and card 3 no holder: neither is listed.
        {4,
         "Titulares-1 / Tarjetas-9",
         {"Nombre-2", "Apellidos-3", "Tarjeta-4"},
         {"Łukasz|Żółć|0000000001", "Łukasz|Żółć|0000000004", "Ωμέγα|山田|0000000002"},
         false},
    };
    for (const Caso &c : casos) {
        const std::unique_ptr<Informe> informe = Informe::Ejecuta(c.indice);
        EXPECT_EQ(informe->Paginas().Titulo(), c.titulo) << c.indice;
        EXPECT_EQ(informe->Paginas().Cabeceras(), c.cabeceras) << c.indice;
        QStringList filas = Filas(*informe);
        if (!c.en_orden)
            filas.sort();
        EXPECT_EQ(filas, c.filas) << c.indice;
        EXPECT_EQ(informe->Numero_Paginas(), 1);
    }
}

TEST_F(InformeTest, PdfHasEveryPageWithCaptionsNumbersAndRows)
{
    QStringList sentencias;
    for (int i = 1; i <= 150; ++i)
        sentencias << QStringLiteral("INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(%1,'Persona %2','Apellido %2','S')")
                          .arg(i)
                          .arg(i, 3, 10, QLatin1Char('0'));
    // A first name of 100 characters cannot fit its 70 mm column.
    const QString largo = "Bartholomew" + QString(84, 'x') + "FINAL";
    sentencias << QStringLiteral("INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(151,'%1','Vecino','S')").arg(largo)
               << "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(152,'Łukasz','Żółć','S')"
               << "INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(153,'Ωμέγα','山田','S')";
    Sql(sentencias);
    Abre();

    const std::unique_ptr<Informe> informe = Informe::Ejecuta(1);
    ASSERT_EQ(informe->Filas(), 153);
    const int paginas = informe->Numero_Paginas();
    ASSERT_GE(paginas, 3);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("users.pdf");
    informe->Exporta_Pdf(pdf);
    ASSERT_EQ(Paginas_Pdf(pdf), paginas) << "pdfinfo (poppler-utils: scripts/install-deps)";

    for (int p = 1; p <= paginas; ++p) {
        const QString texto = Sin_Blancos(Texto_Pdf(pdf, p));
        EXPECT_TRUE(texto.contains("Nombre-2Apellidos-3")) << "page " << p << ":\n" << texto.toStdString();
        EXPECT_TRUE(texto.endsWith(QStringLiteral("%1/%2").arg(p).arg(paginas))) << "page " << p;
        EXPECT_EQ(texto.contains("Titulares-1"), p == 1) << "page " << p;
    }
    const QString todo = Sin_Blancos(Texto_Pdf(pdf));
    for (int i = 1; i <= 150; ++i) {
        const QString fila = QStringLiteral("Persona%1Apellido%1").arg(i, 3, 10, QLatin1Char('0'));
        EXPECT_TRUE(todo.contains(fila)) << fila.toStdString();
    }
    EXPECT_TRUE(todo.contains("ŁukaszŻółć"));
    EXPECT_TRUE(todo.contains("Ωμέγα山田"));
    // The long name ends in an ellipsis inside its column, and its
    // neighbour is whole right after it.
    EXPECT_TRUE(QRegularExpression("Bartholomewx+…Vecino").match(todo).hasMatch()) << todo.toStdString();
    EXPECT_FALSE(todo.contains("FINAL"));
}

TEST_F(InformeTest, AMissingOrBrokenTemplateOrADatabaseErrorIsToldNeverAnEarlierReport)
{
    Abre();
    ASSERT_EQ(Informe::Ejecuta(2)->Filas(), 0);
    struct Caso {
        int indice;
        QString fichero;
        QByteArray contenido; // null: the file is removed
        QStringList dice;
    };
    const Caso casos[] = {
        {1, "users.frf", QByteArray(), {"users.frf", "does not exist"}},
        {2, "cards.frf", "column CODIGO width=10\n", {"cards.frf", "line 1", "no field CODIGO"}},
        {2, "cards.frf", "\ncolumn FECHA_ALTA width=10 when=USADA\n", {"cards.frf", "line 2", "no field USADA"}},
        {3, "controllers.frf", "font 9\ncolumn COD width=10 caption=\"[campo_99]\"\n", {"controllers.frf", "line 2", "no report label campo_99"}},
        {4, "cards per user.frf", "column NOMBRE width=500\n", {"cards per user.frf", "line 1", "the columns reach 500.0 mm"}},
    };
    for (const Caso &c : casos) {
        QFile::remove(Plantilla(c.fichero));
        if (!c.contenido.isNull()) {
            QFile f(Plantilla(c.fichero));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.contenido);
        }
        try {
            Informe::Ejecuta(c.indice);
            ADD_FAILURE() << c.fichero.toStdString() << " made a report";
        } catch (const Error_Informe &e) {
            EXPECT_EQ(e.Donde(), Error_Informe::Origen::Plantilla);
            for (const QString &d : c.dice)
                EXPECT_TRUE(e.Texto().contains(d)) << e.Texto().toStdString();
        }
    }

    try {
        kv::rep::Lee_Tabla(Globales::Sistema->Conexion(), "SELECT nombre FROM no_such_table");
        ADD_FAILURE() << "a failed query gave a table";
    } catch (const Error_Informe &e) {
        EXPECT_EQ(e.Donde(), Error_Informe::Origen::Base_Datos);
        EXPECT_TRUE(e.Texto().contains("NO_SUCH_TABLE", Qt::CaseInsensitive)) << e.Texto().toStdString();
    }
}

int main(int argc, char **argv)
{
    // Painting text takes the GUI application; the tests run offscreen.
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
