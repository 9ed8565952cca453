// 1,000 card events presented at a keyvane-sim controller while registering
// is on and no exchange runs: every one must become a stored row (goal 1000)
// and a notice to the main window, once. Also printed: how fast they are
// stored, and how many frames the controller had to send again.
#include "fbtest.h"
#include "simprocess.h"
#include "tempinstall.h"

#include "link/zarvcomunicador.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlQuery>
#include <cstdio>

namespace {

constexpr int kEvents = 1000;
constexpr int kCards = 100;

void Bench(const char *name, double value, const char *unit, const char *goal)
{
    std::printf("BENCH %s %.6f %s goal %s\n", name, value, unit, goal);
    std::fflush(stdout);
}

QString Code(int i)
{
    return QStringLiteral("%1").arg(12340000 + i, 10, 10, QLatin1Char('0'));
}

bool Fill(const QString &file)
{
    kv::test::FbConnection c(file);
    if (!c.isOpen() || !c.exec("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                               "VALUES(1,3,'Front','Null',0)"))
        return false;
    for (int i = 0; i < kCards; ++i) {
        if (!c.exec(QStringLiteral("INSERT INTO zarvusuario(id,nombre,apellidos,permanente,fotografia) "
                                   "VALUES(%1,'N%1','A%1','S','')")
                        .arg(i + 1))
            || !c.exec(QStringLiteral("INSERT INTO zarvtarjeta VALUES('%1','N',NULL,NULL,%2,'N')").arg(Code(i)).arg(i + 1)))
            return false;
    }
    return true;
}

int Stat(const QString &stats, const char *name)
{
    const QRegularExpression re(QStringLiteral("\\b%1=(\\d+)").arg(QLatin1String(name)));
    const auto m = re.match(stats);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid() || !Fill(inst.installationFile(1)))
        return 1;
    kv::test::SimProcess sim(3, {"--controllers", "170"}, inst.portsDir());

    ZARVServer server;
    server.Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    ZARVSistema sistema(nullptr, inst.installationFile(1), &server);
    sistema.Crea_Colecciones();
    sistema.Conecta_Controladores();
    ZARVColeccionIncidencia *log = sistema.Incidencias();
    int avisos = 0;
    // The link's notices still waiting, at their highest: the queue that
    // holds acknowledged events until the notice timer hands them on.
    std::size_t en_cola = 0;
    TDORNO *enlace = nullptr;
    const auto Mide = [&] {
        if (enlace)
            en_cola = std::max(en_cola, enlace->Avisos_Pendientes());
    };
    log->OnNuevaIncidencia = [&](ZARVColeccionIncidencia *, const TEventoInformacion &) {
        ++avisos;
        Mide();
    };
    log->Inicia_Registro();
    enlace = sistema.Controladores()->Busca(1)->Comunicador()->Enlace();

    QElapsedTimer e;
    e.start();
    // The control socket and the event loop take turns, so the link never
    // leaves an event unacknowledged long enough for the controller to send
    // it again because of the test itself.
    for (int i = 0; i < kEvents; ++i) {
        if (!sim.ok(QStringLiteral("card 170 %1").arg(Code(i % kCards))))
            return 1;
        QCoreApplication::processEvents();
        Mide();
    }
    const double enviados = e.nsecsElapsed() / 1e9;
    int antes = -1;
    QDeadlineTimer quieto(10000);
    while (avisos < kEvents && !quieto.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (avisos != antes) {
            antes = avisos;
            quieto.setRemainingTime(10000);
        }
    }
    const double segundos = e.nsecsElapsed() / 1e9;
    // Anything still on its way would show as a notice after this.
    const QDeadlineTimer cola(1500);
    while (!cola.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    kv::test::FbConnection c(inst.installationFile(1));
    const int filas = c.scalar("select count(*) from zarvincidencia").toInt();
    const int bien = c.scalar(QStringLiteral("select count(*) from zarvincidencia where controlador=1 and evento=1 and "
                                             "usr between 1 and %1 and char_length(tarjeta)=7")
                                  .arg(kCards))
                         .toInt();
    const QString stats = sim.command("stats").join(' ');
    std::printf("stored %d rows (%d as expected), %d notices, %d lost to the database; %s\n", filas, bien, avisos,
                log->Perdidas(), qPrintable(stats));
    std::printf("commands sent in %.1f s, last notice after %.1f s, at most %zu notices waiting in the link (it keeps %zu)\n",
                enviados, segundos, en_cola, TDORNO::MAX_AVISOS);
    Bench("incidences_events_stored_of_1000", filas, "rows", "1000");
    Bench("incidences_events_stored_per_second", filas / segundos, "rows/s", "none");
    Bench("incidences_events_frames_sent_again", Stat(stats, "frames_out") - kEvents, "frames", "none");
    return filas == kEvents && bien == kEvents && avisos == kEvents ? 0 : 1;
}
