#pragma once

#include <QString>

// The application parameters of the settings file (section "General") as the
// parameters window and keyvane-cli edit them: nothing takes effect until the
// whole set is applied, and the file is written only when something changed.
namespace kv::wf {

struct Parametros_App {
    QString Idioma;       // a section of the language file
    int El_inc = 0;       // automatic deletion of incidences: 0 none, 1, 2, 3
    bool Liberar_tarj = true;
    bool Testear_cx = true;
    QString USA_LECTOR;   // number of the reader that reads card codes; empty: none

    bool operator==(const Parametros_App &) const = default;
};

// The values in effect.
Parametros_App Parametros_Actuales();

// Puts p in effect, the reading reader (Lector_Activo, Lector_Codigo) with
// it, and writes the settings when anything differs from what was in effect.
// True when it wrote. When the file cannot be written the previous values
// stay in effect and kv::FileError is thrown. An El_inc outside 0..3 keeps
// the current one; a USA_LECTOR that is not a number is kv::ConversionError
// and changes nothing.
bool Aplica_Parametros(const Parametros_App &p);

} // namespace kv::wf
