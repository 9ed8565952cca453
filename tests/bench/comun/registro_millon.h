#pragma once

#include <QString>

namespace kv::bench {

// An installation file holding 1,000,000 incidences over the year 2024, one
// every 31.6 s on eight controllers (six in ten accepted cards of 1,000
// cardholders, one of those of an unknown card; the rest refused cards and
// door events), with the indexes the program adds when it opens a file.
constexpr int kIncidencias = 1000000;
constexpr int kTitulares = 1000;

// The filled file, built once from the factory template `plantilla` and
// kept in `cache_dir` until the factory set is newer; empty on failure.
QString Registro_Millon(const QString &plantilla, const QString &cache_dir);

} // namespace kv::bench
