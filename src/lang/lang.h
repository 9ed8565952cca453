#pragma once

#include <QString>
#include <QStringList>

// The language file "Keyvane20_Lang.ini": one section per language, read
// (never written) from the system directory. The current language is
// Variables::Idioma.
namespace Lang {

inline const QString Fichero_Idioma_Nombre = QStringLiteral("Keyvane20_Lang.ini");
// The language chosen when the selection window is closed without a choice.
inline const QString Idioma_Por_Defecto = QStringLiteral("ENGLISH");

// Full path of the language file in the system directory.
QString Fichero_Idioma();

// Reads the language file for the rest of the run. A missing or unreadable
// file leaves no sections, so every text reads as the missing-text marker.
// Reading a text opens the file first when nobody has.
void Abrir_Fichero_Idioma();
// Releases it; the next text read opens it again.
void Cerrar_Fichero_Idioma();

// The text of clave in the current language's section (key and section
// matched without regard to case); the marker "¿?" when the key, the section
// or the file is missing. A key present with an empty text gives "".
QString Texto_Idioma(const QString &clave);

// True while no language has been chosen (Idioma empty or the marker): the
// login window then asks for one with F_Select_Lang.
bool Sin_Idioma();

// The language file's sections, in file order.
QStringList Idiomas_Disponibles();

// Loads, in the current language, the message table, the controller state
// texts (Texto_Estado), the report labels (campo_6 repeating campo_4), the
// month names and the incidence-type names into the program-wide state.
void Cargar_Mensajes();

} // namespace Lang
