// The incidence log with 1,000,000 incidences over a year (2024), embedded:
// a one-day filter (goal 0.1 s) and a one-month filter for one cardholder
// (goal 0.2 s), each loaded with Refrescar the way the views do; and, for
// information, the first look at the unfiltered log against reading all of it.
//
// The filled file is kept under the build directory and copied for each run.
// The log is read in pages: a load counts its rows and reads the first page,
// which is what these figures measure; a view reads on as it scrolls.
#include "banco.h"
#include "registro_millon.h"
#include "tempinstall.h"

#include "model/zarvcoleccionincidencia.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using kv::bench::Bench;
using kv::bench::Median;

namespace {

constexpr int kIncidences = kv::bench::kIncidencias;
constexpr int kHolders = kv::bench::kTitulares;
constexpr int kRuns = 9;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    const QString cache = kv::bench::Registro_Millon(QStringLiteral(KEYVANE_FACTORY_DIR) + "/INSTALACION_B.FDB",
                                                     QStringLiteral(KV_BENCH_CACHE_DIR));
    if (cache.isEmpty() || !kv::test::copyFile(cache, inst.installationFile(1)))
        return 1;

    ZARVServer server;
    server.Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    ZARVSistema sistema(nullptr, inst.installationFile(1), &server);
    sistema.Crea_Colecciones();

    // The first look at the unfiltered log (count and first page), and for
    // comparison every row read, as a load did before the log was paged.
    QElapsedTimer e;
    e.start();
    ZARVColeccionIncidencia log(&sistema, inst.installationFile(1), nullptr);
    if (!log.Elemento(0) || log.Cuenta() != kIncidences)
        return 1;
    const double primera = e.nsecsElapsed() / 1e9;
    e.restart();
    int leidas = 0;
    for (log.Primero(); !log.Fin(); log.Siguiente())
        leidas += log.Elemento(-1) != nullptr;
    const double todas = e.nsecsElapsed() / 1e9;
    if (leidas != kIncidences)
        return 1;
    Bench("incidences_unfiltered_first_page_1M", primera, "s", "none");
    Bench("incidences_unfiltered_every_row_1M", todas, "s", "none");
    std::printf("first page / every row: %.4f\n", primera / todas);

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
