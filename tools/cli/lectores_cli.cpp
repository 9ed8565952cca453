#include "lectores_cli.h"

#include "model/globales.h"
#include "model/zarvcoleccioncontrolador.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"

#include <cstdio>

namespace kv::cli {
namespace {

int Lista(const QStringList &)
{
    ZARVColeccionControlador *c = Globales::Sistema->Controladores();
    for (int i = 0; i < c->Cuenta(); ++i) {
        const auto ctl = c->Elemento(i);
        std::printf("%d\t%d\t%d\t%s\n", ctl->Cod(), ctl->Puerto_Serie(), int(ctl->Direccion()),
                    qPrintable(ctl->Descripcion()));
    }
    return 0;
}

int Prueba(const QStringList &argumentos)
{
    std::vector<int> codigos;
    if (argumentos.isEmpty()) {
        ZARVColeccionControlador *c = Globales::Sistema->Controladores();
        for (int i = 0; i < c->Cuenta(); ++i)
            codigos.push_back(c->Elemento(i)->Cod());
    }
    for (const QString &a : argumentos) {
        const int codigo = Lector(a);
        if (codigo < 0)
            return 2;
        codigos.push_back(codigo);
    }
    int estado = 0;
    kv::wf::Test_Controladores(codigos, [&](int, const kv::wf::Resultado_Test &r) {
        if (!r.responde) {
            std::printf("%d\tno-answer\n", r.codigo);
            estado = 1;
            return;
        }
        if (!r.Coinciden())
            estado = 1;
        std::printf("%d\tanswered\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", r.codigo, qPrintable(r.estado),
                    qPrintable(r.cerradura), qPrintable(r.abierta), qPrintable(r.version), qPrintable(r.tarjetas),
                    qPrintable(r.tarjetas_bd), r.Coinciden() ? "match" : "mismatch");
    });
    return estado;
}

int Alta(const QStringList &a)
{
    Interlocutor_Consola operador;
    const QString descripcion = a.mid(3).join(QLatin1Char(' '));
    // The readers are held as the new-controller window holds them.
    kv::wf::Trabajo_Controladores trabajo;
    const kv::wf::Alta r = kv::wf::Alta_Controlador({a[0], descripcion, a[1], a[2]}, operador);
    trabajo.Termina();
    return r == kv::wf::Alta::Hecha ? 0 : 2;
}

int Edicion(const QStringList &a)
{
    const int codigo = Lector(a[0]);
    if (codigo < 0)
        return 2;
    if (a.size() == 3 || a.size() > 4)
        return Falla(QStringLiteral("reader-edit takes both door times or none"));
    Interlocutor_Consola operador;
    kv::wf::Trabajo_Controladores trabajo;
    const bool tiempos = a.size() == 4;
    if (tiempos && !kv::wf::Lee_Tiempos(codigo))
        return Falla(QStringLiteral("reader %1 does not answer: its times cannot be set").arg(codigo), 1);
    const bool guardada = kv::wf::Guarda_Edicion(
        {codigo, a[1], tiempos ? a[2] : QString(), tiempos ? a[3] : QString(), tiempos}, operador);
    trabajo.Termina();
    return guardada ? 0 : 2;
}

int Uno(const QStringList &a, bool (*flujo)(int, kv::wf::Interlocutor &))
{
    const int codigo = Lector(a[0]);
    if (codigo < 0)
        return 2;
    Interlocutor_Consola operador;
    return flujo(codigo, operador) ? 0 : 1;
}

int Clon(const QStringList &a)
{
    const int fuente = Lector(a[0]);
    if (fuente < 0)
        return 2;
    std::vector<int> destinos;
    for (const QString &t : a.mid(1)) {
        const int d = Lector(t);
        if (d < 0)
            return 2;
        destinos.push_back(d);
    }
    Progreso_Consola progreso;
    kv::wf::Clona(fuente, destinos, progreso);
    // What each target now holds, as the readers page's test shows it.
    return Prueba(a.mid(1));
}

} // namespace

const Tabla_Comandos &Comandos_Lectores()
{
    constexpr Alcance i = Alcance::Instalacion;
    static const Tabla_Comandos tabla = {
        {QStringLiteral("readers"), {0, 0, i, Lista}},
        {QStringLiteral("readers-test"), {0, -1, i, Prueba}},
        {QStringLiteral("reader-add"), {4, -1, i, Alta}},
        {QStringLiteral("reader-edit"), {2, 4, i, Edicion}},
        {QStringLiteral("reader-delete"), {1, 1, i, [](const QStringList &a) { return Uno(a, kv::wf::Elimina_Controlador); }}},
        {QStringLiteral("reader-master"), {1, 1, i, [](const QStringList &a) { return Uno(a, kv::wf::Cambia_Master); }}},
        {QStringLiteral("reader-erase"), {1, 1, i, [](const QStringList &a) { return Uno(a, kv::wf::Vacia_Tarjetas); }}},
        {QStringLiteral("reader-clone"), {2, -1, i, Clon}},
    };
    return tabla;
}

QString Uso_Lectores()
{
    return QStringLiteral(
        "readers of the installation:\n"
        "  readers                       one line each: number port address description\n"
        "  readers-test [N...]           test them (all by default): number answered state lock open\n"
        "                                version cards cards-in-database match|mismatch, or number no-answer\n"
        "  reader-add N PORT ADDRESS DESCRIPTION\n"
        "  reader-edit N DESCRIPTION [LOCK OPEN]   the times are sent to the reader\n"
        "  reader-delete N               the reader and its card assignments\n"
        "  reader-master N               change its master card (present it within 5 s)\n"
        "  reader-erase N                erase its cards; the assignments wait for the next send\n"
        "  reader-clone SOURCE TARGET... copy the source's cards onto each target, then test the targets\n");
}

} // namespace kv::cli
