#pragma once

#include <QString>
#include <QStringList>

class QTreeWidget;
class QWidget;

namespace kv::ui {

// A read-only list view with columns, one icon per cell and row selection
// (several rows at once when multiple is set), named nombre. The headers
// given are placeholders until the window is translated.
QTreeWidget *Nueva_Lista(QWidget *padre, const QString &nombre, const QStringList &columnas, bool multiple);

// A column of width 0 in the window definitions: it carries a key nobody
// needs to see.
void Oculta_Columna(QTreeWidget *lista, int columna);

} // namespace kv::ui
