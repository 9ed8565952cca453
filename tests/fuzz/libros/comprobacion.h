#pragma once

#include "workbooks/libro.h"

#include <cstdlib>

// What any read that did not refuse its input must give.
namespace kv::fuzz {

// Tight limits: a fuzzed archive is at most a few kilobytes, and anything
// it inflates past these is refused, not held.
inline const kv::libros::Limites Limites_Fuzz{
    .bytes_fichero = 1 << 20, .bytes_parte = 4 << 20, .filas = 5000, .cadenas = 5000, .caracteres_cadenas = 1 << 20};

inline void Comprueba_Hoja(const kv::libros::Hoja &h, int columnas)
{
    if (qint64(h.filas.size()) > Limites_Fuzz.filas)
        std::abort();
    for (const kv::libros::Fila &f : h.filas) {
        if (f.celdas.size() != columnas || f.numero < 1 || f.numero > kv::libros::Limites{}.filas)
            std::abort();
        bool algo = false;
        for (const QString &c : f.celdas) {
            if (c.size() > 32767)
                std::abort();
            algo = algo || !c.isEmpty();
        }
        // Rows without any cell of the columns read are left out.
        if (!algo)
            std::abort();
    }
}

} // namespace kv::fuzz
