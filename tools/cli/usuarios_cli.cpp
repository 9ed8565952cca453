#include "usuarios_cli.h"

#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "model/zarvtarjeta.h"
#include "model/zarvusuario.h"
#include "workflows/flujo_usuarios.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace kv::cli {
namespace {

// A command's arguments with its options taken out. Options may come anywhere:
// a script adds them as it collects them.
struct Opciones {
    QStringList posicionales;
    QMap<QString, QStringList> valores; // each option followed by a value, every occurrence in order
    QSet<QString> banderas;
};

// None with the reason told for an option the command does not take or a
// missing value. After "--" everything is positional, for a name that begins
// with dashes.
std::optional<Opciones> Lee_Opciones(const QString &comando, const QStringList &a, const QStringList &con_valor,
                                     const QStringList &solas)
{
    Opciones o;
    bool solo_posicionales = false;
    for (int i = 0; i < a.size(); ++i) {
        const QString &t = a.at(i);
        if (solo_posicionales || !t.startsWith(QLatin1String("--"))) {
            o.posicionales << t;
        } else if (t == QLatin1String("--")) {
            solo_posicionales = true;
        } else if (con_valor.contains(t)) {
            if (i + 1 >= a.size()) {
                Falla(QStringLiteral("%1 needs a value after %2").arg(comando, t));
                return std::nullopt;
            }
            o.valores[t] << a.at(++i);
        } else if (solas.contains(t)) {
            o.banderas.insert(t);
        } else {
            Falla(QStringLiteral("%1 takes no option %2\n").arg(comando, t) + Uso_Usuarios());
            return std::nullopt;
        }
    }
    return o;
}

// Each entry once, in the order first given: a repeated code or reader would
// only be sent again.
template <typename T>
void Sin_Repetidos(T &lista)
{
    T unicos;
    for (const auto &e : lista)
        if (std::find(unicos.begin(), unicos.end(), e) == unicos.end())
            unicos.push_back(e);
    lista = std::move(unicos);
}

int Lista(const QStringList &)
{
    // One walk of the cards for the whole list, in the order each user's
    // Tarjetas_Usuario gives them: that walks every card again for every user.
    QHash<int, QStringList> suyas;
    ZARVColeccionTarjeta *tarjetas = Globales::Sistema->Tarjetas();
    for (int i = 0; i < tarjetas->Cuenta(); ++i) {
        const auto t = tarjetas->Elemento(i);
        if (t->Usuario())
            suyas[t->Usuario()->Id()] << t->Codigo_Tarjeta();
    }
    ZARVColeccionUsuario *usuarios = Globales::Sistema->Usuarios();
    for (int i = 0; i < usuarios->Cuenta(); ++i) {
        const auto u = usuarios->Elemento(i);
        std::printf("%d\t%s\t%s\t%s\n", u->Id(), qPrintable(u->Nombre()), qPrintable(u->Apellidos()),
                    qPrintable(suyas.value(u->Id()).join(QLatin1Char(','))));
    }
    return 0;
}

int Alta(const QStringList &a)
{
    const QString card = QStringLiteral("--card");
    const QString reader = QStringLiteral("--reader");
    const QString take = QStringLiteral("--take");
    const auto o = Lee_Opciones(QStringLiteral("user-add"), a, {card, reader}, {take});
    if (!o)
        return 2;
    if (o->posicionales.size() != 2)
        return Falla(QStringLiteral("user-add takes a name and the surnames (quote each that has spaces)\n")
                     + Uso_Usuarios());
    kv::wf::Datos_Usuario datos;
    datos.nombre = o->posicionales[0];
    datos.apellidos = o->posicionales[1];
    // A short code is padded as the window pads what the operator types; one
    // that is no code at all goes as typed, for the workflow's own refusal.
    for (const QString &t : o->valores.value(card))
        datos.tarjetas << kv::wf::Codigo_Tarjeta(t).value_or(t);
    Sin_Repetidos(datos.tarjetas);
    for (const QString &t : o->valores.value(reader)) {
        const int codigo = Lector(t);
        if (codigo < 0)
            return 2;
        datos.lectores.push_back(codigo);
    }
    Sin_Repetidos(datos.lectores);
    Interlocutor_Consola operador(take, o->banderas.contains(take));
    const int id = kv::wf::Guarda_Usuario_Nuevo(datos, operador);
    if (id == 0)
        return operador.Rehusado() ? 1 : 2;
    std::printf("%d\n", id);
    return 0;
}

int Baja(const QStringList &a)
{
    const QString force = QStringLiteral("--force");
    const auto o = Lee_Opciones(QStringLiteral("user-delete"), a, {}, {force});
    if (!o)
        return 2;
    if (o->posicionales.isEmpty())
        return Falla(QStringLiteral("user-delete takes the numbers of the users\n") + Uso_Usuarios());
    ZARVColeccionUsuario *usuarios = Globales::Sistema->Usuarios();
    // Every number is checked before the first deletion: a mistyped one must
    // not leave the run half done.
    std::vector<int> ids;
    for (const QString &t : o->posicionales) {
        bool numero = false;
        const int id = t.toInt(&numero);
        if (!numero)
            return Falla(QStringLiteral("%1 is not a user number").arg(t));
        if (!usuarios->Busca(id))
            return Falla(QStringLiteral("the installation has no user %1").arg(id));
        ids.push_back(id);
    }
    Sin_Repetidos(ids);
    const bool forzar = o->banderas.contains(force);
    Progreso_Consola progreso;
    kv::wf::Elimina_Usuarios(ids, progreso, [forzar] { return forzar; });
    QStringList quedan;
    for (const int id : ids)
        if (const auto u = usuarios->Busca(id))
            quedan << QStringLiteral("%1 (%2)").arg(id).arg(u->Nombre_Completo());
    if (quedan.isEmpty())
        return 0;
    return Falla(QStringLiteral("a reader kept the cards of %1: not deleted (--force deletes them all the same)")
                     .arg(quedan.join(QStringLiteral(", "))),
                 1);
}

} // namespace

const Tabla_Comandos &Comandos_Usuarios()
{
    constexpr Alcance i = Alcance::Instalacion;
    static const Tabla_Comandos tabla = {
        {QStringLiteral("users"), {0, 0, i, Lista}},
        {QStringLiteral("user-add"), {2, -1, i, Alta}},
        {QStringLiteral("user-delete"), {1, -1, i, Baja}},
    };
    return tabla;
}

QString Uso_Usuarios()
{
    return QStringLiteral(
        "users (cardholders) of the installation; options may come anywhere after the command:\n"
        "  users                         one line each: id name surnames cards (comma-separated)\n"
        "  user-add NAME SURNAMES [--card CODE]... [--reader N]... [--take]\n"
        "                                a new user with those cards (up to ten digits), sent to\n"
        "                                those readers; prints the new id. A card of another user\n"
        "                                moves only with --take: without it, exit 1\n"
        "  user-delete ID... [--force]   delete them, taking their cards out of every reader; a\n"
        "                                user whose card a reader kept stays (exit 1) unless --force\n");
}

} // namespace kv::cli
