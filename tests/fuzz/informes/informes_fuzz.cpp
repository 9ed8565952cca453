// Any bytes as a report template: the parser never crashes and either
// refuses them with a line inside the file or gives a template that keeps
// its promises: columns within the page, texts whose labels resolve, pages
// that hold every row once.
#include "reports/geometria.h"
#include "reports/maqueta.h"
#include "reports/plantilla.h"

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
    kv::rep::Plantilla p;
    try {
        p = kv::rep::Lee_Plantilla(bytes);
    } catch (const kv::rep::Error_Plantilla &e) {
        comprobar(e.Linea() >= 0 && e.Linea() <= bytes.count('\n') + 1);
        comprobar(!e.Motivo().isEmpty());
        return 0;
    }
    comprobar(!p.columnas.empty() && int(p.columnas.size()) <= kv::rep::Maximo_Columnas);
    double ancho = 0;
    for (const kv::rep::Columna &c : p.columnas)
        ancho += c.ancho;
    comprobar(ancho * kv::rep::Pt_Por_Mm <= kv::rep::Geometria(p).util.width() + 1);

    // Every label the texts name, and every field, exist: the report is made.
    QHash<QString, QString> etiquetas;
    kv::rep::Tabla tabla;
    for (const kv::rep::Texto_Plantilla *t : {&p.titulo, &p.pie})
        for (const QString &r : kv::rep::Referencias(*t))
            etiquetas.insert(r, r.toUpper());
    for (const kv::rep::Columna &c : p.columnas) {
        for (const QString &r : kv::rep::Referencias(c.titulo))
            etiquetas.insert(r, r.toUpper());
        if (!tabla.campos.contains(c.campo, Qt::CaseInsensitive))
            tabla.campos << c.campo.toUpper();
    }
    QVariantList fila;
    for (qsizetype i = 0; i < tabla.campos.size(); ++i)
        fila << QVariant(QStringLiteral("S"));
    tabla.filas.assign(250, fila);
    const kv::rep::Maqueta m(p, etiquetas, tabla);
    comprobar(m.Filas() == 250);
    const kv::rep::Geometria g(p);
    qsizetype filas = 0;
    for (int pagina = 0; pagina < m.Paginas(); ++pagina)
        filas += g.Filas_En(pagina, m.Filas());
    comprobar(filas == m.Filas());
    return 0;
}
