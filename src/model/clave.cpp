#include "model/clave.h"

#include "model/errorbd.h"

#include <sodium.h>

#include <QByteArray>

namespace Clave {
namespace {

// The interactive limits (64 MiB, two passes): a login takes a fraction of a
// second here and every guess costs an attacker as much.
constexpr unsigned long long Operaciones = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr size_t Memoria = crypto_pwhash_MEMLIMIT_INTERACTIVE;

void Inicia()
{
    // Safe to call again; it fails only when the system has no randomness.
    if (sodium_init() < 0)
        throw ErrorBD(QStringLiteral("The password library cannot start (no source of randomness)"));
}

QByteArray Texto(const QString &password)
{
    return password.toLower().toUtf8();
}

} // namespace

QString Cifra(const QString &password)
{
    Inicia();
    const QByteArray p = Texto(password);
    char salida[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(salida, p.constData(), static_cast<unsigned long long>(p.size()), Operaciones, Memoria) != 0)
        throw ErrorBD(QStringLiteral("Not enough memory to hash the password"));
    return QString::fromLatin1(salida);
}

bool Es_Cifrada(const QString &guardada)
{
    return guardada.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX));
}

bool Coincide(const QString &guardada, const QString &password)
{
    if (!Es_Cifrada(guardada))
        return !guardada.isEmpty() && guardada.toLower() == password.toLower();
    Inicia();
    const QByteArray h = guardada.toLatin1();
    const QByteArray p = Texto(password);
    return crypto_pwhash_str_verify(h.constData(), p.constData(), static_cast<unsigned long long>(p.size())) == 0;
}

bool Renovar(const QString &guardada)
{
    if (!Es_Cifrada(guardada))
        return true;
    Inicia();
    return crypto_pwhash_str_needs_rehash(guardada.toLatin1().constData(), Operaciones, Memoria) != 0;
}

void Simula_Comprobacion(const QString &password)
{
    static const QString nada = Cifra(QStringLiteral("-"));
    Coincide(nada, password);
}

} // namespace Clave
