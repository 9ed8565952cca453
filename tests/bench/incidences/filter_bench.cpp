// The incidence log with 1,000,000 incidences over a year (2024), embedded:
// a one-day filter (goal 0.1 s) and a one-month filter for one cardholder
// (goal 0.2 s), each loaded with Refrescar the way the views do; and, for
// information, the unfiltered load the collection makes when it is created.
//
// The filled file is kept under the build directory and copied for each run.
#include "fbtest.h"
#include "tempinstall.h"

#include "model/zarvcoleccionincidencia.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kIncidences = 1000000;
constexpr int kHolders = 1000;
constexpr int kRuns = 9;

void Bench(const char *name, double value, const char *unit, const char *goal)
{
    std::printf("BENCH %s %.6f %s goal %s\n", name, value, unit, goal);
    std::fflush(stdout);
}

double Median(std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// One block on the server: a year of incidences, one every 31.6 s, spread
// over eight controllers; six in ten are accepted cards (one of those of an
// unknown card), the rest refused cards and door events.
const char *const kFill = R"(EXECUTE BLOCK AS
DECLARE i INTEGER = 0;
DECLARE m INTEGER;
DECLARE u INTEGER;
DECLARE e INTEGER;
DECLARE t VARCHAR(10);
BEGIN
  WHILE (:i < %1) DO
  BEGIN
    m = mod(:i, 10);
    u = 1 + mod(:i * 7919, %2);
    t = '00' || cast(10000 + :u as varchar(5));
    e = CASE WHEN :m < 6 THEN 1 WHEN :m = 6 THEN 2 WHEN :m = 7 THEN 3 WHEN :m = 8 THEN 5 ELSE 6 END;
    INSERT INTO zarvincidencia(cod,controlador,hist_controlador,tarjeta,hist_tarjeta,"TIMESTAMP",descripcion,evento,usr)
    VALUES(gen_id(GEN_ZARVINCIDENCIA_ID, 1), 1 + mod(:i, 8), 'Door ' || (1 + mod(:i, 8)),
           CASE WHEN :e <= 2 THEN :t ELSE '' END,
           CASE WHEN :e <= 2 THEN 'unknow' ELSE '' END,
           dateadd(cast(:i as bigint) * 316224 / 10000 second to timestamp '2024-01-01 00:00:00'),
           CASE WHEN :e <= 2 THEN :t ELSE '' END, :e,
           CASE WHEN :e = 1 AND :m = 5 THEN -1 WHEN :e = 1 THEN :u ELSE 0 END);
    i = :i + 1;
  END
END)";

bool Fill(const QString &file)
{
    kv::test::FbConnection c(file);
    if (!c.isOpen())
        return false;
    // The text goes to the server as it is: the block's variables are not
    // placeholders of the SQL driver.
    // One transaction, committed explicitly: the driver does not commit a
    // block on its own.
    c.db().transaction();
    {
        QSqlQuery q(c.db());
        if (!q.exec(QString::fromLatin1(kFill).arg(kIncidences).arg(kHolders))) {
            std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            return false;
        }
    }
    if (!c.db().commit())
        return false;
    const int n = c.scalar("select count(*) from zarvincidencia").toInt();
    if (n != kIncidences)
        std::fprintf(stderr, "the fill left %d incidences: %s\n", n, qPrintable(c.lastError()));
    return n == kIncidences;
}

// The filled file, built once per factory set.
QString Cached(const kv::test::TempInstall &inst)
{
    const QString dir = QStringLiteral(KV_BENCH_CACHE_DIR);
    const QString cache = dir + QStringLiteral("/incidencias-1M-v1.fdb");
    const QFileInfo fabrica(inst.installationFile(1));
    const QFileInfo guardado(cache);
    if (guardado.exists() && guardado.lastModified() >= QFileInfo(QStringLiteral(KEYVANE_FACTORY_DIR) + "/INSTALACION_B.FDB").lastModified())
        return cache;
    QDir().mkpath(dir);
    const QString tmp = cache + QStringLiteral(".part");
    QFile::remove(tmp);
    QElapsedTimer e;
    e.start();
    if (!kv::test::copyFile(fabrica.filePath(), tmp) || !Fill(tmp))
        return QString();
    std::printf("filled %d incidences in %.1f s\n", kIncidences, e.nsecsElapsed() / 1e9);
    QFile::remove(cache);
    return QFile::rename(tmp, cache) ? cache : QString();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    const QString cache = Cached(inst);
    if (cache.isEmpty() || !kv::test::copyFile(cache, inst.installationFile(1)))
        return 1;

    ZARVServer server;
    server.Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    ZARVSistema sistema(nullptr, inst.installationFile(1), &server);
    sistema.Crea_Colecciones();

    QElapsedTimer e;
    e.start();
    ZARVColeccionIncidencia log(&sistema, inst.installationFile(1), nullptr);
    Bench("incidences_create_unfiltered_load_1M", e.nsecsElapsed() / 1e9, "s", "none");
    if (log.Cuenta() != kIncidences)
        return 1;

    // A different day and cardholder each run, as an operator browsing would.
    std::vector<double> dias, meses;
    int filas_dia = 0, filas_mes = 0;
    for (int r = 0; r < kRuns; ++r) {
        const QDate dia = QDate(2024, 3, 1).addDays(r * 17);
        log.Filtro_Textos(dia.toString("yyyy-MM-dd") + " 00:00:00", dia.toString("yyyy-MM-dd") + " 23:59:59", -1);
        log.Filtro_Fechas(-1, QDateTime(dia, QTime(0, 0)), QDateTime(dia, QTime(23, 59, 59)));
        e.restart();
        log.Refrescar();
        dias.push_back(e.nsecsElapsed() / 1e9);
        filas_dia = log.Cuenta();

        // The attendance view's month: from day 1 00:00:01 to the last day 23:59:59.
        const QDate mes(2024, 1 + r, 1);
        const int usr = 1 + (r * 97) % kHolders;
        log.Filtro_Textos("a", "b", usr);
        log.Filtro_Fechas(usr, QDateTime(mes, QTime(0, 0, 1)), QDateTime(mes.addDays(mes.daysInMonth() - 1), QTime(23, 59, 59)));
        e.restart();
        log.Refrescar();
        meses.push_back(e.nsecsElapsed() / 1e9);
        filas_mes = log.Cuenta();
    }
    std::printf("rows: %d in a day, %d for one cardholder in a month\n", filas_dia, filas_mes);
    const double dia = Median(dias);
    const double mes = Median(meses);
    Bench("incidences_one_day_filter_1M", dia, "s", "0.1");
    Bench("incidences_one_month_one_user_filter_1M", mes, "s", "0.2");
    return dia <= 0.1 && mes <= 0.2 ? 0 : 1;
}
