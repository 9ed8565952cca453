// Reloading the cards of an installation with 10,000 cards, 30,000
// assignments, 10,000 cardholders and 100 controllers, embedded: Refrescar
// (goal 0.3 s) beside the same reload with one assignment statement per card,
// measured in the same run. Both must give every card the same entries.
#include "fbtest.h"
#include "tempinstall.h"

#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcolecciontarjeta.h"
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

constexpr int kCards = 10000;
constexpr int kPerCard = 3;
constexpr int kHolders = 10000;
constexpr int kControllers = 100;

double Median(const std::function<void()> &work, int runs)
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

QString Code(int i)
{
    return QStringLiteral("%1").arg(i * 7 + 1000, 10, 10, QLatin1Char('0'));
}

bool Exec(QSqlQuery &q)
{
    if (q.exec())
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
    return false;
}

bool Fill(const QString &file)
{
    kv::test::FbConnection c(file);
    if (!c.isOpen())
        return false;
    QSqlDatabase &db = c.db();
    db.transaction();
    QSqlQuery q(db);
    q.prepare("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(:i,:n,:a,'S','')");
    for (int i = 1; i <= kHolders; ++i) {
        q.bindValue(":i", i);
        q.bindValue(":n", QStringLiteral("Nombre %1").arg(i));
        q.bindValue(":a", QStringLiteral("Apellido %1").arg(i));
        if (!Exec(q))
            return false;
    }
    q.prepare("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) VALUES(:c,:p,:d,'Null',:a)");
    for (int i = 0; i < kControllers; ++i) {
        q.bindValue(":c", i);
        q.bindValue(":p", 1 + i / 31);
        q.bindValue(":d", QStringLiteral("Door %1").arg(i));
        q.bindValue(":a", i % 31 + 1);
        if (!Exec(q))
            return false;
    }
    q.prepare("INSERT INTO zarvtarjeta VALUES(:c,'N','2024-01-01 00:00:00','2030-01-01 00:00:00',:u,'S')");
    for (int i = 0; i < kCards; ++i) {
        q.bindValue(":c", Code(i));
        // One card in ten without cardholder.
        q.bindValue(":u", i % 10 == 0 ? -1 : 1 + (i * 37) % kHolders);
        if (!Exec(q))
            return false;
    }
    // Assignments inserted controller by controller, as sending a whole
    // controller writes them, so no card's rows lie together.
    q.prepare("INSERT INTO zarvcontroladortarjeta VALUES(:t,:c,:f)");
    for (int k = 0; k < kPerCard; ++k) {
        for (int i = 0; i < kCards; ++i) {
            q.bindValue(":t", Code(i));
            q.bindValue(":c", (i + k * 31) % kControllers);
            q.bindValue(":f", (i + k) % 4 ? "S" : "N");
            if (!Exec(q))
                return false;
        }
    }
    return db.commit();
}

// The reload with each card's own assignment statement, prepared once.
class PorTarjeta : public ZARVColeccionTarjeta {
public:
    using ZARVColeccionTarjeta::ZARVColeccionTarjeta;

protected:
    void Lee_Asignaciones_De(const std::vector<std::shared_ptr<ZARVTarjeta>> &tarjetas) override
    {
        ZARVColeccionControlador *ctl = Sistema()->Controladores();
        QSqlQuery &q = Prepara("SELECT controlador,\"_STOREDINHW\" FROM zarvcontroladortarjeta WHERE tarjeta=:tarjeta");
        for (const auto &t : tarjetas) {
            q.bindValue(":tarjeta", t->Codigo_Tarjeta());
            Ejecuta();
            while (q.next()) {
                if (auto c = ctl->Busca(q.value(0).toInt()))
                    t->Anade_Controlador(c, q.value(1).toString() == QLatin1String("S"));
            }
            q.finish();
        }
    }
};

QStringList Entries(ZARVColeccionTarjeta &c)
{
    QStringList out;
    for (c.Primero(); !c.Fin(); c.Siguiente()) {
        const auto t = c.Elemento(-1);
        QString s = t->Codigo_Tarjeta();
        for (const auto &e : t->Controladores())
            s += QStringLiteral(" %1%2").arg(e.Controlador->Cod()).arg(e.Almacenada ? 'S' : 'N');
        out << s;
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid() || !Fill(inst.installationFile(1)))
        return 1;
    ZARVServer server;
    server.Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    ZARVSistema sistema(nullptr, inst.installationFile(1), &server);
    sistema.Crea_Colecciones();
    ZARVColeccionTarjeta *tarjetas = sistema.Tarjetas();
    PorTarjeta porTarjeta(&sistema, inst.installationFile(1), nullptr);

    std::size_t entradas = 0;
    for (tarjetas->Primero(); !tarjetas->Fin(); tarjetas->Siguiente())
        entradas += tarjetas->Elemento(-1)->Controladores().size();
    if (tarjetas->Cuenta() != kCards || entradas != std::size_t(kCards * kPerCard)) {
        std::fprintf(stderr, "loaded %d cards with %zu entries\n", tarjetas->Cuenta(), entradas);
        return 1;
    }
    if (Entries(*tarjetas) != Entries(porTarjeta)) {
        std::fprintf(stderr, "the one-statement reload differs from the per-card reload\n");
        return 1;
    }

    const double una = Median([&] { tarjetas->Refrescar(); }, 9);
    const double cada = Median([&] { porTarjeta.Refrescar(); }, 3);
    Bench("cards_refrescar_10k_cards_30k_assignments", una, "s", "0.3");
    Bench("cards_refrescar_per_card_statement_10k_cards_30k_assignments", cada, "s", "none");
    return una <= 0.3 ? 0 : 1;
}
