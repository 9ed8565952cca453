// A new user with one card for 8 readers on two lines whose controllers run at
// real 9600 8E2 pacing: the save's time against the floor no save can beat,
// the described pauses before each command plus the request and the whole
// reply on the wire (a test and an addition per reader). Goal: within 1.1
// times that floor.
#include "tempinstall.h"
#include "../comun/consola.h"

#include "link/dornoprotocolo.h"
#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"
#include "simprocess.h"
#include "workflows/flujo_lectores.h"
#include "workflows/flujo_usuarios.h"
#include "workflows/interlocutor.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>

namespace {

constexpr double BYTE_MS = 1.25; // 12 bits at 9600 baud
constexpr int USUARIOS = 5;

using Bytes = std::vector<std::uint8_t>;

double Intercambio_ms(int pausa, std::uint8_t direccion, std::uint8_t comando, const Bytes &datos, std::uint8_t codigo,
                      const Bytes &respuesta)
{
    const Bytes peticion = TDORNOProtocolo::Construir_Trama(direccion, dorno::TAR_PC, comando, datos);
    const Bytes trama = TDORNOProtocolo::Construir_Trama(dorno::TAR_PC, direccion, codigo, respuesta);
    return pausa + BYTE_MS * static_cast<double>(peticion.size() + trama.size());
}

class Callado : public kv::wf::Interlocutor {
public:
    void Mensaje(const QString &texto, const QString &) override { std::fprintf(stderr, "%s\n", qPrintable(texto)); }
    bool Confirma(const QString &) override { return true; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    try {
        kv::test::SimProcess com1(1, {"--controllers", "1,2,3,4", "--pace"}, inst.portsDir());
        kv::test::SimProcess com2(2, {"--controllers", "1,2,3,4", "--pace"}, inst.portsDir());
        kv::bench::Abre_Instalacion(inst);
        std::vector<int> lectores;
        for (int i = 0; i < 8; ++i) {
            ZARVControlador c;
            c.Set_Cod(i + 1);
            c.Set_Puerto_Serie(i < 4 ? 1 : 2);
            c.Set_Direccion(static_cast<std::uint8_t>(i % 4 + 1));
            c.Set_Descripcion(QStringLiteral("Door %1").arg(i + 1));
            Globales::Sistema->Controladores()->Inserta(c);
            lectores.push_back(i + 1);
        }
        Globales::Sistema->Conecta_Controladores();
        Globales::Sistema->Incidencias()->Detiene_Registro();
        // As after the login: every reader tested once, so each has its
        // command layer (set up on first use, with the link's own pauses).
        kv::wf::Test_Controladores(lectores, [](int, const kv::wf::Resultado_Test &) {});

        double suelo = 0;
        for (int i = 0; i < 8; ++i) {
            const auto d = static_cast<std::uint8_t>(i % 4 + 1);
            suelo += Intercambio_ms(50, d, 27, {}, ',', Bytes(6, 0));
            suelo += Intercambio_ms(100, d, 97, Bytes(5, 0), dorno::ACK, {});
        }

        Callado operador;
        QElapsedTimer t;
        double total = 0;
        for (int u = 0; u < USUARIOS; ++u) {
            kv::wf::Datos_Usuario datos;
            datos.nombre = QStringLiteral("Bench %1").arg(u);
            datos.tarjetas = {QStringLiteral("%1").arg(4000000 + u, 10, 10, QLatin1Char('0'))};
            datos.lectores = lectores;
            t.restart();
            if (kv::wf::Guarda_Usuario_Nuevo(datos, operador) == 0)
                throw std::runtime_error("the user was not saved");
            total += static_cast<double>(t.elapsed());
        }
        const double ms = total / USUARIOS;
        // The same save with no reader ticked: what the database takes.
        double base = 0;
        for (int u = 0; u < USUARIOS; ++u) {
            kv::wf::Datos_Usuario datos;
            datos.nombre = QStringLiteral("Base %1").arg(u);
            datos.tarjetas = {QStringLiteral("%1").arg(5000000 + u, 10, 10, QLatin1Char('0'))};
            t.restart();
            kv::wf::Guarda_Usuario_Nuevo(datos, operador);
            base += static_cast<double>(t.elapsed());
        }
        std::printf("new user, 1 card, 8 readers on 2 lines: %.0f ms, floor %.0f ms, ratio %.3f; "
                    "the same save without readers %.0f ms\n",
                    ms, suelo, ms / suelo, base / USUARIOS);
        std::printf("BENCH users_new_user_8_readers_ms %.0f ms goal %.0f\n", ms, suelo * 1.10);
        std::printf("BENCH users_new_user_8_readers_ratio %.3f x goal 1.100\n", ms / suelo);
        Globales::Sistema.reset();
        Globales::Servidor.reset();
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "users_bench: %s\n", e.what());
        Globales::Sistema.reset();
        Globales::Servidor.reset();
        return 1;
    }
}
