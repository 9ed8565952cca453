#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// Workbooks put together part by part, the way another spreadsheet
// application writes them, with libzip rather than the writer under test.
namespace kv::test {

using Partes = std::vector<std::pair<QString, QByteArray>>;

// A zip archive of the parts, deflated.
QByteArray Zip_De(const Partes &partes);

// An .xlsx package: the sheets' XML (sheetData and all, without the root
// element), the shared strings' <si> items, the styles' cellXfs and numFmts,
// and the sheet shown on opening (from 0).
struct Xlsx_A_Mano {
    std::vector<std::pair<QString, QByteArray>> hojas; // name, content of <worksheet>
    QByteArray cadenas;                                // content of <sst>, empty for no part
    QByteArray estilos;                                // content of <styleSheet>, empty for no part
    int activa = 0;
    QByteArray Bytes() const;
};

} // namespace kv::test
