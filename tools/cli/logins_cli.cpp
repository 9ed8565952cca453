#include "logins_cli.h"

#include "model/globales.h"
#include "model/variables.h"

#include <QFile>

#include <cstdio>

namespace kv::cli {
namespace {

int Logins(const QStringList &)
{
    for (const QString &t : Globales::Servidor->Lista_Logins()) {
        const qsizetype asterisco = t.indexOf(QLatin1Char('*'));
        const QString login = asterisco < 0 ? t : t.left(asterisco);
        const QString nivel = asterisco < 0 ? QString() : t.mid(asterisco + 1);
        std::printf("%s\t%s\n", qPrintable(login), qPrintable(nivel));
    }
    return 0;
}

// The new password is read before the database opens: an embedded file stays
// locked against the program for as long as this holds it, and an operator
// typing at a terminal may take a while.
int Lee_Password(QStringList &argumentos)
{
    // Holding the embedded files, with the program closed, is what makes the
    // caller their administrator; a server is shared with stations that may
    // be running, and its own tools already answer to its administrator.
    if (!Variables::Servidor_BD.isEmpty())
        return Falla(QStringLiteral("set-password works only on the embedded database files, with the program closed"));
    QFile entrada;
    if (!entrada.open(stdin, QIODevice::ReadOnly))
        return Falla(QStringLiteral("standard input cannot be read: %1").arg(entrada.errorString()));
    QByteArray linea = entrada.readLine();
    if (linea.endsWith('\n'))
        linea.chop(1);
    if (linea.endsWith('\r'))
        linea.chop(1);
    const QString password = QString::fromUtf8(linea);
    if (password.isEmpty())
        return Falla(QStringLiteral("the new password is empty (it is the first line of standard input)"));
    // The login window refuses '*' as typed: such a password could never be entered.
    if (password.contains(QLatin1Char('*')))
        return Falla(QStringLiteral("a password cannot contain '*'"));
    argumentos << password;
    return 0;
}

int Pon_Password(const QStringList &a)
{
    const QString login = a[0];
    if (!Globales::Servidor->Pon_Password(login, a[1]))
        return Falla(QStringLiteral("there is no login %1").arg(login), 1);
    std::printf("password of %s changed\n", qPrintable(login.toLower()));
    return 0;
}

} // namespace

const Tabla_Comandos &Comandos_Logins()
{
    constexpr Alcance b = Alcance::Base_Principal;
    static const Tabla_Comandos tabla = {
        {QStringLiteral("logins"), {0, 0, b, Logins}},
        {QStringLiteral("set-password"), {1, 1, b, Pon_Password, Lee_Password}},
    };
    return tabla;
}

QString Uso_Logins()
{
    return QStringLiteral(
        "logins of the main database (no installation is opened):\n"
        "  logins                        one line each: login level\n"
        "  set-password LOGIN            set its password to the first line of standard input,\n"
        "                                for an administrator locked out (embedded database only,\n"
        "                                with the program closed)\n");
}

} // namespace kv::cli
