// Loading an installation with 10,000 cardholders and 100 controllers,
// embedded: the cardholder load (goal 0.15 s), the controllers' reload, and
// the look-up by number the card load makes once per card.
//
// Each figure is the median of several runs. Where the model does something
// faster than the plain way, the plain way is measured in the same run and
// printed beside it.
#include "fbtest.h"
#include "tempinstall.h"

#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kCardholders = 10000;
constexpr int kControllers = 100;
constexpr int kRuns = 9;

double Median(const std::function<void()> &work, int runs = kRuns)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        work();
        t.push_back(e.nsecsElapsed() / 1e9);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void Bench(const char *name, double value, const char *unit, const char *goal)
{
    std::printf("BENCH %s %.6f %s goal %s\n", name, value, unit, goal);
    std::fflush(stdout);
}

bool Fill(const QString &file)
{
    kv::test::FbConnection c(file);
    if (!c.isOpen())
        return false;
    QSqlDatabase &db = c.db();
    db.transaction();
    QSqlQuery q(db);
    q.prepare("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) "
              "VALUES(gen_id(GEN_ZARVUSUARIO_ID, 1),:n,:a,'S',:f)");
    for (int i = 0; i < kCardholders; ++i) {
        q.bindValue(":n", QStringLiteral("Nombre %1").arg(i));
        q.bindValue(":a", QStringLiteral("Apellido%1 Segundo%2").arg(kCardholders - i).arg(i % 97));
        q.bindValue(":f", i % 3 ? QString() : QStringLiteral("/fotos/%1.jpg").arg(i));
        if (!q.exec()) {
            std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            return false;
        }
    }
    q.prepare("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(:c,:p,:d,'Null',:a)");
    for (int i = 0; i < kControllers; ++i) {
        q.bindValue(":c", i);
        q.bindValue(":p", 1 + i / 31);
        q.bindValue(":d", QStringLiteral("Door %1").arg(i));
        q.bindValue(":a", i % 31 + 1);
        if (!q.exec())
            return false;
    }
    return db.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid() || !Fill(inst.installationFile(1))) {
        std::fprintf(stderr, "cannot prepare the installation\n");
        return 1;
    }
    ZARVServer server;
    server.Configurar(QString(), inst.mainDatabase(), "quillpond", "sysdba");

    ZARVSistema sistema(nullptr, inst.installationFile(1), &server);
    QElapsedTimer open;
    open.start();
    sistema.Crea_Colecciones();
    Bench("model_open_installation_10000_cardholders_100_controllers", open.nsecsElapsed() / 1e9, "s", "-");

    ZARVColeccionUsuario &u = *sistema.Usuarios();
    if (u.Cuenta() != kCardholders || sistema.Controladores()->Cuenta() != kControllers) {
        std::fprintf(stderr, "loaded %d cardholders, %d controllers\n", u.Cuenta(), sistema.Controladores()->Cuenta());
        return 1;
    }

    Bench("model_cardholders_carga_10000", Median([&] { u.Carga(); }), "s", "0.15");
    u.Set_Orden("apellidos");
    Bench("model_cardholders_carga_10000_by_surname", Median([&] { u.Carga(); }), "s", "-");
    u.Set_Orden("id");
    u.Carga();

    Bench("model_controllers_refrescar_100", Median([&] { sistema.Controladores()->Refrescar(); }), "s", "-");

    // The card load looks every card's cardholder up by number. A walk of the
    // list per look-up, as the plain way goes, against the index built by Carga.
    volatile int found = 0;
    const double scan = Median(
        [&] {
            for (int id = 1; id <= kCardholders; ++id) {
                for (int i = 0; i < u.Cuenta(); ++i) {
                    if (u.Elemento(i)->Id() == id) {
                        found = found + 1;
                        break;
                    }
                }
            }
        },
        3);
    const double index = Median([&] {
        for (int id = 1; id <= kCardholders; ++id)
            found = found + (u.Busca(id) != nullptr);
    });
    Bench("model_cardholders_busca_10000_scan_before", scan, "s", "-");
    Bench("model_cardholders_busca_10000_index_after", index, "s", "-");
    return 0;
}
