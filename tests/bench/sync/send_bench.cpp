// The full send of 1,000 cards spread over 4 controllers on two lines whose
// controllers run at real 9600 8E2 pacing: cards per second, and the time
// against the floor no send can beat (the described pause before each
// command plus the request and the whole reply on the wire: one erase per
// controller and one load per card). Goal: within 1.1 times that floor.
#include "tempinstall.h"
#include "../comun/consola.h"

#include "fbtest.h"
#include "link/dornoprotocolo.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"
#include "simprocess.h"
#include "workflows/flujo_lectores.h"
#include "workflows/interlocutor.h"
#include "workflows/sincronizacion.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>

namespace {

constexpr double BYTE_MS = 1.25; // 12 bits at 9600 baud
int CARDS = 1000;

using Bytes = std::vector<std::uint8_t>;

double Intercambio_ms(int pausa, std::uint8_t direccion, std::uint8_t comando, const Bytes &datos, std::uint8_t codigo,
                      const Bytes &respuesta)
{
    const Bytes peticion = TDORNOProtocolo::Construir_Trama(direccion, dorno::TAR_PC, comando, datos);
    const Bytes trama = TDORNOProtocolo::Construir_Trama(dorno::TAR_PC, direccion, codigo, respuesta);
    return pausa + BYTE_MS * static_cast<double>(peticion.size() + trama.size());
}

class Sin_Ventana : public kv::wf::Progreso {
public:
    void Muestra() override {}
    void Rango(int) override {}
    void Paso(const QString &) override {}
    void Cierra() override {}
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1)
        CARDS = qBound(4, QByteArray(argv[1]).toInt(), 1000);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    try {
        kv::test::SimProcess com1(1, {"--controllers", "1,2", "--pace"}, inst.portsDir());
        kv::test::SimProcess com2(2, {"--controllers", "1,2", "--pace"}, inst.portsDir());
        {
            kv::test::FbConnection db(inst.installationFile(1));
            QStringList filas;
            for (int c = 1; c <= 4; ++c)
                db.exec(QStringLiteral("INSERT INTO zarvcontrolador(cod,puerto_serie,descripcion,tipo,direccion) "
                                       "VALUES(%1,%2,'Door %1','',%3)")
                            .arg(c)
                            .arg(c <= 2 ? 1 : 2)
                            .arg((c - 1) % 2 + 1));
            for (int i = 0; i < CARDS; ++i) {
                const QString codigo = QStringLiteral("%1").arg(6000000 + i, 10, 10, QLatin1Char('0'));
                db.exec(QStringLiteral("INSERT INTO zarvtarjeta VALUES('%1','N',NULL,NULL,-1,'N')").arg(codigo));
                db.exec(QStringLiteral("INSERT INTO zarvcontroladortarjeta VALUES('%1',%2,'N')").arg(codigo).arg(1 + i % 4));
            }
        }
        kv::bench::Abre_Instalacion(inst);
        Globales::Sistema->Conecta_Controladores();
        Globales::Sistema->Incidencias()->Detiene_Registro();
        // As after the login: every reader tested once.
        kv::wf::Test_Controladores({1, 2, 3, 4}, [](int, const kv::wf::Resultado_Test &) {});

        double suelo = 0;
        for (int c = 1; c <= 4; ++c)
            suelo += Intercambio_ms(100, static_cast<std::uint8_t>((c - 1) % 2 + 1), 81, {}, dorno::ACK, {});
        for (int i = 0; i < CARDS; ++i)
            suelo += Intercambio_ms(100, static_cast<std::uint8_t>(i % 2 + 1), 34, Bytes(6, 0), dorno::ACK, {});

        Sin_Ventana progreso;
        QElapsedTimer t;
        t.start();
        const kv::wf::Resultado_Envio r = kv::wf::Envia_Todas(progreso);
        const double ms = static_cast<double>(t.elapsed());
        std::printf("send of %d cards to 4 readers on 2 lines: %.1f s (%d stored, %d pending), floor %.1f s, "
                    "%.2f cards/s, ratio %.3f\n",
                    CARDS, ms / 1000, r.cargadas, r.pendientes, suelo / 1000, CARDS * 1000.0 / ms, ms / suelo);
        std::printf("BENCH sync_send_%d_cards_s %.1f s goal %.1f\n", CARDS, ms / 1000, suelo * 1.10 / 1000);
        std::printf("BENCH sync_send_%d_cards_ratio %.3f x goal 1.100\n", CARDS, ms / suelo);
        std::printf("BENCH sync_send_%d_cards_pending %d cards goal 0\n", CARDS, r.pendientes);
        Globales::Sistema.reset();
        Globales::Servidor.reset();
        return r.pendientes == 0 ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "send_bench: %s\n", e.what());
        Globales::Sistema.reset();
        Globales::Servidor.reset();
        return 1;
    }
}
