#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Program-wide state and the settings file "KEYVANE20.INI". The model root and
// the server live with the model's own headers; everything else that several
// windows share lives here for the whole run.
namespace Variables {

// A text missing from the language file reads as this marker (the bytes 0xBF
// 0x3F on disk); as the language setting it means "no language chosen yet".
inline const QString Texto_Ausente = QStringLiteral("\u00BF?");

inline const QString Fichero_Configuracion_Nombre = QStringLiteral("KEYVANE20.INI");
inline const QString Seccion_General = QStringLiteral("General");

// Settings of section "General" (Lee_Configuracion, Guarda_Configuracion).
inline QString Idioma = Texto_Ausente;
inline bool Testear_cx = true;
inline bool Liberar_tarj = true;
inline int El_inc = 0;
inline QString LAST_INSTALLATION;
inline QString USA_LECTOR;
// Empty: the installation files are opened directly (embedded); otherwise the
// host of the Firebird server that several operator stations share.
inline QString Servidor_BD;
// The account on that server (keys Usuario_BD and Password_BD beside
// Servidor_BD; the program never writes them). Embedded access ignores them.
inline const QString Usuario_BD_Defecto = QStringLiteral("sysdba");
inline const QString Password_BD_Defecto = QStringLiteral("quillpond");
inline QString Usuario_BD = Usuario_BD_Defecto;
inline QString Password_BD = Password_BD_Defecto;

// The reading reader used to enrol cards.
inline bool Lector_Activo = false;
inline int Lector_Codigo = 0;

// Incidence registering switched on by the operator.
inline bool Registrando = false;
// Decimal code of the open installation.
inline QString Instalacion_Actual;
// Card code handed to the retry window.
inline QString Tarjeta_Reintentar;

// Text tables filled from the language file at start-up.
inline QHash<QString, QString> Mensajes;     // message table, by lower-cased key: read it with Mensaje()
inline QStringList Nombres_Mes;              // 12, January first
inline QStringList Tipos_Incidencia;         // 10, type 1 first; 7..10 empty
inline QStringList Campos_Informe;           // 13, campo_1 first

// A message of the table, or the marker when the table lacks it.
QString Mensaje(const QString &clave);

// Full path of the settings file in the system directory.
QString Fichero_Configuracion();

// Reads section "General". A missing file reads as every default. Throws
// kv::ConversionError when El_inc does not start with a digit or USA_LECTOR is
// not a number, and kv::FileError when the file exists but cannot be read.
void Lee_Configuracion();
// Writes section "General" (Testear_cx, Liberar_tarj, El_inc, Idioma,
// LAST_INSTALLATION, USA_LECTOR, Servidor_BD), keeping every other entry of
// the file. Throws kv::FileError when the file cannot be written.
void Guarda_Configuracion();

// Camera sections of the settings file.
bool Existe_Seccion(const QString &seccion);
QString Lee_Valor(const QString &seccion, const QString &clave, const QString &defecto = QString());
// Adds a section with camara_desc and camara_MAC unless one of that name exists.
void Anade_Camara(const QString &seccion, const QString &descripcion, const QString &mac);
void Borra_Seccion(const QString &seccion);

// Directory of the program's executable, without a trailing separator.
QString Directorio_Programa();

// Terminates every other process whose executable's file name, or whole path,
// equals nombre_exe without regard to case. The calling process is never
// touched. Returns the outcome of the last termination, false when nothing
// matched.
bool Termina_Proceso(const QString &nombre_exe);

// The first two characters as hexadecimal digits (0-9, A-F; anything else,
// lower-case letters included, and a missing character count as 0), in
// decimal: "1F" gives "31".
QString Hex_a_Decimal(const QString &texto);

// Puts every item back to its initial value (tests, and a fresh start).
void Restablecer();

} // namespace Variables
