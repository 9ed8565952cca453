#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QSqlDatabase;
class ZARVControlador;
class ZARVTarjeta;
class ZARVUsuario;

// The operators' log: who changed which card, reader, cardholder, login or
// installation, and when. It lives in the installation database (table
// ZARVAUDITORIA), so a backup carries it; rows are only ever added: the
// database itself refuses to change or delete one.
//
// An entry is written on the connection of the change it describes and
// inside the same transaction (open a TransaccionBD around both), so that a
// change is never stored without its entry nor an entry without its change.
namespace Auditoria {

// What was done. The stored text is Clave(accion), in English, fixed: files
// and scripts read it, so a text never changes once shipped.
enum class Accion {
    Usuario_Alta,
    Usuario_Cambio,
    Usuario_Baja,
    Tarjeta_Alta,
    Tarjeta_Cambio,
    Tarjeta_Baja,
    Tarjeta_Asignada,   // the card opens one more reader
    Tarjeta_Retirada,   // the card no longer opens a reader
    Tarjetas_Enviadas,  // the database's cards written into a controller
    Tarjetas_Recibidas, // a controller's cards read into the database
    Controlador_Alta,
    Controlador_Cambio,
    Controlador_Baja,
    Controlador_Vaciado,
    Controlador_Clonado,
    Tarjeta_Maestra,
    Hora_Puesta,
    Login_Alta,
    Login_Baja,
    Login_Password,
    Instalacion_Alta,
    Instalacion_Baja,
    Instalacion_Exportada,
    Instalacion_Importada,
    Instalacion_Abierta,
    Parametros_Cambiados,
    Libro_Importado,
    Libro_Exportado,
};

enum class Resultado {
    Hecho,
    Rechazado, // the controller refused or did not answer
    Cancelado, // the operator stopped it
};

QString Clave(Accion accion);
QString Clave(Resultado resultado);
std::optional<Accion> Accion_De(const QString &clave);

// What the entry is about; every field may stay empty.
struct Objeto {
    QString tarjeta;     // a card's ten-digit code
    int usuario = 0;     // a cardholder's number
    QString nombre;      // the cardholder's name, a login, an installation, a file
    int controlador = 0; // a controller's number
    QString detalle;     // anything else worth keeping (a count, a reason)
};

// The objects of the model as an entry names them.
Objeto De_Usuario(const ZARVUsuario &usuario);
Objeto De_Tarjeta(const ZARVTarjeta &tarjeta); // with its cardholder, if any
Objeto De_Controlador(const ZARVControlador &controlador);

struct Entrada {
    qint64 id = 0;
    QDateTime momento;
    QString login;
    QString accion;
    Objeto objeto;
    QString resultado;
};

// The login that is acting: the logged-in operator, or "console" for the
// headless commands and anything done before a login; "maintenance" while
// an Automatico lives.
QString Operador();

// What the program does by itself (the maintenance freeing expired cards)
// is logged under "maintenance", not under the operator who happens to be
// logged in, while this lives.
class Automatico {
public:
    Automatico();
    ~Automatico();
    Automatico(const Automatico &) = delete;
    Automatico &operator=(const Automatico &) = delete;
};

// Writes one entry on db (time from the database server's clock, the
// operator from Operador()), in whatever transaction runs there. Raises
// ErrorBD when it cannot be written: the change it belongs to must then be
// rolled back.
void Registra(QSqlDatabase &db, Accion accion, const Objeto &objeto, Resultado resultado = Resultado::Hecho);

// For a change outside the installation database (a login of the main
// database, an installation file): writes the entry in the open
// installation's log inside a transaction there, then makes the change,
// and commits the entry only when the change went through. The two
// databases cannot share one transaction: should the entry's commit fail
// after the change, the error is raised all the same. Without an open
// installation the change is made with no entry.
void Con_Entrada(Accion accion, const Objeto &objeto, const std::function<void()> &cambio);
// The entry alone, in the open installation's log (a refused or cancelled
// action, or one whose change is the opening itself); nothing when none is open.
void Registra_En_Abierta(Accion accion, const Objeto &objeto, Resultado resultado = Resultado::Hecho);

// Holds the entries of the single changes back while it lives (nesting
// counts): for work that records one entry of its own for a whole batch,
// such as a workbook import.
class Agrupacion {
public:
    Agrupacion();
    ~Agrupacion();
    Agrupacion(const Agrupacion &) = delete;
    Agrupacion &operator=(const Agrupacion &) = delete;
    static bool Activa();
};

// Which entries to read, newest first. Empty fields do not filter.
struct Filtro {
    QDate desde;    // from this day on
    QDate hasta;    // up to this day, inclusive
    QString login;  // exactly this login (any letter case)
    QString objeto; // a card code, cardholder number or controller number, or text in the name or the detail
    int limite = 0; // at most this many; 0 for all
    // The next page: only entries that come after this one (its time and id);
    // an invalid time for the newest.
    QDateTime tras_momento;
    qint64 tras_id = 0;
};

std::vector<Entrada> Lee(QSqlDatabase &db, const Filtro &filtro);

// One tab-separated line per entry: time, login, action, card, cardholder,
// name, controller, outcome, detail; tabs and line breaks in texts become
// spaces.
QString Linea(const Entrada &entrada);

} // namespace Auditoria
