// 500 card additions and 500 card reads against a simulated controller whose
// line runs at real 9600 8E2 speed, each set against the floor no link can
// beat: the command's pause before it, the request and the whole reply on the
// wire. Goal: within 1.2 times that floor.
#include "link/dornoprotocolo.h"
#include "link/zarvcomunicador.h"
#include "platform/paths.h"
#include "simprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// 500 of each unless a smaller count is given for a quick look.
int N = 500;
constexpr double BYTE_MS = 1.25; // 12 bits at 9600 baud
constexpr std::uint8_t DIRECCION = 170;

using Bytes = std::vector<std::uint8_t>;

Bytes Bytes_de(const QByteArray &b)
{
    return Bytes(b.begin(), b.end());
}

// Wire time and pauses of one exchange whose request and reply are these.
double Suelo_ms(int pausa_orden, std::uint8_t comando, const Bytes &datos, std::uint8_t codigo, const Bytes &respuesta)
{
    const Bytes peticion = TDORNOProtocolo::Construir_Trama(DIRECCION, dorno::TAR_PC, comando, datos);
    const Bytes trama = TDORNOProtocolo::Construir_Trama(dorno::TAR_PC, DIRECCION, codigo, respuesta);
    return pausa_orden + BYTE_MS * static_cast<double>(peticion.size() + trama.size());
}

QString Codigo(int i)
{
    return QStringLiteral("%1").arg(3000000 + i * 7, 10, 10, QLatin1Char('0'));
}

void Informe(const char *nombre, double ms_total, double suelo_total, int fallos)
{
    const double ms = ms_total / N, suelo = suelo_total / N;
    std::printf("%s: %.1f ms per exchange, floor %.1f ms, ratio %.3f, %d failed\n", nombre, ms, suelo, ms / suelo, fallos);
    std::printf("BENCH link_%s_ms %.1f ms goal %.1f\n", nombre, ms, suelo * 1.20);
    std::printf("BENCH link_%s_ratio %.3f x goal 1.200\n", nombre, ms / suelo);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        N = qBound(1, QByteArray(argv[1]).toInt(), 500);
    QTemporaryDir dir;
    kv::Paths::setPortsDir(dir.path());
    try {
        kv::test::SimProcess sim(5, {QStringLiteral("--controllers"), QStringLiteral("170"), QStringLiteral("--pace")});
        ZARVComunicador com;
        com.Puerto_Serie = QStringLiteral("5");
        com.Conectar();

        double suelo = 0;
        int fallos = 0;
        QElapsedTimer t;
        t.start();
        for (int i = 1; i <= N; ++i) {
            const QByteArray bcd = ZARVComunicador::Codigo_a_BCD(Codigo(i));
            suelo += Suelo_ms(100, 97, Bytes_de(bcd), dorno::ACK, {});
            fallos += !com.Anyadir_Tarjeta(Codigo(i), DIRECCION);
        }
        Informe("anyadir_tarjeta", static_cast<double>(t.elapsed()), suelo, fallos);

        suelo = 0;
        fallos = 0;
        t.restart();
        for (int i = 1; i <= N; ++i) {
            const Bytes indice = {static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i & 0xFF)};
            suelo += Suelo_ms(200, 113, indice, '/', Bytes_de(ZARVComunicador::Codigo_a_BCD(Codigo(i))));
            fallos += com.Leer_Tarjeta(static_cast<std::uint16_t>(i), DIRECCION) != Codigo(i);
        }
        Informe("leer_tarjeta", static_cast<double>(t.elapsed()), suelo, fallos);
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "link_exchange_bench: %s\n", e.what());
        return 1;
    }
}
