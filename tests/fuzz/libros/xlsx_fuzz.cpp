// Any bytes as an .xlsx, two ways: the bytes as the file (the archive
// layer), and the bytes as the parts of a well-formed archive, so that the
// mutations reach the sheet, shared-string and style parsing that an
// archive's checksums would otherwise keep them from. The reader returns a
// sheet or refuses the file with Error_Libro, never crashes, never reads
// past its limits.
#include "comprobacion.h"

#include <zip.h>

#include <cstdint>

namespace {

// The parts, split at NUL bytes: sheet, shared strings, styles, workbook.
QByteArray Archivo(const QByteArray &bytes)
{
    const QList<QByteArray> trozos = bytes.split('\0');
    const auto trozo = [&](int i, const char *defecto) { return i < trozos.size() ? trozos[i] : QByteArray(defecto); };
    const QList<QPair<const char *, QByteArray>> partes = {
        {"xl/workbook.xml", trozo(3, "<workbook><bookViews><workbookView activeTab=\"0\"/></bookViews><sheets>"
                                     "<sheet name=\"S\" id=\"a\"/></sheets></workbook>")},
        {"xl/_rels/workbook.xml.rels", "<Relationships><Relationship Id=\"a\" Target=\"s.xml\"/>"
                                       "<Relationship Id=\"b\" Type=\"x/sharedStrings\" Target=\"/xl/t.xml\"/>"
                                       "<Relationship Id=\"c\" Type=\"x/styles\" Target=\"y.xml\"/></Relationships>"},
        {"xl/s.xml", trozo(0, "")},
        {"xl/t.xml", trozo(1, "<sst/>")},
        {"xl/y.xml", trozo(2, "<styleSheet/>")},
    };
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *fuente = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(fuente);
    zip_t *z = zip_open_from_source(fuente, ZIP_TRUNCATE, &error);
    for (const auto &[nombre, datos] : partes) {
        zip_source_t *s = zip_source_buffer(z, datos.constData(), zip_uint64_t(datos.size()), 0);
        const zip_int64_t i = zip_file_add(z, nombre, s, 0);
        zip_set_file_compression(z, zip_uint64_t(i), ZIP_CM_STORE, 0);
    }
    zip_close(z);
    QByteArray salida;
    zip_stat_t st;
    if (zip_source_stat(fuente, &st) == 0 && zip_source_open(fuente) == 0) {
        salida.resize(qsizetype(st.size));
        zip_source_read(fuente, salida.data(), st.size);
        zip_source_close(fuente);
    }
    zip_source_free(fuente);
    zip_error_fini(&error);
    return salida;
}

void Lee(const QByteArray &bytes)
{
    try {
        kv::fuzz::Comprueba_Hoja(kv::libros::Lee_Xlsx(bytes, 3, kv::fuzz::Limites_Fuzz), 3);
    } catch (const kv::libros::Error_Libro &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Lee(bytes);
    Lee(Archivo(bytes));
    return 0;
}
