#include "libro_a_mano.h"

#include <QTemporaryDir>

#include <zip.h>

#include <QFile>
#include <stdexcept>

namespace kv::test {

QByteArray Zip_De(const Partes &partes)
{
    QTemporaryDir dir;
    const QByteArray ruta = QFile::encodeName(dir.filePath(QStringLiteral("a.zip")));
    int error = 0;
    zip_t *z = zip_open(ruta.constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z)
        throw std::runtime_error("zip_open");
    for (const auto &[nombre, bytes] : partes) {
        // libzip reads the buffers at zip_close.
        zip_source_t *s = zip_source_buffer(z, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        if (!s || zip_file_add(z, nombre.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8) < 0)
            throw std::runtime_error("zip_file_add");
    }
    if (zip_close(z) != 0)
        throw std::runtime_error("zip_close");
    QFile f(QString::fromLocal8Bit(ruta));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("zip read");
    return f.readAll();
}

QByteArray Xlsx_A_Mano::Bytes() const
{
    const QByteArray ns = R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    Partes p;
    p.emplace_back(QStringLiteral("[Content_Types].xml"),
                   R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="xml" ContentType="application/xml"/></Types>)");
    p.emplace_back(QStringLiteral("_rels/.rels"),
                   R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type=")"
                       + rel + R"(officeDocument" Target="xl/workbook.xml"/></Relationships>)");
    QByteArray libro = "<?xml version=\"1.0\"?><workbook" + ns + "><bookViews><workbookView activeTab=\""
                       + QByteArray::number(activa) + "\"/></bookViews><sheets>";
    QByteArray rels = R"(<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    for (std::size_t i = 0; i < hojas.size(); ++i) {
        const QByteArray n = QByteArray::number(qulonglong(i + 1));
        libro += "<sheet name=\"" + hojas[i].first.toUtf8() + "\" sheetId=\"" + n + "\" r:id=\"rIdS" + n + "\"/>";
        // The sheets numbered backwards: a reader must follow the relationships.
        const QByteArray parte = "worksheets/hoja" + QByteArray::number(qulonglong(hojas.size() - i)) + ".xml";
        rels += "<Relationship Id=\"rIdS" + n + "\" Type=\"" + rel + "worksheet\" Target=\"" + parte + "\"/>";
        p.emplace_back(QStringLiteral("xl/") + QString::fromLatin1(parte),
                       "<?xml version=\"1.0\"?><worksheet" + ns + ">" + hojas[i].second + "</worksheet>");
    }
    libro += "</sheets></workbook>";
    if (!cadenas.isEmpty()) {
        rels += "<Relationship Id=\"rIdC\" Type=\"" + rel + "sharedStrings\" Target=\"/xl/textos.xml\"/>";
        p.emplace_back(QStringLiteral("xl/textos.xml"), "<?xml version=\"1.0\"?><sst" + ns + ">" + cadenas + "</sst>");
    }
    if (!estilos.isEmpty()) {
        rels += "<Relationship Id=\"rIdE\" Type=\"" + rel + "styles\" Target=\"estilos.xml\"/>";
        p.emplace_back(QStringLiteral("xl/estilos.xml"),
                       "<?xml version=\"1.0\"?><styleSheet" + ns + ">" + estilos + "</styleSheet>");
    }
    rels += "</Relationships>";
    p.emplace_back(QStringLiteral("xl/workbook.xml"), libro);
    p.emplace_back(QStringLiteral("xl/_rels/workbook.xml.rels"), rels);
    return Zip_De(p);
}

} // namespace kv::test
