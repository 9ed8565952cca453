#pragma once

#include <QByteArray>
#include <QString>

namespace kv {

// The settings and language files are Windows-1252 text: operators edit them
// with ordinary Windows editors and the shipped language file must stay
// byte-compatible with the one the installers know. Text crosses into Unicode
// here and nowhere else.
namespace Cp1252 {

QString decode(const QByteArray &bytes);
QString decode(const char *bytes);

// Characters outside the code page become '?', the same substitution the
// Windows profile functions make.
QByteArray encode(const QString &text);

} // namespace Cp1252
} // namespace kv
