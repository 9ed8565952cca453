#pragma once

#include "model/conexionbd.h"

#include <QString>
#include <QStringList>
#include <functional>

// Why a backup or restore failed, so that the operator can be told in words
// of the program's own and a script can tell a refused file from a broken setup.
enum class Fallo_Copia {
    Ninguno,     // it worked
    Fichero,     // the backup file cannot be read, or its place cannot be written
    No_Es_Copia, // the file is not a backup of the database tool at all
    Danada,      // a backup that the tool could not read through
    Incompleta,  // a backup cut short
    Ajena,       // a good backup of a database that is not an installation
    Antigua,     // an installation whose tables lack what this version reads and writes
    Mas_Nueva,   // made by a newer program or a newer database tool
    En_Uso,      // the installation is held open elsewhere
    Otro,        // anything else the tool or the file system said
};

// The outcome of a backup or restore: success, or the database tool's own
// message and what kind of failure it was. The caller shows it; the output
// lines are the tool's verbose log.
struct ZARVResultadoCopia {
    bool Correcto = false;
    QString Mensaje;
    QStringList Salida;
    Fallo_Copia Fallo = Fallo_Copia::Otro;
};

// Receives each verbose line of the tool while it works, so a window can show
// progress and repaint between lines.
using ProgresoCopia = std::function<void(const QString &linea)>;

// Firebird's backup and restore, run in this process through the client
// library's service manager. In-process, the backup sees a database that this
// same process holds open (a separate backup process cannot while the embedded
// engine holds the file), and user, password and file names travel as
// parameter blocks: nothing passes through a shell. The backup file is the
// backup tool's own format.
class ServicioCopia {
public:
    explicit ServicioCopia(const ParametrosBD &parametros, ProgresoCopia progreso = {});

    // Backs base_datos up into fichero, overwriting it.
    ZARVResultadoCopia Copia(const QString &base_datos, const QString &fichero);
    // Restores fichero into the new file base_datos; fails when it exists.
    ZARVResultadoCopia Restaura(const QString &fichero, const QString &base_datos);

private:
    ZARVResultadoCopia Ejecuta(const QByteArray &peticion);

    ParametrosBD m_parametros;
    ProgresoCopia m_progreso;
};
