// Backup and restore of an installation with 10,000 cardholders, 10,000
// cards (each on two readers) and 1,000,000 incidences, embedded: the
// installation window's export and import (the workflows, with the restore
// checked beside the installation and put in its place) against plain
// `gbak -b` and `gbak -c` of the same file, run alternately in the same
// process so that both see the same disk and cache. Goal: within 1.2 times
// the tool's own time.
//
// Each figure is the median of several runs.
#include "fbtest.h"
#include "registro_millon.h"
#include "tempinstall.h"
#include "../comun/consola.h"

#include "model/globales.h"
#include "workflows/gestion_instalaciones.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kTitulares = 10000;
constexpr int kTarjetas = 10000;
constexpr int kRuns = 3;

double Segundos(const std::function<bool()> &trabajo)
{
    QElapsedTimer e;
    e.start();
    if (!trabajo()) {
        std::fprintf(stderr, "a run failed\n");
        std::exit(1);
    }
    return e.nsecsElapsed() / 1e9;
}

double Mediana(std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void Bench(const char *name, double value, const char *unit, const char *goal)
{
    std::printf("BENCH %s %.3f %s goal %s\n", name, value, unit, goal);
    std::fflush(stdout);
}

// Cardholders past the log's 1,000, and one card per cardholder on readers 1 and 2.
const char *const kFill = R"(EXECUTE BLOCK AS
DECLARE i INTEGER = 0;
DECLARE t VARCHAR(10);
BEGIN
  WHILE (:i < %1) DO
  BEGIN
    INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia)
    VALUES(gen_id(GEN_ZARVUSUARIO_ID, 1), 'Nombre ' || :i, 'Apellido ' || :i, 'S', '');
    i = :i + 1;
  END
  i = 0;
  WHILE (:i < %2) DO
  BEGIN
    t = lpad(cast(:i + 1 as varchar(10)), 10, '0');
    INSERT INTO zarvtarjeta VALUES(:t, 'N', current_timestamp, current_timestamp, :i + 1, 'N');
    INSERT INTO zarvcontroladortarjeta VALUES(:t, 1, 'S');
    INSERT INTO zarvcontroladortarjeta VALUES(:t, 2, 'S');
    i = :i + 1;
  END
END)";

bool Llena(const QString &file)
{
    kv::test::FbConnection c(file);
    if (!c.isOpen())
        return false;
    c.db().transaction();
    {
        QSqlQuery q(c.db());
        if (!q.exec(QString::fromLatin1(kFill).arg(kTitulares).arg(kTarjetas))) {
            std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            return false;
        }
    }
    return c.db().commit() && c.scalar("select count(*) from zarvtarjeta").toInt() == kTarjetas;
}

bool Gbak(const QString &gbak, const QStringList &args)
{
    QProcess p;
    p.start(gbak, QStringList{"-user", "SYSDBA", "-password", "x"} + args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0) {
        std::fprintf(stderr, "gbak %s: %s\n", qPrintable(args.join(' ')), p.readAllStandardError().constData());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString gbak = QStandardPaths::findExecutable("gbak");
    if (gbak.isEmpty()) {
        std::printf("gbak is not installed: no comparison to make\n");
        return 0;
    }
    kv::test::TempInstall inst;
    const QString registro =
        kv::bench::Registro_Millon(inst.databaseDir() + "/INSTALACION_B.FDB", QStringLiteral(KV_BENCH_CACHE_DIR));
    const QString fichero = inst.installationFile(1);
    if (!inst.isValid() || registro.isEmpty() || !kv::test::copyFile(registro, fichero) || !Llena(fichero)) {
        std::fprintf(stderr, "cannot build the installation\n");
        return 1;
    }
    kv::bench::Abre_Consola(inst);

    const QString nuestra = inst.root() + "/keyvane.kvd";
    const QString suya = inst.root() + "/gbak.kvd";
    const QString restaurada = inst.root() + "/gbak.fdb";
    std::vector<double> copia, copia_gbak, restauracion, restauracion_gbak;
    for (int i = 0; i < kRuns; ++i) {
        copia.push_back(Segundos([&] {
            kv::wf::Exporta_Instalacion("1", nuestra);
            return true;
        }));
        copia_gbak.push_back(Segundos([&] {
            QFile::remove(suya);
            return Gbak(gbak, {"-b", fichero, suya});
        }));
        // The import as the window runs it, but on a closed installation,
        // as gbak finds it: the restore beside it, the checks, the swap.
        restauracion.push_back(Segundos([&] {
            return Globales::Servidor->Importa_Instalacion("instalacion_1", nuestra, inst.databaseDir() + "/").Correcto;
        }));
        restauracion_gbak.push_back(Segundos([&] {
            QFile::remove(restaurada);
            return Gbak(gbak, {"-c", suya, restaurada});
        }));
    }
    const double c = Mediana(copia), cg = Mediana(copia_gbak);
    const double r = Mediana(restauracion), rg = Mediana(restauracion_gbak);
    std::printf("median of %d runs; installation file %.0f MB, backup %.0f MB\n", kRuns,
                QFileInfo(fichero).size() / 1e6, QFileInfo(nuestra).size() / 1e6);
    Bench("installation_backup", c, "s", "-");
    Bench("installation_backup_gbak", cg, "s", "-");
    Bench("installation_backup_vs_gbak", c / cg, "x", "<=1.2");
    Bench("installation_restore", r, "s", "-");
    Bench("installation_restore_gbak", rg, "s", "-");
    Bench("installation_restore_vs_gbak", r / rg, "x", "<=1.2");
    Globales::Servidor.reset();
    return 0;
}
