// The attendance time sheet on a real installation file: rows inserted at
// chosen times (fractions of a second included, as the column keeps them),
// readers designated entrance, exit or neither, and the sheet of a month or
// a day computed as the attendance area shows it.
#include "modelfixture.h"

#include "model/globales.h"
#include "model/zarvincidencia.h"
#include "workflows/consulta_incidencias.h"
#include "workflows/presencia.h"

#include <QLocale>

using kv::test::FbConnection;
using kv::wf::Fila_Presencia;
using kv::wf::Periodo_Presencia;

namespace kv::wf {
void PrintTo(const Fila_Presencia &f, std::ostream *os)
{
    *os << qPrintable(QStringList({f.Dia, f.Entradas, f.Salidas, f.Estancia}).join(QLatin1String(" | ")));
}
} // namespace kv::wf

namespace {

constexpr int kAna = 7;
constexpr int kLuis = 8;

QString Dia(const QDate &d)
{
    return QLocale::system().toString(d, QLocale::ShortFormat);
}

// An event cell as the sheet writes it, in the system's long time format.
QString Evento(const char *hora, const char *lector)
{
    ZARVIncidencia i;
    i.Set_Timestamp(QDateTime(QDate(2024, 1, 1), QTime::fromString(QLatin1String(hora), QStringLiteral("HH:mm:ss"))));
    return QLatin1Char('[') + i.Hora_Texto() + QLatin1Char(' ') + QLatin1String(lector) + QLatin1Char(']');
}

Periodo_Presencia Mes(int anyo, int mes)
{
    return {Periodo_Presencia::Mes, QDate(anyo, mes, 10)};
}

Periodo_Presencia Un_Dia(int anyo, int mes, int dia)
{
    return {Periodo_Presencia::Dia, QDate(anyo, mes, dia)};
}

} // namespace

class PresenciaTest : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        db = std::make_unique<FbConnection>(inst.installationFile(1));
        ASSERT_TRUE(db->isOpen());
        // Two readers on one line, as an entrance and its exit often are; a
        // reader outside attendance, and one whose type is not spelt exactly.
        for (const char *c : {"(1,1,'ENTRADA','Puerta',1)", "(2,1,'SALIDA','Salida',2)", "(3,2,'','Garaje',1)",
                              "(4,2,'entrada','Patio',2)"})
            Sql(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,tipo,descripcion,direccion) VALUES")
                + QLatin1String(c));
        Sql("INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(7,'Ana','Alba','S')");
        Sql("INSERT INTO zarvusuario(id,nombre,apellidos,permanente) VALUES(8,'Luis','Mora','S')");
    }
    void TearDown() override
    {
        Globales::Sistema.reset();
        db.reset();
    }

    void Sql(const QString &sentencia) { ASSERT_TRUE(db->exec(sentencia)) << db->lastError().toStdString(); }
    void Marca(int usr, int lector, const char *momento)
    {
        Sql(QStringLiteral("INSERT INTO zarvincidencia(cod,controlador,hist_controlador,tarjeta,hist_tarjeta,"
                           "\"TIMESTAMP\",descripcion,evento,usr) VALUES(gen_id(GEN_ZARVINCIDENCIA_ID, 1),%1,'h',"
                           "'0000000001','','%2','d',1,%3)")
                .arg(lector)
                .arg(QLatin1String(momento))
                .arg(usr));
    }
    void Abre_Instalacion() { Globales::Sistema = Abre(); }
    QList<Fila_Presencia> Hoja(int usr, const Periodo_Presencia &p) { return consulta.Filas(usr, p); }

    std::unique_ptr<FbConnection> db;
    kv::wf::Consulta_Presencia consulta;
};

TEST_F(PresenciaTest, AMonthHasARowForEachOfItsDays)
{
    Abre_Instalacion();
    for (const auto &[periodo, dias] : {std::pair{Mes(2023, 2), 28}, std::pair{Mes(2024, 2), 29},
                                        std::pair{Mes(2024, 4), 30}, std::pair{Mes(2024, 12), 31}}) {
        const QList<Fila_Presencia> filas = Hoja(kAna, periodo);
        ASSERT_EQ(filas.size(), dias) << periodo.fecha.toString(Qt::ISODate).toStdString();
        for (int d = 0; d < dias; ++d)
            EXPECT_EQ(filas[d], (Fila_Presencia{Dia(periodo.Primer_Dia().addDays(d)), {}, {}, {}}));
    }
}

TEST_F(PresenciaTest, APeriodRunsFromItsFirstMidnightUpToTheNextOne)
{
    Marca(kAna, 1, "2024-02-29 23:59:59.9999");
    Marca(kAna, 1, "2024-03-01 00:00:00");
    Marca(kAna, 1, "2024-03-15 00:00:00");
    Marca(kAna, 1, "2024-03-31 23:59:59.9995");
    Marca(kAna, 1, "2024-04-01 00:00:00");
    Abre_Instalacion();

    const QList<Fila_Presencia> marzo = Hoja(kAna, Mes(2024, 3));
    ASSERT_EQ(marzo.size(), 31);
    QMap<int, QString> entradas;
    for (int d = 0; d < marzo.size(); ++d)
        if (!marzo[d].Entradas.isEmpty())
            entradas.insert(d + 1, marzo[d].Entradas);
    const QString medianoche = Evento("00:00:00", "Puerta");
    EXPECT_EQ(entradas, (QMap<int, QString>{{1, medianoche}, {15, medianoche}, {31, Evento("23:59:59", "Puerta")}}));

    for (const auto &[dia, celda] : {std::pair{Un_Dia(2024, 3, 1), medianoche},
                                     std::pair{Un_Dia(2024, 3, 31), Evento("23:59:59", "Puerta")},
                                     std::pair{Un_Dia(2024, 4, 1), medianoche}}) {
        const QList<Fila_Presencia> filas = Hoja(kAna, dia);
        ASSERT_EQ(filas.size(), 1);
        EXPECT_EQ(filas[0], (Fila_Presencia{Dia(dia.fecha), celda, {}, {}}));
    }
    // The next day's midnight is the next day's.
    EXPECT_TRUE(Hoja(kAna, Un_Dia(2024, 3, 14)).isEmpty());
}

TEST_F(PresenciaTest, TheStayRunsFromTheFirstEntryToTheLastExitLatestEventsFirst)
{
    Marca(kAna, 1, "2024-03-04 08:00:00");
    Marca(kAna, 2, "2024-03-04 13:00:00");
    Marca(kAna, 1, "2024-03-04 09:00:00");
    Marca(kAna, 2, "2024-03-04 18:30:15");
    // An exit before the day's first entry.
    Marca(kAna, 2, "2024-03-05 09:00:00");
    Marca(kAna, 1, "2024-03-05 10:00:00");
    Marca(kAna, 1, "2024-03-06 08:00:00");
    Marca(kAna, 2, "2024-03-06 16:05:03");
    Marca(kAna, 1, "2024-03-07 07:55:00");
    Marca(kAna, 2, "2024-03-07 17:00:00");
    // An entry alone; and an entry and an exit within one second.
    Marca(kAna, 1, "2024-03-08 08:00:00");
    Marca(kAna, 1, "2024-03-09 12:00:00.200");
    Marca(kAna, 2, "2024-03-09 12:00:00.700");
    Abre_Instalacion();

    const QList<Fila_Presencia> filas = Hoja(kAna, Mes(2024, 3));
    ASSERT_EQ(filas.size(), 31);
    EXPECT_EQ(filas[3], (Fila_Presencia{Dia(QDate(2024, 3, 4)),
                                        Evento("09:00:00", "Puerta") + Evento("08:00:00", "Puerta"),
                                        Evento("18:30:15", "Salida") + Evento("13:00:00", "Salida"), "10:30:15"}));
    const QStringList estancias = {filas[4].Estancia, filas[5].Estancia, filas[6].Estancia, filas[7].Estancia,
                                   filas[8].Estancia};
    EXPECT_EQ(estancias, QStringList({"", "8:5:3", "9:5:0", "", ""}));
    EXPECT_EQ(filas[4].Salidas, Evento("09:00:00", "Salida"));
}

TEST_F(PresenciaTest, OnlyTheCardholdersEventsAtDesignatedReadersOfTheInstallationCount)
{
    Marca(kAna, 1, "2024-03-04 08:00:00");
    Marca(kAna, 3, "2024-03-04 09:00:00");  // not designated
    Marca(kAna, 4, "2024-03-04 10:00:00");  // "entrada" is not ENTRADA
    Marca(kAna, 99, "2024-03-04 11:00:00"); // a reader since deleted
    Marca(kLuis, 1, "2024-03-04 12:00:00");
    Marca(kAna, 3, "2024-03-20 09:00:00");
    Abre_Instalacion();

    const QList<Fila_Presencia> filas = Hoja(kAna, Mes(2024, 3));
    ASSERT_EQ(filas.size(), 31);
    EXPECT_EQ(filas[3], (Fila_Presencia{Dia(QDate(2024, 3, 4)), Evento("08:00:00", "Puerta"), {}, {}}));
    // A day with incidences that do not count has its row, one without has none.
    EXPECT_EQ(Hoja(kAna, Un_Dia(2024, 3, 20)), QList<Fila_Presencia>({{Dia(QDate(2024, 3, 20)), {}, {}, {}}}));
    EXPECT_TRUE(Hoja(kAna, Un_Dia(2024, 3, 21)).isEmpty());
}

TEST_F(PresenciaTest, ADesignationIsStoredAndChangesTheSheet)
{
    Marca(kAna, 1, "2024-03-04 08:00:00");
    Marca(kAna, 3, "2024-03-04 17:00:00");
    Abre_Instalacion();

    ASSERT_TRUE(kv::wf::Designa_Lector(3, kv::wf::Designacion::Salida));
    ASSERT_TRUE(kv::wf::Designa_Lector(1, kv::wf::Designacion::Entrada));
    EXPECT_EQ(Hoja(kAna, Un_Dia(2024, 3, 4)),
              QList<Fila_Presencia>(
                  {{Dia(QDate(2024, 3, 4)), Evento("08:00:00", "Puerta"), Evento("17:00:00", "Garaje"), "9:0:0"}}));

    ASSERT_TRUE(kv::wf::Designa_Lector(1, kv::wf::Designacion::Ninguna));
    EXPECT_EQ(Hoja(kAna, Un_Dia(2024, 3, 4)),
              QList<Fila_Presencia>({{Dia(QDate(2024, 3, 4)), {}, Evento("17:00:00", "Garaje"), {}}}));
    // The type alone changed; the description stays.
    EXPECT_EQ(db->rows("select cod, tipo, descripcion from zarvcontrolador where cod in (1, 3) order by cod"),
              QStringList({"1||Puerta", "3|SALIDA|Garaje"}));
    EXPECT_FALSE(kv::wf::Designa_Lector(99, kv::wf::Designacion::Entrada));
}

TEST_F(PresenciaTest, TheSheetDoesNotDisturbTheIncidenceViewsLoad)
{
    for (const char *m : {"2024-03-04 08:00:00", "2024-03-04 09:00:00", "2024-03-04 10:00:00"})
        Marca(kAna, 1, m);
    Abre_Instalacion();
    kv::wf::Consulta_Incidencias vista;
    vista.Filtra(QDateTime(QDate(2024, 3, 4), QTime(0, 0)), QDateTime(QDate(2024, 3, 4), QTime(23, 0)));
    ASSERT_EQ(vista.Siguientes(1).size(), 1);
    ASSERT_EQ(Hoja(kLuis, Mes(2024, 3)).size(), 31);
    const auto resto = vista.Siguientes(10);
    ASSERT_EQ(resto.size(), 2);
    EXPECT_EQ(resto[0]->Timestamp().time(), QTime(9, 0));
    EXPECT_EQ(resto[1]->Timestamp().time(), QTime(8, 0));
}
