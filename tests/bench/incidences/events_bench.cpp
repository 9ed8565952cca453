// Events at wire speed while registering is on: 10,000 card events (a count
// given on the command line for a quick look) from four controllers, two on
// each of two keyvane-sim lines paced at 9600 8E2. The controllers hold their
// events while the lines are closed, so all of them are waiting when
// registering starts and every line runs flat out. Measured from the
// simulators' frame logs: how long each event frame waited for the PC's ACK
// (median and 99th percentile); from the database: rows stored per second,
// events lost, events stored twice and events given to the wrong controller.
#include "fbtest.h"
#include "simprocess.h"
#include "tempinstall.h"

#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

int kEventos = 10000;

struct Controlador {
    int cod;
    int puerto;
    int direccion;
};
// Two controllers on each line; address 0 of the record answers to 170.
const Controlador kControladores[] = {{1, 3, 0}, {2, 3, 2}, {3, 4, 5}, {4, 4, 7}};

void Bench(const char *name, double value, const char *unit, const char *goal)
{
    std::printf("BENCH %s %.3f %s goal %s\n", name, value, unit, goal);
    std::fflush(stdout);
}

// The card code tells which controller presented it and the event's number.
QString Codigo(int cod, int i)
{
    return QStringLiteral("%1%2").arg(cod).arg(i, 9, 10, QLatin1Char('0'));
}

bool Llenar(const QString &file)
{
    kv::test::FbConnection c(file);
    if (!c.isOpen())
        return false;
    for (const Controlador &k : kControladores) {
        if (!c.exec(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                                   "VALUES(%1,%2,'Door %1','Null',%3)")
                        .arg(k.cod).arg(k.puerto).arg(k.direccion)))
            return false;
    }
    return true;
}

// ACK wait of every event frame in one simulator's log, in ms: from the
// frame's last byte on the wire (the log notes a frame as its first byte
// goes, and each byte takes 1.25 ms) to the ACK's arrival.
std::vector<int> Esperas(const QString &log)
{
    std::vector<int> esperas;
    int enviado = -1;
    for (const QString &linea : log.split(QLatin1Char('\n'))) {
        const int ms = QTime::fromString(linea.left(12), QStringLiteral("HH:mm:ss.zzz")).msecsSinceStartOfDay();
        if (linea.contains(QLatin1String(" out ")) && linea.contains(QLatin1String(", send "))) {
            const qsizetype bytes = linea.section(QLatin1Char('|'), 0, 0).section(QStringLiteral(" out "), 1).split(
                QLatin1Char(' '), Qt::SkipEmptyParts).size();
            enviado = ms + static_cast<int>(bytes * 1.25 + 0.5);
        } else if (enviado >= 0 && linea.contains(QLatin1String(" in 06 | ACK"))) {
            int espera = ms - enviado;
            if (espera < 0)
                espera += 24 * 3600 * 1000; // past midnight
            esperas.push_back(espera);
            enviado = -1;
        }
    }
    return esperas;
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
    if (argc > 1)
        kEventos = std::max(4, QByteArray(argv[1]).toInt());
    kv::test::TempInstall inst;
    if (!inst.isValid() || !Llenar(inst.installationFile(1)))
        return 1;
    kv::test::SimProcess sim3(3, {"--controllers", "170,2", "--pace"}, inst.portsDir());
    kv::test::SimProcess sim4(4, {"--controllers", "5,7", "--pace"}, inst.portsDir());

    ZARVServer server;
    server.Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    ZARVSistema sistema(nullptr, inst.installationFile(1), &server);
    sistema.Crea_Colecciones();
    sistema.Conecta_Controladores();
    ZARVColeccionIncidencia *log = sistema.Incidencias();
    // Lines closed: the controllers keep what is presented until they are heard.
    log->Detiene_Registro();
    int avisos = 0;
    log->OnNuevaIncidencia = [&](ZARVColeccionIncidencia *, const TEventoInformacion &) { ++avisos; };

    const int por_controlador = kEventos / 4;
    for (int i = 0; i < por_controlador; ++i) {
        for (const Controlador &k : kControladores) {
            kv::test::SimProcess &sim = k.puerto == 3 ? sim3 : sim4;
            if (!sim.ok(QStringLiteral("card %1 %2").arg(k.direccion).arg(Codigo(k.cod, i))))
                return 1;
        }
    }
    const int total = por_controlador * 4;

    QElapsedTimer e;
    e.start();
    log->Inicia_Registro();
    int antes = -1;
    QDeadlineTimer quieto(10000);
    while (avisos < total && !quieto.hasExpired()) {
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
    log->Detiene_Registro();

    kv::test::FbConnection c(inst.installationFile(1));
    const int filas = c.scalar("select count(*) from zarvincidencia").toInt();
    const int distintas = c.scalar("select count(distinct tarjeta) from zarvincidencia").toInt();
    // The first digit of the code names the controller that presented it.
    const int bien = c.scalar("select count(*) from zarvincidencia where evento=1 and char_length(tarjeta)=10 and "
                              "substring(tarjeta from 1 for 1) = cast(controlador as varchar(2))")
                         .toInt();
    const int perdidas = total - distintas;
    const int repetidas = filas - distintas;

    std::vector<int> esperas = Esperas(sim3.log());
    const std::vector<int> e4 = Esperas(sim4.log());
    esperas.insert(esperas.end(), e4.begin(), e4.end());
    std::sort(esperas.begin(), esperas.end());
    const auto Percentil = [&](double p) {
        return esperas.empty() ? -1 : esperas[std::min(esperas.size() - 1, static_cast<std::size_t>(p * esperas.size()))];
    };
    const QString s3 = sim3.command("stats").join(' ');
    const QString s4 = sim4.command("stats").join(' ');
    const int reenviadas = Stat(s3, "frames_out") + Stat(s4, "frames_out") - total;

    std::printf("%d events in %.1f s: %d rows, %d distinct, %d attributed right, %d notices, %d lost to the database; "
                "%zu ACKs timed, %d frames sent again\n",
                total, segundos, filas, distintas, bien, avisos, log->Perdidas(), esperas.size(), reenviadas);
    Bench("incidences_events_per_second", filas / segundos, "rows/s", "none");
    Bench("incidences_events_ack_median_ms", Percentil(0.5), "ms", "20");
    Bench("incidences_events_ack_p99_ms", Percentil(0.99), "ms", "100");
    Bench("incidences_events_lost", perdidas, "events", "0");
    Bench("incidences_events_duplicated", repetidas, "events", "0");
    Bench("incidences_events_misattributed", distintas - bien, "events", "0");
    Bench("incidences_events_frames_sent_again", reenviadas, "frames", "none");
    return perdidas == 0 && repetidas == 0 && bien == distintas ? 0 : 1;
}
