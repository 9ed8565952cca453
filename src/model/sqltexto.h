#pragma once

#include <QString>

// Values that the statements carry inside their text rather than as bound
// parameters. Every such value passes through one of these, so that no name,
// login or code can end a literal early and change what a statement does.

// The text as it goes between the single quotes of a literal: each single
// quote doubled, so the database stores exactly the text given.
QString Texto_SQL(const QString &texto);

// A code given as text (installation codes) as it goes into a statement
// unquoted: only an optional sign and decimal digits pass; anything else raises
// ErrorBD, as the statement itself would have failed on a value that is not a number.
QString Numero_SQL(const QString &texto);
