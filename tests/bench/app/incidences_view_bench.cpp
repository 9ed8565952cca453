// The main window on an installation whose log holds 1,000,000 incidences
// (a year, tests/bench/comun): opening the installation to the main window
// ready (goal 0.5 s), as the installation selector does, and the incidence
// view's first screen for a one-day filter (goal 0.1 s), each the median of
// several runs. For comparison, in the same run: reading the whole log, as
// opening did when it loaded every incidence.
#include "banco.h"
#include "registro_millon.h"
#include "tempinstall.h"

#include "app/programa.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvsistema.h"
#include "ui/operador.h"

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QTimeEdit>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using kv::bench::Bench;
using kv::bench::Median;

namespace {

constexpr int kRuns = 7;

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kv::ui::Operador::setUnattended(true);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    const QString cache = kv::bench::Registro_Millon(QStringLiteral(KEYVANE_FACTORY_DIR) + "/INSTALACION_B.FDB",
                                                     QStringLiteral(KV_BENCH_CACHE_DIR));
    if (cache.isEmpty() || !QFile::remove(inst.installationFile(1)) || !kv::test::copyFile(cache, inst.installationFile(1)))
        return 1;
    QFile ajustes(inst.systemDir() + QStringLiteral("/KEYVANE20.INI"));
    if (!ajustes.open(QIODevice::WriteOnly))
        return 1;
    ajustes.write("[General]\r\nIdioma=ENGLISH\r\n");
    ajustes.close();

    Variables::Restablecer();
    QElapsedTimer reloj;
    reloj.start();
    auto programa = std::make_unique<kv::app::Programa>();
    programa->Inicia();
    QApplication::processEvents();
    const double arranque = reloj.nsecsElapsed() / 1e9;
    TF_Main *m = Ventanas::F_Main;
    m->show();

    // Opening the installation again, as the selector does: close, open.
    std::vector<double> aperturas;
    for (int r = 0; r < kRuns; ++r) {
        reloj.restart();
        Globales::Sistema.reset();
        m->Abre_Instalacion(QStringLiteral("1"));
        QApplication::processEvents();
        aperturas.push_back(reloj.nsecsElapsed() / 1e9);
    }

    // One day of the year each run: the list's first screen.
    m->SpeedButton11Click();
    std::vector<double> pantallas;
    int filas = 0;
    for (int r = 0; r < kRuns; ++r) {
        const QDate dia = QDate(2024, 2, 1).addDays(r * 23);
        m->Fecha_INI->setDate(dia);
        m->Hora_INI->setTime(QTime(0, 0));
        m->Fecha_FIN->setDate(dia);
        m->Hora_FIN->setTime(QTime(23, 59, 59));
        reloj.restart();
        m->SpeedButton1Click();
        QApplication::processEvents();
        pantallas.push_back(reloj.nsecsElapsed() / 1e9);
        filas = m->Lista_Incidencias->topLevelItemCount();
    }

    // The whole log read, as opening an installation did before.
    reloj.restart();
    ZARVColeccionIncidencia todo(Globales::Sistema.get(), Globales::Sistema->Ruta_BD(), nullptr);
    int leidas = 0;
    for (todo.Primero(); !todo.Fin(); todo.Siguiente())
        leidas += todo.Elemento(-1) != nullptr;
    const double completo = reloj.nsecsElapsed() / 1e9;

    std::printf("start-up to the login window %.3f s; %d rows on the first screen of a day (of %d a day); "
                "the whole log (%d rows) read in %.3f s\n",
                arranque, filas, kv::bench::kIncidencias / 366, leidas, completo);
    const double apertura = Median(aperturas);
    const double pantalla = Median(pantallas);
    std::printf("opening / reading the whole log: %.4f\n", apertura / completo);
    Bench("app_open_installation_1M_incidences", apertura, "s", "0.5");
    Bench("app_incidence_view_first_screen_one_day_1M", pantalla, "s", "0.1");
    programa.reset();
    return apertura <= 0.5 && pantalla <= 0.1 && filas > 0 ? 0 : 1;
}
