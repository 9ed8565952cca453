// The cardholders' collection with 10,000 cardholders, embedded and through a
// local Firebird server started for the run: the inserts one by one, as the
// users page stores them, and its refresh (Refrescar). Goal: the refresh
// through the server within 3 times the embedded one.
#include "tempinstall.h"

#include "model/zarvcoleccionusuario.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"
#include "model/zarvusuario.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

constexpr int CARDHOLDERS = 10000;

struct Tiempos {
    double inserts_ms = 0;
    double refresh_ms = 0;
};

Tiempos Mide(const QString &host, const QString &usuario, const QString &password)
{
    kv::test::TempInstall inst;
    if (!inst.isValid())
        throw std::runtime_error("no installation copy");
    ZARVServer servidor;
    servidor.Configurar(host, inst.mainDatabase(), password, usuario);
    servidor.Abre_Sesion_Consola();
    ZARVSistema sistema(nullptr, inst.installationFile(1), &servidor);
    sistema.Crea_Colecciones();
    ZARVColeccionUsuario *usuarios = sistema.Usuarios();
    Tiempos r;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < CARDHOLDERS; ++i) {
        ZARVUsuario u;
        u.Set_Nombre(QStringLiteral("Holder %1").arg(i));
        u.Set_Apellidos(QStringLiteral("Bench"));
        int id = 0;
        usuarios->Inserta(u, id);
    }
    r.inserts_ms = static_cast<double>(t.elapsed());
    // Best of three: the first may also warm the server's page cache.
    r.refresh_ms = 1e12;
    for (int i = 0; i < 3; ++i) {
        t.restart();
        usuarios->Refrescar();
        r.refresh_ms = std::min(r.refresh_ms, static_cast<double>(t.elapsed()));
    }
    if (usuarios->Cuenta() < CARDHOLDERS)
        throw std::runtime_error("the refresh lost cardholders");
    return r;
}

bool Servidor(const QString &accion, const QString &dir)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(KV_FBSERVER), {accion, dir});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid() || !Servidor(QStringLiteral("start"), dir.path())) {
        std::fprintf(stderr, "server_bench: the server did not start\n");
        return 1;
    }
    int estado = 0;
    try {
        QFile f(dir.path() + QStringLiteral("/cuenta"));
        if (!f.open(QIODevice::ReadOnly))
            throw std::runtime_error("no account file");
        const QStringList c = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        const Tiempos e = Mide(QString(), QStringLiteral("sysdba"), QStringLiteral("quillpond"));
        const Tiempos s = Mide(c.value(0), c.value(1), c.value(2));
        std::printf("%d cardholders: inserts %.0f ms embedded, %.0f ms server; refresh %.0f ms embedded, %.0f ms server\n",
                    CARDHOLDERS, e.inserts_ms, s.inserts_ms, e.refresh_ms, s.refresh_ms);
        std::printf("BENCH server_inserts_10000_ratio %.2f x goal -\n", s.inserts_ms / std::max(1.0, e.inserts_ms));
        std::printf("BENCH server_refresh_10000_ms %.0f ms goal -\n", s.refresh_ms);
        std::printf("BENCH server_refresh_10000_ratio %.2f x goal 3.00\n", s.refresh_ms / std::max(1.0, e.refresh_ms));
    } catch (const std::exception &ex) {
        std::fprintf(stderr, "server_bench: %s\n", ex.what());
        estado = 1;
    }
    Servidor(QStringLiteral("stop"), dir.path());
    return estado;
}
