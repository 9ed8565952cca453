// Any bytes as a saved attendance file: reading never crashes, every line is
// a row or counted as left out, the rows read write out and read back the
// same whichever encoding the writing picks, and small limits keep only rows
// of the whole read.
#include "workflows/presencia.h"

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
    const kv::wf::Lectura_Presencia r = kv::wf::Lee_Presencia(bytes);
    comprobar(!r.cortada);
    comprobar(r.filas.size() + r.saltadas <= bytes.count('\n') + 1);

    const QByteArray escrito = kv::wf::Escribe_Presencia(r.filas);
    comprobar(escrito.count("\r\n") == r.filas.size());
    const kv::wf::Lectura_Presencia otra = kv::wf::Lee_Presencia(escrito);
    comprobar(otra.filas == r.filas && otra.saltadas == 0);

    const kv::wf::Lectura_Presencia corta = kv::wf::Lee_Presencia(bytes, {.bytes = 64, .lineas = 3});
    comprobar(corta.filas.size() + corta.saltadas <= 3);
    comprobar(corta.filas == r.filas.first(corta.filas.size()));
    return 0;
}
