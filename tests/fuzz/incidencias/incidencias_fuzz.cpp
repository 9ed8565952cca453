// Any bytes as a saved incidence file: reading never crashes, every line is
// either a row or counted as left out, and the rows read write out and read
// back the same.
#include "workflows/fichero_incidencias.h"

#include <cstdint>
#include <cstdlib>

namespace {

void comprobar(bool condicion)
{
    if (!condicion)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = size ? QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)) : QByteArray();
    const kv::wf::Lectura_Incidencias r = kv::wf::Lee_Incidencias(bytes);
    comprobar(!r.cortada);
    comprobar(r.filas.size() + r.saltadas <= bytes.count('\n') + 1);

    const kv::wf::Lectura_Incidencias otra = kv::wf::Lee_Incidencias(kv::wf::Escribe_Incidencias(r.filas));
    comprobar(otra.filas == r.filas && otra.saltadas == 0);

    // Small limits cut where they say and keep only rows of the whole read.
    const kv::wf::Lectura_Incidencias corta = kv::wf::Lee_Incidencias(bytes, {.bytes = 64, .lineas = 3});
    comprobar(corta.filas.size() + corta.saltadas <= 3);
    comprobar(corta.filas == r.filas.first(corta.filas.size()));
    return 0;
}
