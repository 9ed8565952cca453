#pragma once

#include <QString>
#include <QStringList>

#include <span>

// The language file's keys, kept as data: what every window translates, the
// message table, the controller state texts and the report labels. The
// translation routine, the start-up loader and the check of the shipped
// language file all walk these same tables.
namespace Lang {

// What a window key is applied to.
enum class Destino {
    Titulo,         // the window's title
    Texto,          // caption of a label, button, check box, radio button, group box, tab sheet or menu item
    Pista,          // a control's hint (tool tip)
    Titulo_Dialogo, // title of a file dialog
    Texto_Combo,    // text of a combo box
    Elemento_Combo, // entry `indice` of a combo box
    Columna,        // header of column `indice` of a list
    Nodo,           // tree node with absolute index `indice` (display order through all levels)
};

struct Clave_Ventana {
    Destino destino;
    const char *objeto; // object name of the target; nullptr for the window title
    int indice;         // column, node or combo entry; -1 otherwise
    const char *clave;  // the key spelled out where it does not follow the rule; nullptr otherwise
};

struct Tabla_Ventana {
    const char *ventana; // the window's name: its object name and the W of the key rule
    std::span<const Clave_Ventana> claves;
};

// The key of one entry: c.clave when spelled out, otherwise built by the rule
// W_Caption, W_C_Caption, W_C_Hint, W_C_Title, W_C_Text, W_C_Items<i>_Text,
// W_L_Columns<i>_Caption, W_T_Items<i>_Text.
QString Clave(const char *ventana, const Clave_Ventana &c);

// One table per translated window, in the order the windows are created.
std::span<const Tabla_Ventana> Tablas_Ventanas();
// The table of a window by name (without regard to case), or nullptr for a
// window that is not translated (F_Select_Lang, for one).
const Tabla_Ventana *Tabla_De(const QString &ventana);

// Keys of the message table.
std::span<const char *const> Claves_Mensajes();
// Keys of the controller state texts by state code 0..7; nullptr where the
// code has no text.
std::span<const char *const> Claves_Estado();
// Keys of the report labels campo_1..campo_13; nullptr for campo_6, which
// repeats campo_4.
std::span<const char *const> Claves_Informe();

// Messages holding the month names (January first) and the incidence-type
// names (type 1 first), within the message table.
std::span<const char *const> Claves_Meses();
std::span<const char *const> Claves_Tipos_Incidencia();

// Every key the program reads from the language file, each once.
QStringList Todas_Las_Claves();

} // namespace Lang
