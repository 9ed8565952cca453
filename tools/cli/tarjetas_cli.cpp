#include "tarjetas_cli.h"

#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcontrolador.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"
#include "workflows/flujo_tarjetas.h"
#include "workflows/flujo_usuarios.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace kv::cli {
namespace {

const QString Formato_Fecha = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss");

// The stored form of each code, once each in the order first given, or none
// with the first that is not a code told: nothing is written for a list
// holding a typo.
std::optional<QStringList> Codigos(const QStringList &textos)
{
    QStringList codigos;
    for (const QString &t : textos) {
        const std::optional<QString> c = kv::wf::Codigo_Tarjeta(t);
        if (!c) {
            Falla(QStringLiteral("not a card code (digits only, ten at most): \"%1\"").arg(t));
            return std::nullopt;
        }
        codigos << *c;
    }
    codigos.removeDuplicates();
    return codigos;
}

// Every reader with the card, by number; "*" marks one still waiting for it.
QString Lectores(const ZARVTarjeta &t)
{
    std::vector<std::pair<int, bool>> lectores;
    for (const TControladorTarjeta &a : t.Controladores())
        if (a.Controlador)
            lectores.emplace_back(a.Controlador->Cod(), a.Almacenada);
    std::sort(lectores.begin(), lectores.end());
    QStringList textos;
    for (const auto &[cod, almacenada] : lectores)
        textos << QString::number(cod) + (almacenada ? QString() : QStringLiteral("*"));
    return textos.join(QLatin1Char(','));
}

int Lista(const QStringList &)
{
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema->Tarjetas();
    // By code: the collection's cardholder order leaves the free cards in
    // whatever order the database returns them, and a script diffs runs.
    std::vector<std::shared_ptr<ZARVTarjeta>> lista;
    for (int i = 0; i < tarjetas->Cuenta(); ++i)
        lista.push_back(tarjetas->Elemento(i));
    std::sort(lista.begin(), lista.end(),
              [](const auto &a, const auto &b) { return a->Codigo_Tarjeta() < b->Codigo_Tarjeta(); });
    for (const auto &t : lista) {
        const QString usuario = t->Usuario() ? QString::number(t->Usuario()->Id()) : QString();
        const QString caducidad = t->Usar_Fecha_Cad() ? t->Fecha_Caducidad().toString(Formato_Fecha) : QString();
        std::printf("%s\t%s\t%s\t%s\n", qPrintable(t->Codigo_Tarjeta()), qPrintable(usuario), qPrintable(Lectores(*t)),
                    qPrintable(caducidad));
    }
    return 0;
}

int Alta(const QStringList &a)
{
    const std::optional<QStringList> codigos = Codigos(a);
    if (!codigos)
        return 2;
    int estado = 0;
    for (const QString &c : *codigos) {
        // A free card waits for its cardholder: no expiry until it has one.
        if (kv::wf::Registra_Tarjeta(c, false, QDateTime()) == kv::wf::Registro::Ya_Existe) {
            Falla(QStringLiteral("the card %1 exists already: skipped").arg(c));
            estado = 1;
        }
    }
    return estado;
}

// None for a text in neither form. A date alone is the start of that day.
int Caducidad(const QStringList &a)
{
    const std::optional<QStringList> codigos = Codigos({a[0]});
    if (!codigos)
        return 2;
    const QString codigo = codigos->front();
    const auto t = Globales::Sistema->Tarjetas()->Busca(codigo);
    if (!t)
        return Falla(QStringLiteral("the installation has no card %1").arg(codigo));
    if (a[1] == QLatin1String("none")) {
        // The date stays, as the window keeps it, for when the expiry is switched on again.
        kv::wf::Guarda_Caducidad(codigo, false, t->Fecha_Caducidad());
        return 0;
    }
    const std::optional<QDateTime> fecha = Fecha(a[1]);
    if (!fecha)
        return Falla(QStringLiteral("%1 is not a date (yyyy-MM-dd or yyyy-MM-ddTHH:mm[:ss]) nor none\n").arg(a[1])
                     + Uso_Tarjetas());
    // Gone between the look-up and the write: another window deleted it.
    if (!kv::wf::Guarda_Caducidad(codigo, true, *fecha))
        return Falla(QStringLiteral("the installation has no card %1").arg(codigo));
    return 0;
}

int Baja(const QStringList &a)
{
    const QString force = QStringLiteral("--force");
    QStringList textos;
    bool forzar = false;
    // The option may come anywhere: a script adds it as it collects the codes.
    for (const QString &t : a) {
        if (t == force)
            forzar = true;
        else if (t.startsWith(QLatin1String("--")))
            return Falla(QStringLiteral("card-delete takes no option %1\n").arg(t) + Uso_Tarjetas());
        else
            textos << t;
    }
    if (textos.isEmpty())
        return Falla(QStringLiteral("card-delete takes the codes of the cards\n") + Uso_Tarjetas());
    const std::optional<QStringList> codigos = Codigos(textos);
    if (!codigos)
        return 2;
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema->Tarjetas();
    // Every code is checked before the first deletion: a mistyped one must
    // not leave the run half done.
    for (const QString &c : *codigos)
        if (!tarjetas->Busca(c))
            return Falla(QStringLiteral("the installation has no card %1").arg(c));
    Progreso_Consola progreso;
    Interlocutor_Consola operador;
    kv::wf::Elimina_Tarjetas(*codigos, {}, progreso, operador, [forzar] { return forzar; });
    QStringList quedan;
    for (const QString &c : *codigos)
        if (tarjetas->Busca(c))
            quedan << c;
    if (quedan.isEmpty())
        return 0;
    return Falla(QStringLiteral("a reader kept the cards %1: not deleted (--force deletes them all the same)")
                     .arg(quedan.join(QStringLiteral(", "))),
                 1);
}

} // namespace

const Tabla_Comandos &Comandos_Tarjetas()
{
    constexpr Alcance i = Alcance::Instalacion;
    static const Tabla_Comandos tabla = {
        {QStringLiteral("cards"), {0, 0, i, Lista}},
        {QStringLiteral("card-add"), {1, -1, i, Alta}},
        {QStringLiteral("card-expiry"), {2, 2, i, Caducidad}},
        {QStringLiteral("card-delete"), {1, -1, i, Baja}},
    };
    return tabla;
}

QString Uso_Tarjetas()
{
    return QStringLiteral(
        "cards of the installation (codes of up to ten digits):\n"
        "  cards                         one line each: code user-id readers expiry; a reader still\n"
        "                                waiting for the card is marked *, the expiry shown when used\n"
        "  card-add CODE...              register them as free cards; one that exists already is\n"
        "                                skipped (exit 1)\n"
        "  card-expiry CODE DATE|none    DATE as yyyy-MM-dd or yyyy-MM-ddTHH:mm[:ss]; none switches\n"
        "                                the expiry off\n"
        "  card-delete CODE... [--force] delete them, taking them out of every reader; a card a\n"
        "                                reader kept stays (exit 1) unless --force\n");
}

} // namespace kv::cli
