// Feeds arbitrary line bytes to the receive state machine in arbitrary reads
// and checks what it reports, then checks that a frame built from the same
// bytes is taken back unchanged. Input: byte 0 picks the own address, byte 1
// the read sizes, the rest is the line.
#include "link/dornoprotocolo.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace dorno;

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckFrame(const TDORNOProtocolo &p)
{
    const Trama_GenDorno &r = p.Registro();
    Check(r[0] == p.Remitente());
    if (p.Codigo() != 0x01 && p.Codigo() != RELLENO)
        Check(r[1] == p.Codigo());
    // The count is at most 255 and includes the checksum, so at most 254 data
    // bytes land in bytes 1..254: everything after is filler.
    for (std::size_t i = 255; i < r.size(); ++i)
        Check(r[i] == RELLENO);
}

void Stream(std::uint8_t tar, std::uint8_t sizes, const std::uint8_t *data, std::size_t size)
{
    TDORNOProtocolo p(tar);
    std::size_t i = 0;
    unsigned state = sizes;
    while (i < size) {
        state = state * 1103515245u + 12345u;
        const std::size_t n = std::min<std::size_t>(size - i, 1 + (state >> 16) % 128);
        p.Comenzar_Lectura();
        for (std::size_t k = 0; k < n; ++k) {
            const auto paso = p.Recibir_Byte(data[i + k]);
            Check(p.Num_Datos() <= static_cast<std::size_t>(MAX_DATOS));
            Check(!paso.ack || paso.trama);
            if (paso.trama) {
                Check(TDORNOProtocolo::Necesita_ACK(p.Codigo()) == paso.ack);
                CheckFrame(p);
            }
        }
        if (p.Terminar_Lectura(data + i, n)) {
            Check(p.Registro()[0] == MARCA_ACK && p.Registro()[1] == ACK && p.Registro()[2] == RELLENO);
        }
        i += n;
    }
}

void RoundTrip(std::uint8_t tar, const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return;
    const std::uint8_t remitente = data[0];
    const std::uint8_t codigo = data[1] == 0x01 ? 0x02 : data[1];
    const std::vector<std::uint8_t> datos(data + 2, data + std::min<std::size_t>(size, 2 + 200));
    const std::vector<std::uint8_t> trama = TDORNOProtocolo::Construir_Trama(tar, remitente, codigo, datos);
    for (int troceo = 0; troceo < 2; ++troceo) {
        TDORNOProtocolo p(tar);
        int tramas = 0;
        const std::size_t paso_lectura = troceo == 0 ? trama.size() : 1;
        for (std::size_t i = 0; i < trama.size(); i += paso_lectura) {
            const std::size_t n = std::min(paso_lectura, trama.size() - i);
            p.Comenzar_Lectura();
            for (std::size_t k = 0; k < n; ++k)
                tramas += p.Recibir_Byte(trama[i + k]).trama;
            p.Terminar_Lectura(trama.data() + i, n);
        }
        Check(tramas == 1);
        Check(p.Remitente() == remitente && p.Codigo() == codigo);
        const Trama_GenDorno &r = p.Registro();
        Check(r[0] == remitente && r[1] == codigo);
        for (std::size_t k = 0; k < datos.size(); ++k)
            Check(r[2 + k] == datos[k]);
        Check(r[2 + datos.size()] == RELLENO);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::uint8_t tar = (data[0] & 1) ? data[0] : TAR_PC;
    Stream(tar, data[1], data + 2, size - 2);
    RoundTrip(tar, data + 2, size - 2);
    return 0;
}
