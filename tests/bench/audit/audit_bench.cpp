// The operators' log at 1,000,000 entries (a year of a busy site, one entry
// every 31.5 s): the logins page's first screen for a one-month filter,
// alone and with a login or an object on top (goal: 0.1 s), and what writing
// an entry adds to a workflow, measured as the same card registration with
// and without its entry side by side (goal: 5 ms).
#include "../comun/banco.h"
#include "tempinstall.h"
#include "../comun/consola.h"

#include "model/auditoria.h"
#include "model/globales.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"
#include "workflows/flujo_tarjetas.h"
#include "workflows/registro_operadores.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>
#include <memory>

namespace {

constexpr int kEntradas = 1000000;

// Written by the database itself in one block: the time trigger is off so
// that the entries spread over 2026.
bool Llena(QSqlDatabase &db)
{
    QSqlQuery q(db);
    const bool ok = q.exec("ALTER TRIGGER TRA_ZARVAUDITORIA_ALTA INACTIVE")
        && q.exec(QStringLiteral(
            "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
            "INSERT INTO ZARVAUDITORIA(ID, MOMENTO, LOGIN, ACCION, TARJETA, USUARIO, NOMBRE, CONTROLADOR, RESULTADO) "
            "VALUES (:i + 1, DATEADD(:i * 31536 / 1000 SECOND TO TIMESTAMP '2026-01-01 00:00:00'), "
            "IIF(MOD(:i, 3) = 0, 'admin', IIF(MOD(:i, 3) = 1, 'guard', 'desk')), "
            "IIF(MOD(:i, 2) = 0, 'card assigned', 'cardholder changed'), "
            "LPAD(MOD(:i, 5000), 10, '0'), MOD(:i, 1000) + 1, 'Holder ' || MOD(:i, 1000), MOD(:i, 8) + 1, 'done'); "
            "i = i + 1; END END").arg(kEntradas))
        && q.exec("ALTER TRIGGER TRA_ZARVAUDITORIA_ALTA ACTIVE")
        && q.exec(QStringLiteral("SET GENERATOR GEN_ZARVAUDITORIA TO %1").arg(kEntradas));
    if (!ok)
        std::fprintf(stderr, "fill: %s\n", qPrintable(q.lastError().text()));
    return ok;
}

double Pantalla(const Auditoria::Filtro &f, std::size_t &filas)
{
    std::vector<double> t;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer r;
        r.start();
        filas = kv::wf::Pagina_Auditoria(f).size();
        t.push_back(r.nsecsElapsed() / 1e9);
    }
    return kv::bench::Median(t);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    kv::test::TempInstall inst;
    if (!inst.isValid())
        return 1;
    try {
        kv::bench::Abre_Instalacion(inst);

        QElapsedTimer llenado;
        llenado.start();
        if (!Llena(Globales::Sistema->Conexion()))
            return 1;
        std::printf("filled %d entries in %.1f s\n", kEntradas, llenado.elapsed() / 1000.0);

        const Auditoria::Filtro junio{.desde = QDate(2026, 6, 1), .hasta = QDate(2026, 6, 30)};
        std::size_t filas = 0;
        const double mes = Pantalla(junio, filas);
        std::printf("one month: %zu rows on the first screen\n", filas);
        Auditoria::Filtro login = junio;
        login.login = "guard";
        const double con_login = Pantalla(login, filas);
        Auditoria::Filtro objeto = junio;
        objeto.objeto = "Holder 77";
        const double con_objeto = Pantalla(objeto, filas);
        std::printf("one month and an object: %zu rows on the first screen\n", filas);
        const double todo = Pantalla({}, filas);
        kv::bench::Bench("audit_first_screen_month_s", mes, "s", "0.1");
        kv::bench::Bench("audit_first_screen_month_login_s", con_login, "s", "0.1");
        kv::bench::Bench("audit_first_screen_month_object_s", con_objeto, "s", "0.1");
        std::printf("newest screen, no filter: %.4f s\n", todo);

        // The same registration, alternately with its entry and with the
        // entries held back.
        std::vector<double> con, sin;
        for (int i = 0; i < 200; ++i) {
            const bool agrupa = i % 2;
            std::unique_ptr<Auditoria::Agrupacion> sin_entradas;
            if (agrupa)
                sin_entradas = std::make_unique<Auditoria::Agrupacion>();
            QElapsedTimer r;
            r.start();
            kv::wf::Registra_Tarjeta(QString::number(900000 + i), false, {});
            (agrupa ? sin : con).push_back(r.nsecsElapsed() / 1e6);
        }
        const double m_con = kv::bench::Median(con), m_sin = kv::bench::Median(sin);
        std::printf("card registration: %.3f ms with its entry, %.3f ms without (ratio %.2f)\n", m_con, m_sin,
                    m_con / m_sin);
        kv::bench::Bench("audit_recording_added_ms", m_con - m_sin, "ms", "5");
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    Globales::Sistema.reset();
    Globales::Servidor.reset();
    return 0;
}
