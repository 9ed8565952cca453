#pragma once

#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace Lang {

// Applies the key list of ventana's table (found by the window's object name)
// to the window: its title and the controls found by their object names, each
// key read with Texto_Idioma. Run once per window, while it is created.
//
// Targets by kind: captions go to QLabel/QAbstractButton text, QGroupBox and
// QMenu titles, QAction text and the tab of a QTabWidget (or QToolBox) page;
// hints to toolTip; file-dialog titles to the "windowTitle" property of the
// named object (a QFileDialog, or a plain QObject standing in for a dialog
// created later); combo texts to the edit text (editable) or the matching
// entry / placeholder (drop-down list); combo entries by index, added when
// missing; column headers of QTreeWidget, QTableWidget or any item view's
// model; tree nodes by absolute index in display order through all levels.
//
// Returns the keys whose target the window lacks, so a window under test can
// show that every control carries its name. A window without a table
// (F_Select_Lang) is left as it is.
QStringList Traducir_Ventana(QWidget *ventana);

// The object named nombre among ventana's descendants, searched level by
// level without entering other windows (menus excepted): a dialog parented to
// this window keeps its own "Label1".
QObject *Buscar_Objeto(QWidget *ventana, const QString &nombre);

} // namespace Lang
