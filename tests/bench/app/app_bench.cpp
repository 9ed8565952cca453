// The application shell under load: start-up to the login window with eight
// answering simulated controllers and 10,000 cardholders (each with a card
// stored in one reader), and the users page refresh on that installation
// (goal within 1 s). Each figure is the median of several runs.
#include "fbtest.h"
#include "simprocess.h"
#include "tempinstall.h"

#include "app/programa.h"
#include "app/tf_login.h"
#include "app/tf_main.h"
#include "app/ventanas.h"
#include "model/variables.h"
#include "ui/operador.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kCardholders = 10000;

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

// Eight readers, four per line, and the cardholders with one card each,
// stored in the reader of their number modulo eight.
bool Fill(const kv::test::TempInstall &inst)
{
    kv::test::FbConnection c(inst.installationFile(1));
    if (!c.isOpen())
        return false;
    QSqlDatabase &db = c.db();
    db.transaction();
    QSqlQuery q(db);
    for (int i = 0; i < 8; ++i) {
        if (!q.exec(QStringLiteral("INSERT INTO zarvcontrolador (cod, puerto_serie, tipo, descripcion, direccion) "
                                   "VALUES (%1, %2, '', 'Door %1', %3)")
                        .arg(i + 1)
                        .arg(i < 4 ? 1 : 2)
                        .arg(i % 4 + 1)))
            return false;
    }
    QSqlQuery u(db), t(db), a(db);
    u.prepare("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) VALUES(:id,:n,:a,'S','')");
    t.prepare("INSERT INTO zarvtarjeta VALUES (:c, 'N', current_timestamp, current_timestamp, :u, 'N')");
    a.prepare("INSERT INTO zarvcontroladortarjeta VALUES (:c, :k, 'S')");
    for (int i = 1; i <= kCardholders; ++i) {
        const QString codigo = QStringLiteral("%1").arg(i, 10, 10, QLatin1Char('0'));
        u.bindValue(":id", i);
        u.bindValue(":n", QStringLiteral("Name %1").arg(i));
        u.bindValue(":a", QStringLiteral("Surname %1").arg(i));
        t.bindValue(":c", codigo);
        t.bindValue(":u", i);
        a.bindValue(":c", codigo);
        a.bindValue(":k", i % 8 + 1);
        if (!u.exec() || !t.exec() || !a.exec())
            return false;
    }
    return db.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kv::ui::Operador::setUnattended(true);
    kv::test::TempInstall inst;
    if (!inst.isValid() || !Fill(inst)) {
        std::fprintf(stderr, "cannot prepare the installation\n");
        return 1;
    }
    QFile ajustes(inst.systemDir() + QStringLiteral("/KEYVANE20.INI"));
    if (!ajustes.open(QIODevice::WriteOnly))
        return 1;
    ajustes.write("[General]\r\nIdioma=ENGLISH\r\n");
    ajustes.close();

    kv::test::SimProcess com1(1, {"--controllers", "1,2,3,4"}, inst.portsDir());
    kv::test::SimProcess com2(2, {"--controllers", "1,2,3,4"}, inst.portsDir());

    std::vector<double> arranques;
    std::vector<double> refrescos;
    int respondieron = 0;
    for (int vuelta = 0; vuelta < 3; ++vuelta) {
        Variables::Restablecer();
        kv::ui::Operador::clear();
        QElapsedTimer reloj;
        reloj.start();
        auto programa = std::make_unique<kv::app::Programa>();
        programa->Inicia();
        QApplication::processEvents();
        arranques.push_back(reloj.nsecsElapsed() / 1e9);

        TF_Main *m = Ventanas::F_Main;
        respondieron = 0;
        for (int i = 0; i < m->Lectores()->L1_Contr->topLevelItemCount(); ++i)
            respondieron += m->Lectores()->L2_Contr->topLevelItem(i) && m->Lectores()->L2_Contr->topLevelItem(i)->text(2) != "???";
        for (int i = 0; i < 3; ++i) {
            reloj.restart();
            m->Refrescar_usuariosII();
            refrescos.push_back(reloj.nsecsElapsed() / 1e9);
        }
        if (m->Usuarios()->Lista1->topLevelItemCount() != kCardholders) {
            std::fprintf(stderr, "users page shows %d rows\n", m->Usuarios()->Lista1->topLevelItemCount());
            return 1;
        }
    }
    if (respondieron != 8)
        std::fprintf(stderr, "only %d of 8 readers answered the start-up test\n", respondieron);
    Bench("app_startup_to_login_8_readers_10000_cardholders", Median(arranques), "s", "none");
    Bench("app_users_page_refresh_10000_cardholders", Median(refrescos), "s", "1.0");
    return respondieron == 8 ? 0 : 1;
}
