// The language file's keys outside the windows: the message table, the
// controller state texts and the report labels.
#include "lang/tablas.h"

#include <QSet>

#include <array>

namespace Lang {
namespace {

constexpr auto mensajes = std::to_array<const char *>({
    "Variables_variables_F_Main_2",  // master card changed
    "Variables_variables_F_Main_3",  // master card not changed
    "Variables_variables_F_Main_4",  // parameters written: close the program now?
    "Variables_variables_F_Main_5",  // another language applies at the next start
    "Variables_variables_F_Main_6",  // login deletion, first line
    "Variables_variables_F_Main_7",  // login deletion, the question; the login follows
    "Variables_variables_F_Main_8",  // user deletion; the number of users and ")?" follow
    "Variables_variables_F_Main_9",  // card deletion, before the number of cards
    "Variables_variables_F_Main_10", // card deletion, after the number of cards
    "Variables_variables_F_Main_11", // controller deletion; the description and "?" follow
    "Variables_variables_F_Main_12", // erasing a controller's cards; the description and "?" follow
    "Variables_variables_F_Main_13", // incidence row of a reader that failed the periodic test
    "Variables_variables_F_Main_14", // month names, January ...
    "Variables_variables_F_Main_15",
    "Variables_variables_F_Main_16",
    "Variables_variables_F_Main_17",
    "Variables_variables_F_Main_18",
    "Variables_variables_F_Main_19",
    "Variables_variables_F_Main_20",
    "Variables_variables_F_Main_21",
    "Variables_variables_F_Main_22",
    "Variables_variables_F_Main_23",
    "Variables_variables_F_Main_24",
    "Variables_variables_F_Main_25", // ... December
    "Variables_variables_F_Main_26", // heading of the incidence printout
    "Variables_variables_F_Main_27", // installation deletion; the name and "?" follow
    "Variables_variables_F_Main_28", // incidence types 1 ...
    "Variables_variables_F_Main_29",
    "Variables_variables_F_Main_30",
    "Variables_variables_F_Main_31",
    "Variables_variables_F_Main_32",
    "Variables_variables_F_Main_33", // ... 6
    "Variables_variables_F_Main_34", // another task holds the readers: the action is refused
    "Variables_variables_F_Main_35", // incidence row of a listening line that went away
    "Variables_variables_F_Main_36", // incidence row of a lost line that listens again
    "Variables_variables_F_Main_37", // incidence row of an event that could not be stored
    "Variables_variables_F_Main_38", // an administrative action refused to a USER
    "Variables_variables_F_Main_39", // login window after too many wrong passwords; the seconds follow
    "Variables_variables_F_Main_40", // notice while admin keeps its factory password
    "Variables_variables_F_Main_41", // change password: the old one is wrong
    "Variables_variables_F_Main_42", // change password: the new one empty or typed differently
    "Variables_variables_F_Main_43", // change password: done
    "Variables_variables_F_Main_44", // a card code that is not one; the code follows
    "Variables_variables_F_Main_45", // a user's name too long or on several lines
    "Variables_variables_F_Main_46", // a card of another user: give it away? The code and owner follow
    "Variables_variables_F_Main_47", // a photograph that is not a picture; the file follows
    "Variables_variables_F_Main_48", // a selected card deleted meanwhile, skipped; the code follows
    "Variables_variables_F_Main_49", // a new card that could not be stored; the reason follows
    "Variables_variables_F_Main_50", // readers read in part by a receive; the list follows
    "Variables_variables_F_Main_51", // lines of an opened incidence file left out; their count follows
    "Variables_variables_F_Main_52", // an incidence file too large to open whole: its first rows only
    "Variables_variables_F_Main_53", // lines of an opened attendance file left out; their count follows
    "Variables_variables_F_Camera_Control_1",  // adding a camera whose number is in use; the number follows
    "Variables_variables_F_edit_controller_1", // door-open time outside 0..99
    "Variables_variables_F_edit_controller_2", // door-lock time outside 1..99
    "Variables_variables_F_Exp_imp_1",         // the workbook could not be written or read
    "Variables_variables_F_Exp_imp_2",         // no file chosen
    "Variables_variables_F_Exp_imp_3",         // an export that failed; why follows
    "Variables_variables_F_Exp_imp_4",         // workbook rows refused at reading; "row: code" lines follow
    "Variables_variables_F_Exp_imp_5",         // an import's counts: imported, skipped, refused
    "Variables_variables_F_Exp_imp_6",         // imported cards wait for a send
    "Variables_variables_F_Exp_imp_7",         // an import undone at a row; the reason follows
    "Variables_variables_F_Gestion_BD_1",      // a backup failed; why and the tool's message follow
    "Variables_variables_F_Gestion_BD_2",      // a restore refused, the installation as it was; why follows
    "Variables_variables_F_Gestion_BD_3",      // why: the file is not a backup
    "Variables_variables_F_Gestion_BD_4",      // why: a damaged backup
    "Variables_variables_F_Gestion_BD_5",      // why: a backup cut short
    "Variables_variables_F_Gestion_BD_6",      // why: a backup of another database
    "Variables_variables_F_Gestion_BD_7",      // why: an installation of an older schema
    "Variables_variables_F_Gestion_BD_8",      // why: made by a newer program or tool
    "Variables_variables_F_Gestion_BD_9",      // why: the installation held open elsewhere
    "Variables_variables_F_Gestion_BD_10",     // why: the file cannot be read or written
    "Variables_variables_F_Gestion_BD_11",     // an installation not created; the reason follows
    "Variables_variables_F_Gestion_BD_12",     // an installation not deleted; the reason follows
    "Variables_variables_F_Gestion_BD_13",     // the name of an installation the repair listed again; its code follows
    "Variables_variables_F_Gestion_BD_14",     // an installation that would not open; the reason follows
});

// Index = state code of a controller's test reply.
constexpr auto estados = std::to_array<const char *>({
    "cambio_master",
    nullptr,
    "puerta_cerrada",
    "anyadir_usuario",
    "borrar_usuario",
    "t_abrepuertas",
    "t_puerta_abierta",
    "puerta_abierta",
});

// campo_1 .. campo_13 of LANGREP. campo_2, campo_3 and campo_4 also head the
// columns of the exported workbook.
constexpr auto informe = std::to_array<const char *>({
    "F_Main_CAMPO_1",  // title of the users report
    "F_Main_CAMPO_2",  // first name
    "F_Main_CAMPO_3",  // surnames
    "F_Main_CAMPO_4",  // card code
    "F_Main_CAMPO_5",  // registration date
    nullptr,           // campo_6: the card code again
    "F_Main_CAMPO_7",  // expiry date
    "F_Main_CAMPO_8",  // expiry in use
    "F_Main_CAMPO_9",  // title of the cards report
    "F_Main_CAMPO_10", // title of the controllers report
    "F_Main_CAMPO_11", // controller number
    "F_Main_CAMPO_12", // serial port
    "F_Main_CAMPO_13", // description
});

} // namespace

std::span<const char *const> Claves_Mensajes() { return mensajes; }
std::span<const char *const> Claves_Estado() { return estados; }
std::span<const char *const> Claves_Informe() { return informe; }
std::span<const char *const> Claves_Meses() { return std::span(mensajes).subspan(12, 12); }
std::span<const char *const> Claves_Tipos_Incidencia() { return std::span(mensajes).subspan(26, 6); }

QStringList Todas_Las_Claves()
{
    QStringList claves;
    QSet<QString> vistas;
    const auto anadir = [&](const QString &k) {
        if (!vistas.contains(k.toLower())) {
            vistas.insert(k.toLower());
            claves.append(k);
        }
    };
    for (const Tabla_Ventana &t : Tablas_Ventanas())
        for (const Clave_Ventana &c : t.claves)
            anadir(Clave(t.ventana, c));
    for (const std::span<const char *const> tabla : {Claves_Mensajes(), Claves_Estado(), Claves_Informe()})
        for (const char *k : tabla)
            if (k)
                anadir(QLatin1String(k));
    return claves;
}

} // namespace Lang
