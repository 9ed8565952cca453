#pragma once

#include <QString>

// Operators' passwords as they are kept in the main database: salted, slow
// hashes (Argon2id, in the library's own text form "$argon2id$v=19$m=...,t=...,p=...$salt$hash"),
// never the password itself. Passwords are case-insensitive: they are
// lower-cased before they are hashed or checked.
namespace Clave {

// The stored form of password.
QString Cifra(const QString &password);
// True when guardada is a hash (as opposed to the plain text an older
// version kept).
bool Es_Cifrada(const QString &guardada);
// True when password is the one guardada stands for: checked against the
// hash, or compared with an older version's plain text.
bool Coincide(const QString &guardada, const QString &password);
// True when guardada should be stored again: plain text, or a hash made with
// weaker settings than Cifra uses now.
bool Renovar(const QString &guardada);
// Spends the time of a check against nothing, so that an unknown login takes
// as long to refuse as a wrong password.
void Simula_Comprobacion(const QString &password);

} // namespace Clave
