// Any bytes as a camera's stream, fed whole and in pieces whose sizes come
// from the input itself: no crash, the bytes held stay bounded, and the
// parts found do not depend on how the stream was cut.
#include "cameras/analizador_mjpeg.h"

#include <cstdint>
#include <cstdlib>

namespace {

void comprobar(bool condicion)
{
    if (!condicion)
        std::abort();
}

constexpr qsizetype Limite = 4096;

QList<QByteArray> trocea(QByteArrayView flujo, const QByteArray &limite, const uint8_t *cortes, size_t n_cortes,
                         bool &terminado)
{
    Analizador_Mjpeg a(limite, Limite);
    QList<QByteArray> cuadros;
    qsizetype i = 0;
    size_t c = 0;
    while (i < flujo.size()) {
        const qsizetype n = n_cortes ? qsizetype(cortes[c++ % n_cortes] % 64) + 1 : flujo.size();
        const qsizetype trozo = qMin(n, flujo.size() - i);
        a.Alimenta(flujo.sliced(i, trozo), cuadros);
        i += trozo;
        comprobar(a.Retenidos() <= Limite + Analizador_Mjpeg::Limite_Cabecera + 64 + trozo);
        a.Toma_Fallo();
    }
    for (const QByteArray &q : cuadros)
        comprobar(q.size() <= Limite);
    terminado = a.Terminado();
    return cuadros;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // First byte: how many of the next bytes are the cut sizes.
    if (size == 0)
        return 0;
    const size_t n_cortes = qMin<size_t>(data[0] % 16, size - 1);
    const uint8_t *cortes = data + 1;
    const QByteArrayView flujo(reinterpret_cast<const char *>(data + 1 + n_cortes), qsizetype(size - 1 - n_cortes));

    // The Content-Type parser on the first line of the input.
    const qsizetype fin_linea = flujo.indexOf('\n');
    const QByteArray tipo = flujo.first(fin_linea < 0 ? flujo.size() : fin_linea).toByteArray();
    const QByteArray extraido = Analizador_Mjpeg::Limite_De(tipo);
    comprobar(extraido.size() <= 72);

    const QByteArray limite = extraido.isEmpty() ? QByteArray("b") : extraido;
    bool fin_entero = false, fin_trozos = false;
    const QList<QByteArray> enteros = trocea(flujo, limite, cortes, 0, fin_entero);
    const QList<QByteArray> trozos = trocea(flujo, limite, cortes, n_cortes, fin_trozos);
    // Cut by cut, a part too large may be dropped at a different moment, but
    // a stream within the limits gives the same parts.
    if (flujo.size() <= Limite) {
        comprobar(enteros == trozos);
        comprobar(fin_entero == fin_trozos);
    }
    return 0;
}
