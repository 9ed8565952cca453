#include "workflows/gestion_instalaciones.h"

#include "workflows/coordinacion.h"
#include "workflows/instalacion.h"
#include "workflows/interlocutor.h"

#include "model/errorbd.h"
#include "model/auditoria.h"
#include "model/globales.h"
#include "model/settings_errors.h"
#include "model/variables.h"
#include "model/zarvcoleccionincidencia.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv::wf {
namespace {

QString Mensaje(const char *clave)
{
    return Variables::Mensaje(QLatin1String(clave));
}

// Lines of a message, the empty ones left out.
QString Lineas(const QStringList &partes)
{
    QStringList llenas;
    for (const QString &p : partes)
        if (!p.trimmed().isEmpty())
            llenas << p.trimmed();
    return llenas.join(QLatin1Char('\n'));
}

// The program's own words for each kind of failure; none where only the
// tool's message can say what went wrong.
const char *Clave_Fallo(Fallo_Copia fallo)
{
    switch (fallo) {
    case Fallo_Copia::No_Es_Copia: return "Variables_variables_F_Gestion_BD_3";
    case Fallo_Copia::Danada: return "Variables_variables_F_Gestion_BD_4";
    case Fallo_Copia::Incompleta: return "Variables_variables_F_Gestion_BD_5";
    case Fallo_Copia::Ajena: return "Variables_variables_F_Gestion_BD_6";
    case Fallo_Copia::Antigua: return "Variables_variables_F_Gestion_BD_7";
    case Fallo_Copia::Mas_Nueva: return "Variables_variables_F_Gestion_BD_8";
    case Fallo_Copia::En_Uso: return "Variables_variables_F_Gestion_BD_9";
    case Fallo_Copia::Fichero: return "Variables_variables_F_Gestion_BD_10";
    case Fallo_Copia::Ninguno:
    case Fallo_Copia::Otro: break;
    }
    return nullptr;
}

// Listening follows the registering switch on the installation open now:
// the one a workflow opened listens when registering is on, whether or not
// the one it replaced did.
void Sigue_Registro()
{
    ZARVColeccionIncidencia *incidencias = Coordinacion::Incidencias();
    if (!incidencias)
        return;
    if (Variables::Registrando && !incidencias->Escuchando())
        incidencias->Inicia_Registro();
    else if (!Variables::Registrando && incidencias->Escuchando())
        incidencias->Detiene_Registro();
}

// Runs trabajo holding the controllers, then gives them back and lets
// listening follow the switch. A port that cannot listen again is raised
// once the work is done; after a failure the failure is what is raised.
void Con_Controladores(const std::function<void()> &trabajo)
{
    struct Registro_Final {
        ~Registro_Final()
        {
            try {
                Sigue_Registro();
            } catch (...) {
            }
        }
    } final;
    Trabajo_Controladores turno;
    trabajo();
    turno.Termina();
    Sigue_Registro();
}

// Opens anterior again after a failed switch; a failure to do so is added
// to the text, as then no installation is open.
QString Vuelve_A(const QString &anterior, const Apertura &abre)
{
    Cierra_Instalacion();
    if (anterior.isEmpty())
        return QString();
    try {
        abre(anterior);
        return QString();
    } catch (const std::exception &e) {
        Cierra_Instalacion();
        return QString::fromUtf8(e.what());
    }
}

// The installation's line in the list ("2.- Warehouse"), or its code alone
// when the list has none.
QString Entrada_De(const QString &codigo)
{
    for (const QString &e : Globales::Servidor->Lista_Instalaciones())
        if (e.section(QStringLiteral(".-"), 0, 0).trimmed() == codigo)
            return e;
    return codigo;
}

// The entry of an installation's change, in the log of the one open now.
void Anota(Auditoria::Accion accion, const QString &instalacion,
           Auditoria::Resultado resultado = Auditoria::Resultado::Hecho, const QString &detalle = QString())
{
    Auditoria::Registra_En_Abierta(accion, Auditoria::Objeto{.nombre = instalacion, .detalle = detalle}, resultado);
}

// Closes the open installation and opens codigo; when that fails the one
// open before opens again and the failure is raised.
void Pasa_A(const QString &codigo, const QString &anterior, const Apertura &abre)
{
    Cierra_Instalacion();
    try {
        abre(codigo);
    } catch (const std::exception &e) {
        const QString motivo = QString::fromUtf8(e.what());
        const QString otra = Vuelve_A(anterior, abre);
        throw Fallo_Instalacion(Lineas({Mensaje("Variables_variables_F_Gestion_BD_14"), motivo, otra}));
    }
}

// The name part of an installation entry as the delete question shows it:
// everything after the "." of its ".-", leading dash included.
QString Parte_Nombre(const QString &entrada)
{
    const qsizetype punto = entrada.indexOf(QLatin1String(".-"));
    return punto < 0 ? entrada : entrada.mid(punto + 1);
}

// Copies origen to destino through a file beside it, so that destino never
// exists half written.
void Copia(const QString &origen, const QString &destino)
{
    const QString provisional = destino + QStringLiteral(".tmp");
    QFile::remove(provisional);
    // A copy takes its source's permissions, and an installed factory set is
    // read-only; the copy is a working database the operators' group writes.
    if (!QFile::copy(origen, provisional)
        || !QFile::setPermissions(provisional, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                   | QFile::WriteGroup)
        || !QFile::rename(provisional, destino)) {
        QFile::remove(provisional);
        throw kv::FileError(QStringLiteral("Cannot copy %1 to %2").arg(origen, destino));
    }
}

} // namespace

void Apertura_Modelo(const QString &codigo)
{
    Abre_Instalacion(codigo);
}

Fallo_Instalacion::Fallo_Instalacion(const QString &texto, Fallo_Copia fallo)
    : std::runtime_error(texto.toStdString())
    , m_texto(texto)
    , m_fallo(fallo)
{
}

void Cierra_Instalacion()
{
    // The model's destructor releases every controller's line, then closes
    // the collections' connections.
    Globales::Sistema.reset();
    Coordinacion::Ajusta_Mantenimiento();
}

QString Instalacion_Abierta()
{
    return Globales::Sistema ? Variables::Instalacion_Actual : QString();
}

void Cambia_Instalacion(const QString &codigo, const Apertura &abre)
{
    // The lines are released synchronously as the installation closes, so
    // the next one takes them at once: there is nothing to wait for.
    Con_Controladores([&] { Pasa_A(codigo, Instalacion_Abierta(), abre); });
    Anota(Auditoria::Accion::Instalacion_Abierta, Entrada_De(Instalacion_Abierta()));
}

int Crea_Instalacion(const QString &nombre, const Apertura &abre)
{
    if (nombre.trimmed().isEmpty())
        return 0;
    int codigo = 0;
    Con_Controladores([&] {
        // Made before anything is closed: a name the database refuses, a
        // template that cannot be copied, leave the open installation open.
        try {
            codigo = Globales::Servidor->Nueva_Instalacion(nombre, kv::Paths::programDir());
        } catch (const ErrorBD &e) {
            throw Fallo_Instalacion(Lineas({Mensaje("Variables_variables_F_Gestion_BD_11"), e.Texto()}));
        }
        Pasa_A(QString::number(codigo), Instalacion_Abierta(), abre);
    });
    Anota(Auditoria::Accion::Instalacion_Alta, Entrada_De(Instalacion_Abierta()));
    return codigo;
}

bool Elimina_Instalacion(const QString &codigo, const QString &entrada, Interlocutor &operador, const Apertura &abre)
{
    // There is always an installation to open: the last one is not offered.
    if (codigo.isEmpty() || Globales::Servidor->Lista_Instalaciones().size() < 2)
        return false;
    if (!operador.Confirma(Mensaje("Variables_variables_F_Main_27") + QLatin1Char(' ') + Parte_Nombre(entrada)
                           + QLatin1Char('?'))) {
        Anota(Auditoria::Accion::Instalacion_Baja, entrada, Auditoria::Resultado::Cancelado);
        return false;
    }
    Con_Controladores([&] {
        const QString anterior = Instalacion_Abierta();
        Cierra_Instalacion();
        Fallo_Copia fallo = Fallo_Copia::Ninguno;
        QString motivo;
        try {
            if (!Globales::Servidor->Borra_Instalacion(codigo, kv::Paths::databaseDir())) {
                fallo = Fallo_Copia::En_Uso;
                motivo = Mensaje("Variables_variables_F_Gestion_BD_9");
            }
        } catch (const ErrorBD &e) {
            fallo = Fallo_Copia::Otro;
            motivo = e.Texto();
        }
        if (fallo != Fallo_Copia::Ninguno) {
            const QString otra = Vuelve_A(anterior, abre);
            throw Fallo_Instalacion(Lineas({Mensaje("Variables_variables_F_Gestion_BD_12"), motivo, otra}), fallo);
        }
        abre(Primera_Instalacion());
    });
    // In the log of the installation that opened in its place: the deleted
    // one's own log went with its file.
    Anota(Auditoria::Accion::Instalacion_Baja, entrada);
    return true;
}

void Exporta_Instalacion(const QString &codigo, const QString &fichero, const ProgresoCopia &progreso)
{
    // In this process, beside the open installation: nothing is closed.
    const ZARVResultadoCopia r = Globales::Servidor->Exporta_Instalacion(
        QStringLiteral("instalacion_") + codigo, fichero, kv::Paths::databaseDir() + QLatin1Char('/'), progreso);
    if (!r.Correcto)
        throw Fallo_Instalacion(Texto_Fallo_Copia("Variables_variables_F_Gestion_BD_1", r), r.Fallo);
    Anota(Auditoria::Accion::Instalacion_Exportada, Entrada_De(codigo), Auditoria::Resultado::Hecho, fichero);
}

void Importa_Instalacion(const QString &codigo, const QString &fichero, const Apertura &abre,
                         const ProgresoCopia &progreso)
{
    Con_Controladores([&] {
        const QString anterior = Instalacion_Abierta();
        // Restored and checked beside the installation while it stays open:
        // a file that is no good backup is refused before anything closes.
        const std::unique_ptr<ZARVRestauracion> r = Globales::Servidor->Restaura_Aparte(
            QStringLiteral("instalacion_") + codigo, fichero, kv::Paths::databaseDir() + QLatin1Char('/'), progreso);
        const auto rehusa = [&] {
            throw Fallo_Instalacion(Texto_Fallo_Copia("Variables_variables_F_Gestion_BD_2", r->Resultado()),
                                    r->Resultado().Fallo);
        };
        if (!r->Correcta())
            rehusa();
        Cierra_Instalacion();
        if (!r->Coloca()) {
            Vuelve_A(anterior, abre);
            rehusa();
        }
        try {
            abre(codigo);
        } catch (const std::exception &e) {
            // The restored file would not open after all: the old one goes
            // back and opens again.
            const QString motivo = QString::fromUtf8(e.what());
            Cierra_Instalacion();
            r->Deshaz();
            const QString otra = Vuelve_A(anterior, abre);
            throw Fallo_Instalacion(
                Lineas({Mensaje("Variables_variables_F_Gestion_BD_2"), motivo, otra}));
        }
        r->Confirma();
    });
    Anota(Auditoria::Accion::Instalacion_Importada, Entrada_De(Instalacion_Abierta()), Auditoria::Resultado::Hecho,
          fichero);
}

QString Con_Extension_Kvd(const QString &nombre)
{
    return QFileInfo(nombre).suffix().isEmpty() ? nombre + QStringLiteral(".kvd") : nombre;
}

QString Texto_Fallo_Copia(const QString &clave, const ZARVResultadoCopia &r)
{
    const char *porque = Clave_Fallo(r.Fallo);
    return Lineas({Variables::Mensaje(clave), porque ? Mensaje(porque) : QString(), r.Mensaje});
}

QStringList Repara_BD_Inicial(const QString &recuperada)
{
    const QString bdkv = kv::Paths::databaseDir();
    if (QFileInfo::exists(bdkv + QLatin1Char('/') + Fichero_Principal))
        return {};
    QDir().mkpath(bdkv);
    // The main database comes back from the factory set. An installation
    // file already here is kept: it holds that installation's data, which
    // the factory copy (empty) would destroy. The template and any
    // installation file that is missing come from the factory set.
    const QDir fabrica(kv::Paths::factoryDir());
    const QStringList ficheros = fabrica.entryList({QStringLiteral("*.FDB")}, QDir::Files);
    if (!ficheros.contains(Fichero_Principal, Qt::CaseInsensitive))
        throw kv::FileError(QStringLiteral("The factory set in %1 has no %2").arg(fabrica.path(), Fichero_Principal));
    for (const QString &nombre : ficheros) {
        const bool principal = nombre.compare(Fichero_Principal, Qt::CaseInsensitive) == 0;
        // A file kept under another letter case counts as there (name
        // filters match without regard to case).
        if (principal || QDir(bdkv).entryList({nombre}, QDir::Files).isEmpty())
            Copia(fabrica.filePath(nombre), bdkv + QLatin1Char('/') + nombre);
    }
    // The factory main database lists installation 1 alone and its code
    // generator starts again: the kept files are listed again, and no new
    // installation will take the code of one of them.
    ZARVServer servidor;
    servidor.Configurar(Variables::Servidor_BD, bdkv + QLatin1Char('/') + Fichero_Principal, Variables::Password_BD,
                        Variables::Usuario_BD);
    // The database tool is the system's own; there is nothing to copy for it.
    return servidor.Registra_Instalaciones_Sueltas(bdkv, recuperada);
}

} // namespace kv::wf
