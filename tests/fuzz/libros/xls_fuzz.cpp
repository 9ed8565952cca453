// Any bytes as a legacy .xls, two ways: the bytes as the file (the compound
// file layer), and the bytes as the workbook stream of a well-formed compound
// file, so that the mutations reach the records. The reader returns a sheet
// or refuses the file with Error_Libro, never crashes.
#include "comprobacion.h"

#include <QtEndian>

#include <cstdint>
#include <cstring>

namespace {

void Pon32(QByteArray &b, qsizetype en, quint32 v)
{
    qToLittleEndian(v, b.data() + en);
}

// A compound file of 512-byte sectors: header, one FAT sector, the stream,
// one directory sector with the root and "Workbook". The stream is padded
// with empty records past the 4096 bytes below which it would belong to the
// mini stream, and cut to what one FAT sector maps.
QByteArray Compuesto(QByteArray flujo)
{
    constexpr quint32 Fin = 0xFFFFFFFE, Libre = 0xFFFFFFFF, Fat = 0xFFFFFFFD;
    while (flujo.size() < 4096)
        flujo.append("\xE2\x00\x00\x00", 4);
    flujo.truncate(126 * 512);
    const quint32 largo = quint32(flujo.size());
    const int n = int((flujo.size() + 511) / 512);
    flujo.resize(qsizetype(n) * 512, '\0');

    QByteArray cabecera(512, '\0');
    std::memcpy(cabecera.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    const quint16 campos[] = {0x3E, 3, 0xFFFE, 9, 6};
    for (int i = 0; i < 5; ++i)
        qToLittleEndian(campos[i], cabecera.data() + 24 + 2 * i);
    Pon32(cabecera, 44, 1);                   // FAT sectors
    Pon32(cabecera, 48, quint32(n + 1));      // first directory sector
    Pon32(cabecera, 56, 4096);                // mini stream cutoff
    Pon32(cabecera, 60, Fin);                 // no mini FAT
    Pon32(cabecera, 68, Fin);                 // no DIFAT sectors
    Pon32(cabecera, 76, 0);                   // the FAT is sector 0
    for (int i = 1; i < 109; ++i)
        Pon32(cabecera, 76 + 4 * i, Libre);

    QByteArray fat(512, '\xFF');
    Pon32(fat, 0, Fat);
    for (int i = 1; i < n; ++i)
        Pon32(fat, 4 * i, quint32(i + 1));
    Pon32(fat, 4 * n, Fin);
    Pon32(fat, 4 * (n + 1), Fin);

    QByteArray dir(512, '\0');
    const auto entrada = [&](int i, const char16_t *nombre, quint8 tipo, quint32 inicio, quint32 tam, quint32 hijo) {
        const qsizetype b = 128 * i;
        const qsizetype chars = qsizetype(std::char_traits<char16_t>::length(nombre));
        for (qsizetype k = 0; k < chars; ++k)
            qToLittleEndian(quint16(nombre[k]), dir.data() + b + 2 * k);
        qToLittleEndian(quint16(2 * (chars + 1)), dir.data() + b + 64);
        dir[b + 66] = char(tipo);
        dir[b + 67] = 1;
        Pon32(dir, b + 68, Libre);
        Pon32(dir, b + 72, Libre);
        Pon32(dir, b + 76, hijo);
        Pon32(dir, b + 116, inicio);
        Pon32(dir, b + 120, tam);
    };
    entrada(0, u"Root Entry", 5, Fin, 0, 1);
    entrada(1, u"Workbook", 2, 1, largo, Libre);
    for (int i = 2; i < 4; ++i) {
        Pon32(dir, 128 * i + 68, Libre);
        Pon32(dir, 128 * i + 72, Libre);
        Pon32(dir, 128 * i + 76, Libre);
    }
    return cabecera + fat + flujo + dir;
}

void Lee(const QByteArray &bytes)
{
    try {
        kv::fuzz::Comprueba_Hoja(kv::libros::Lee_Xls(bytes, 3, kv::fuzz::Limites_Fuzz), 3);
    } catch (const kv::libros::Error_Libro &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Lee(bytes);
    Lee(Compuesto(bytes));
    return 0;
}
