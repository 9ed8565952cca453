#include "model/zarvserver.h"

#include "model/transaccionbd.h"

#include "model/auditoria.h"
#include "model/clave.h"
#include "model/errorbd.h"
#include "model/nivel.h"
#include "model/sqltexto.h"
#include "model/uzarv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QThread>
#include <QUuid>
#include <filesystem>
#include <system_error>
#include <utility>

namespace {

QString Con_Separador(const QString &directorio)
{
    return directorio.endsWith(QLatin1Char('/')) ? directorio : directorio + QLatin1Char('/');
}

// A file name beside destino that nothing uses yet: restores and copies land
// there first and take destino's place only once they are complete.
QString Fichero_Provisional(const QString &destino)
{
    QString ruta;
    do {
        ruta = destino + QStringLiteral(".tmp-") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    } while (QFileInfo::exists(ruta));
    return ruta;
}

// Puts origen in place of destino in one step, so destino is at every moment
// either the old file or the complete new one.
bool Reemplaza(const QString &origen, const QString &destino, QString *error)
{
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(origen).toStdString(), QFile::encodeName(destino).toStdString(), ec);
    if (ec && error)
        *error = QString::fromStdString(ec.message());
    return !ec;
}

// The columns of the five tables of an installation, as this version reads
// and writes them (data/installation.sql), and the generators its inserts take.
struct Tabla_Instalacion {
    const char *nombre;
    std::initializer_list<const char *> columnas;
};
const Tabla_Instalacion Tablas_Instalacion[] = {
    {"ZARVCONTROLADOR", {"COD", "PUERTO_SERIE", "TIEMPO_PTA_ABIERTA", "TIPO", "DESCRIPCION", "DIRECCION"}},
    {"ZARVTARJETA", {"CODIGO_TARJETA", "BLOQUEADO", "FECHA_ALTA", "FECHA_CADUCIDAD", "USUARIO", "USAR_FECHA_CAD"}},
    {"ZARVCONTROLADORTARJETA", {"TARJETA", "CONTROLADOR", "_STOREDINHW"}},
    {"ZARVUSUARIO", {"ID", "NOMBRE", "APELLIDOS", "PERMANENTE", "FOTOGRAFIA"}},
    {"ZARVINCIDENCIA",
     {"COD", "CONTROLADOR", "HIST_CONTROLADOR", "TARJETA", "HIST_TARJETA", "TIMESTAMP", "DESCRIPCION", "EVENTO",
      "USR"}},
};
const char *const Generadores_Instalacion[] = {"GEN_ZARVUSUARIO_ID", "GEN_ZARVINCIDENCIA_ID"};

ZARVResultadoCopia Fallo(Fallo_Copia fallo, const QString &mensaje)
{
    return {false, mensaje, {}, fallo};
}

// A restored file fit to replace an installation: it opens, it is online
// (a restore that stopped early, on a truncated backup, leaves the file shut
// down with its tables but not their rows, and the tool does not always say
// so), and its tables are an installation's as this version knows them. A
// good backup of another database restores fine but is not one; one whose
// tables lack columns or generators comes from an older schema, and the
// collections would fail on it; one whose tables have columns this version
// does not know was made by a newer program, whose rows this one would write
// without them.
ZARVResultadoCopia Es_Instalacion(const ParametrosBD &parametros, const QString &fichero)
{
    ConexionBD c(parametros, fichero);
    try {
        c.Abrir();
    } catch (const ErrorBD &e) {
        return Fallo(Fallo_Copia::Danada, e.Texto());
    }
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select mon$shutdown_mode from mon$database")) || !q.next())
        return Fallo(Fallo_Copia::Danada, q.lastError().text());
    if (q.value(0).toInt() != 0)
        return Fallo(Fallo_Copia::Incompleta, QStringLiteral("The backup is incomplete: the restore did not finish"));

    QMap<QString, QSet<QString>> encontradas;
    if (!q.exec(QStringLiteral("select trim(rdb$relation_name), trim(rdb$field_name) from rdb$relation_fields "
                               "where rdb$relation_name starting with 'ZARV'")))
        return Fallo(Fallo_Copia::Danada, q.lastError().text());
    while (q.next())
        encontradas[q.value(0).toString()].insert(q.value(1).toString());
    QStringList faltan, sobran;
    int tablas = 0;
    for (const Tabla_Instalacion &t : Tablas_Instalacion) {
        const QString tabla = QLatin1String(t.nombre);
        if (!encontradas.contains(tabla)) {
            faltan << tabla;
            continue;
        }
        ++tablas;
        QSet<QString> conocidas;
        for (const char *columna : t.columnas) {
            conocidas.insert(QLatin1String(columna));
            if (!encontradas[tabla].contains(QLatin1String(columna)))
                faltan << tabla + QLatin1Char('.') + QLatin1String(columna);
        }
        for (const QString &columna : encontradas[tabla])
            if (!conocidas.contains(columna))
                sobran << tabla + QLatin1Char('.') + columna;
    }
    if (tablas == 0)
        return Fallo(Fallo_Copia::Ajena, QStringLiteral("The backup does not hold an installation database"));
    for (const char *generador : Generadores_Instalacion) {
        if (!q.exec(QStringLiteral("select count(*) from rdb$generators where rdb$generator_name = '%1'")
                        .arg(QLatin1String(generador)))
            || !q.next())
            return Fallo(Fallo_Copia::Danada, q.lastError().text());
        if (q.value(0).toInt() == 0)
            faltan << QLatin1String(generador);
    }
    if (!faltan.isEmpty())
        return Fallo(Fallo_Copia::Antigua, QStringLiteral("The backup holds an installation of an older schema; "
                                                          "it lacks %1")
                                               .arg(faltan.join(QLatin1String(", "))));
    if (!sobran.isEmpty()) {
        sobran.sort();
        return Fallo(Fallo_Copia::Mas_Nueva, QStringLiteral("The backup holds an installation of a newer program; "
                                                            "this one does not know %1")
                                                 .arg(sobran.join(QLatin1String(", "))));
    }
    return {true, QString(), {}, Fallo_Copia::Ninguno};
}

// Connections other than the asking one that hold the installation open: in
// this process (an installation not closed) or, on a server, at another
// station. Replacing or deleting the file under them would leave them
// writing into the old one, and what they write would be lost. Embedded, a
// file another process holds cannot be opened at all ("already opened"):
// that is a holder too. A file that does not exist, or cannot be opened for
// any other reason, has nobody attached; restoring over it is the remedy.
int Otras_Conexiones(const ParametrosBD &parametros, const QString &fichero)
{
    if (parametros.host.isEmpty() && !QFileInfo::exists(fichero))
        return 0;
    ConexionBD c(parametros, fichero);
    try {
        c.Abrir();
    } catch (const ErrorBD &e) {
        return e.Texto().contains(QLatin1String("already opened"), Qt::CaseInsensitive) ? 1 : 0;
    }
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select count(*) from mon$attachments where mon$attachment_id <> current_connection "
                               "and mon$system_flag = 0"))
        || !q.next())
        return 0;
    return q.value(0).toInt();
}

QString En_Uso(const QString &fichero)
{
    return QStringLiteral("%1 is in use: close the installation before restoring it").arg(fichero);
}

// Installation files by code, as the directory spells them: "INSTALACION_<n>.FDB"
// in any letter case, n a code as the program writes it (no sign, no leading zero).
QMap<int, QString> Ficheros_Instalaciones(const QString &directorio_bd)
{
    static const QRegularExpression nombre(QStringLiteral("^INSTALACION_([1-9][0-9]{0,8})\\.FDB$"),
                                           QRegularExpression::CaseInsensitiveOption);
    QMap<int, QString> ficheros;
    QStringList nombres = QDir(directorio_bd).entryList(QDir::Files);
    nombres.sort();
    for (const QString &n : nombres) {
        const QRegularExpressionMatch m = nombre.match(n);
        if (m.hasMatch() && !ficheros.contains(m.captured(1).toInt()))
            ficheros.insert(m.captured(1).toInt(), n);
    }
    return ficheros;
}

// A second name for the file at ruta, kept aside until a change is confirmed:
// a hard link, so the name ruta can be replaced in one step while the old
// contents stay reachable. A file system without links gets a copy.
bool Aparta(const QString &ruta, const QString &aparte, QString *error)
{
    std::error_code ec;
    std::filesystem::create_hard_link(QFile::encodeName(ruta).toStdString(), QFile::encodeName(aparte).toStdString(),
                                      ec);
    if (!ec)
        return true;
    QFile f(ruta);
    if (f.copy(aparte))
        return true;
    *error = f.errorString();
    return false;
}

} // namespace

ZARVServer::ZARVServer(QObject *owner)
    : m_owner(owner)
{
}

ZARVServer::~ZARVServer()
{
    m_consulta.reset();
    m_conexion.reset();
}

void ZARVServer::Configurar(const QString &host, const QString &base_datos, const QString &password,
                            const QString &usuario)
{
    m_consulta.reset();
    m_parametros = ParametrosBD{host, usuario, password};
    m_conexion = std::make_unique<ConexionBD>(m_parametros, base_datos);
}

QSqlDatabase &ZARVServer::Conexion()
{
    if (!m_conexion)
        throw ErrorBD(QStringLiteral("The main database is not configured"));
    m_conexion->Abrir();
    // The driver's result takes the database handle when it is created, so
    // the query is made once the connection is open, and again when it was
    // opened again.
    if (!m_consulta || m_apertura != m_conexion->Apertura()) {
        m_consulta = std::make_unique<QSqlQuery>(m_conexion->db());
        m_apertura = m_conexion->Apertura();
    }
    return m_conexion->db();
}

QSqlQuery &ZARVServer::Ejecuta(const QString &sentencia)
{
    Conexion();
    m_consulta->finish();
    m_consulta->setForwardOnly(true);
    if (!m_consulta->exec(sentencia))
        ConexionBD::Lanza(m_conexion->db(), QString(), m_consulta->lastError());
    return *m_consulta;
}

QVariant ZARVServer::Escalar(const QString &sentencia)
{
    QSqlQuery &q = Ejecuta(sentencia);
    const QVariant v = q.next() ? q.value(0) : QVariant();
    q.finish();
    return v;
}

QStringList ZARVServer::Lista_Instalaciones()
{
    QStringList lista;
    QSqlQuery &q = Ejecuta(QStringLiteral("select COD,NOMBRE from instalacion  ORDER BY COD asc"));
    while (q.next())
        lista << q.value(0).toString() + QStringLiteral(".- ") + q.value(1).toString();
    q.finish();
    return lista;
}

int ZARVServer::Nueva_Instalacion(const QString &nombre, const QString &directorio)
{
    Exige_Administrador();
    // The row and its file come as one change: the row is committed only once
    // the file is in place, so a failed copy leaves no row that cannot be
    // opened, and the code is the one this very insert took (another station
    // on a shared server may be taking the next one meanwhile). The name is a
    // bound value: whatever the operator typed is stored as typed.
    TransaccionBD cambio(Conexion());
    QSqlQuery &q = *m_consulta;
    q.finish();
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("INSERT INTO INSTALACION VALUES(gen_id(INSTALACION_ID, 1), :nombre) RETURNING COD")))
        ConexionBD::Lanza(m_conexion->db(), QString(), q.lastError());
    q.bindValue(QStringLiteral(":nombre"), nombre);
    if (!q.exec())
        ConexionBD::Lanza(m_conexion->db(), QString(), q.lastError());
    const QString codigo = q.next() ? q.value(0).toString() : QString();
    q.finish();
    if (codigo.isEmpty())
        throw ErrorBD(QStringLiteral("The new installation got no code"));

    const QString bdkv = directorio + QStringLiteral("/BDKV/");
    const QString plantilla = bdkv + QStringLiteral("INSTALACION_B.FDB");
    // A file of that code holds some installation's data (one the main
    // database lost track of): it is never overwritten. The code stays
    // taken, so the next attempt gets the one after it.
    const QString existente = Fichero_Instalacion(bdkv, codigo);
    if (QFileInfo::exists(existente))
        throw ErrorBD(QStringLiteral("%1 exists already and is not overwritten; installation %2 was not created")
                          .arg(existente, codigo));
    const QString destino = Con_Separador(bdkv) + QStringLiteral("INSTALACION_") + codigo + QStringLiteral(".FDB");
    const QString provisional = Fichero_Provisional(destino);

    QString error;
    QFile origen(plantilla);
    if (!origen.copy(provisional)) {
        error = origen.errorString();
    } else {
        // The template may be read-only; the installation is written to.
        QFile::setPermissions(provisional, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                               | QFile::WriteGroup);
        // Renamed only where no file is: a file of that name appearing
        // meanwhile is not replaced either.
        std::error_code ec;
        const auto p = QFile::encodeName(provisional).toStdString(), d = QFile::encodeName(destino).toStdString();
        std::filesystem::create_hard_link(p, d, ec);
        if (ec && ec != std::errc::file_exists && !QFileInfo::exists(destino)) {
            // A file system without links: a plain rename, the name checked just before.
            ec.clear();
            std::filesystem::rename(p, d, ec);
        }
        if (ec)
            error = QString::fromStdString(ec.message());
        QFile::remove(provisional);
    }
    if (!error.isEmpty())
        throw ErrorBD(QStringLiteral("Cannot copy %1 to %2: %3").arg(plantilla, destino, error));
    try {
        cambio.Confirma();
    } catch (...) {
        QFile::remove(destino);
        throw;
    }
    return codigo.toInt();
}

void ZARVServer::Elimina_Instalacion(const QString &clave)
{
    Exige_Administrador();
    Ejecuta(QStringLiteral("DELETE FROM instalacion WHERE COD=%1").arg(Codigo_De_Clave(clave)));
}

bool ZARVServer::Existe_Instalacion(const QString &codigo)
{
    return Escalar(QStringLiteral("SELECT COUNT(*) AS CNT FROM INSTALACION WHERE COD=%1").arg(Numero_SQL(codigo)))
               .toLongLong()
        == 1;
}

QString ZARVServer::Fichero_Instalacion(const QString &directorio_bd, const QString &codigo)
{
    const QString directorio = Con_Separador(directorio_bd);
    const QString nombre = QStringLiteral("INSTALACION_") + codigo + QStringLiteral(".FDB");
    if (QFileInfo::exists(directorio + nombre))
        return directorio + nombre;
    QStringList nombres = QDir(directorio).entryList(QDir::Files);
    nombres.sort();
    for (const QString &n : nombres)
        if (n.compare(nombre, Qt::CaseInsensitive) == 0)
            return directorio + n;
    return directorio + nombre;
}

QString ZARVServer::Codigo_De_Clave(const QString &clave)
{
    const QStringList partes = uzarv::Separa(QStringLiteral("_"), clave);
    if (partes.size() < 2)
        throw ErrorBD(QStringLiteral("'%1' names no installation").arg(clave));
    return Numero_SQL(partes.at(1));
}

ZARVResultadoCopia ZARVServer::Exporta_Instalacion(const QString &nombre_base, const QString &fichero,
                                                   const QString &directorio_bd, ProgresoCopia progreso)
{
    if (!Es_Administrador())
        return Fallo(Fallo_Copia::Otro, QString::fromUtf8(Nivel::Sin_Permiso().what()));
    QString codigo;
    try {
        codigo = Codigo_De_Clave(nombre_base);
    } catch (const ErrorBD &e) {
        return Fallo(Fallo_Copia::Otro, e.Texto());
    }
    const QString base = Fichero_Instalacion(directorio_bd, codigo);
    // A backup that fails half-way must not leave a truncated file where the
    // operator's previous backup of that name was.
    const QString provisional = Fichero_Provisional(fichero);
    ZARVResultadoCopia r = ServicioCopia(m_parametros, std::move(progreso)).Copia(base, provisional);
    if (r.Correcto && !Reemplaza(provisional, fichero, &r.Mensaje)) {
        r.Correcto = false;
        r.Fallo = Fallo_Copia::Fichero;
    }
    if (!r.Correcto)
        QFile::remove(provisional);
    return r;
}

ZARVResultadoCopia ZARVServer::Importa_Instalacion(const QString &nombre_base, const QString &fichero,
                                                   const QString &directorio_bd, ProgresoCopia progreso)
{
    const std::unique_ptr<ZARVRestauracion> r =
        Restaura_Aparte(nombre_base, fichero, directorio_bd, std::move(progreso));
    if (r->Correcta() && r->Coloca())
        r->Confirma();
    return r->Resultado();
}

std::unique_ptr<ZARVRestauracion> ZARVServer::Restaura_Aparte(const QString &nombre_base, const QString &fichero,
                                                              const QString &directorio_bd, ProgresoCopia progreso)
{
    std::unique_ptr<ZARVRestauracion> r(new ZARVRestauracion(m_parametros, QString()));
    if (!Es_Administrador()) {
        r->m_resultado = Fallo(Fallo_Copia::Otro, QString::fromUtf8(Nivel::Sin_Permiso().what()));
        return r;
    }
    QString codigo;
    try {
        codigo = Codigo_De_Clave(nombre_base);
    } catch (const ErrorBD &e) {
        r->m_resultado = Fallo(Fallo_Copia::Otro, e.Texto());
        return r;
    }
    r->m_destino = Fichero_Instalacion(directorio_bd, codigo);
    // Never restore over the installation itself: a restore that fails
    // half-way (a corrupt or foreign file) would take the installation with it.
    r->m_provisional = Fichero_Provisional(r->m_destino);
    r->m_resultado = ServicioCopia(m_parametros, std::move(progreso)).Restaura(fichero, r->m_provisional);
    if (r->m_resultado.Correcto) {
        ZARVResultadoCopia comprobado = Es_Instalacion(m_parametros, r->m_provisional);
        comprobado.Salida = r->m_resultado.Salida;
        r->m_resultado = comprobado;
    }
    if (!r->m_resultado.Correcto)
        QFile::remove(r->m_provisional);
    return r;
}

ZARVRestauracion::ZARVRestauracion(const ParametrosBD &parametros, const QString &destino)
    : m_parametros(parametros)
    , m_destino(destino)
{
}

ZARVRestauracion::~ZARVRestauracion()
{
    if (m_colocada && !m_confirmada)
        Deshaz();
    if (!m_provisional.isEmpty())
        QFile::remove(m_provisional);
}

bool ZARVRestauracion::Coloca()
{
    if (!m_resultado.Correcto || m_colocada)
        return m_colocada;
    if (Otras_Conexiones(m_parametros, m_destino) > 0) {
        m_resultado.Correcto = false;
        m_resultado.Fallo = Fallo_Copia::En_Uso;
        m_resultado.Mensaje = En_Uso(m_destino);
        return false;
    }
    QString error;
    if (QFileInfo::exists(m_destino)) {
        m_anterior = Fichero_Provisional(m_destino);
        if (!Aparta(m_destino, m_anterior, &error)) {
            m_anterior.clear();
            m_resultado = Fallo(Fallo_Copia::Fichero, error);
            return false;
        }
    }
    if (!Reemplaza(m_provisional, m_destino, &error)) {
        if (!m_anterior.isEmpty())
            QFile::remove(std::exchange(m_anterior, QString()));
        m_resultado = Fallo(Fallo_Copia::Fichero, error);
        return false;
    }
    m_provisional.clear();
    m_colocada = true;
    return true;
}

void ZARVRestauracion::Deshaz()
{
    if (!m_colocada || m_confirmada)
        return;
    QString error;
    if (m_anterior.isEmpty())
        QFile::remove(m_destino);
    else if (Reemplaza(m_anterior, m_destino, &error))
        m_anterior.clear();
    else
        qWarning("%s: %s", qPrintable(m_destino), qPrintable(error));
    m_colocada = false;
}

void ZARVRestauracion::Confirma()
{
    if (!m_colocada)
        return;
    m_confirmada = true;
    if (!m_anterior.isEmpty())
        QFile::remove(std::exchange(m_anterior, QString()));
}

bool ZARVServer::Borra_Instalacion(const QString &codigo, const QString &directorio_bd)
{
    Exige_Administrador();
    const QString numero = Numero_SQL(codigo);
    const QString fichero = Fichero_Instalacion(directorio_bd, numero);
    if (Otras_Conexiones(m_parametros, fichero) > 0)
        return false;
    // The file steps aside under another name until the row is gone: a row
    // that cannot be deleted gets its file back, and a deleted row never
    // leaves behind a file that the next installation of that code would meet.
    QString aparte;
    QString error;
    if (QFileInfo::exists(fichero)) {
        aparte = Fichero_Provisional(fichero);
        if (!Reemplaza(fichero, aparte, &error))
            throw ErrorBD(QStringLiteral("Cannot delete %1: %2").arg(fichero, error));
    }
    try {
        Elimina_Instalacion(QStringLiteral("instalacion_") + numero);
    } catch (...) {
        if (!aparte.isEmpty())
            Reemplaza(aparte, fichero, &error);
        throw;
    }
    if (!aparte.isEmpty())
        QFile::remove(aparte);
    return true;
}

QStringList ZARVServer::Registra_Instalaciones_Sueltas(const QString &directorio_bd, const QString &nombre)
{
    const QMap<int, QString> ficheros = Ficheros_Instalaciones(directorio_bd);
    QSet<int> listadas;
    int mayor = 0;
    {
        QSqlQuery &q = Ejecuta(QStringLiteral("select COD from instalacion"));
        while (q.next()) {
            listadas.insert(q.value(0).toInt());
            mayor = qMax(mayor, q.value(0).toInt());
        }
        q.finish();
    }
    QStringList registradas;
    {
        TransaccionBD cambio(Conexion());
        QSqlQuery &q = *m_consulta;
        for (auto f = ficheros.cbegin(); f != ficheros.cend(); ++f) {
            mayor = qMax(mayor, f.key());
            if (listadas.contains(f.key()))
                continue;
            q.finish();
            if (!q.prepare(QStringLiteral("INSERT INTO instalacion VALUES(:cod, :nombre)")))
                ConexionBD::Lanza(m_conexion->db(), QString(), q.lastError());
            q.bindValue(QStringLiteral(":cod"), f.key());
            q.bindValue(QStringLiteral(":nombre"), QStringLiteral("%1 %2").arg(nombre).arg(f.key()));
            if (!q.exec())
                ConexionBD::Lanza(m_conexion->db(), QString(), q.lastError());
            registradas << QString::number(f.key());
        }
        q.finish();
        cambio.Confirma();
    }
    // The generator only ever moves forward, by its own increment, which
    // reads the same in every version of the database.
    const qint64 actual = Escalar(QStringLiteral("select gen_id(INSTALACION_ID, 0) from rdb$database")).toLongLong();
    if (mayor > actual)
        Escalar(QStringLiteral("select gen_id(INSTALACION_ID, %1) from rdb$database").arg(mayor - actual));
    return registradas;
}

namespace {

// Wide enough for the hash's text form (the library's limit is 128 bytes).
constexpr int Ancho_Password = 128;

} // namespace

QString ZARVServer::Actualiza_Esquema()
{
    // Stations sharing a server may start at the same moment on a main
    // database that still needs this: the one that loses the race to change
    // the same rows gets an update conflict, its transaction rolled back.
    // Looking again then finds the other station's work done.
    for (int intento = 1;; ++intento) {
        try {
            return Actualiza_Esquema_Una_Vez();
        } catch (const ErrorBD &) {
            if (intento == 3 || m_parametros.host.isEmpty())
                throw;
            QThread::msleep(200 * intento);
        }
    }
}

QString ZARVServer::Actualiza_Esquema_Una_Vez()
{
    const int ancho =
        Escalar(QStringLiteral("select f.rdb$character_length from rdb$relation_fields r join rdb$fields f "
                               "on f.rdb$field_name = r.rdb$field_source "
                               "where r.rdb$relation_name = 'USUARIO' and r.rdb$field_name = 'PASSWORD'"))
            .toInt();
    const bool control = Escalar(QStringLiteral("select count(*) from rdb$relation_constraints "
                                                "where rdb$relation_name = 'USUARIO' and rdb$constraint_name = 'CK_USUARIO_ROL'"))
                             .toLongLong()
        > 0;
    QString copia;
    if (ancho < Ancho_Password || !control) {
        const QString base = m_conexion->Base_Datos();
        copia = QFileInfo(base).absolutePath() + QStringLiteral("/KEYVANE-before-upgrade-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".kvd");
        const ZARVResultadoCopia r = ServicioCopia(m_parametros).Copia(base, copia);
        if (!r.Correcto)
            throw ErrorBD(QStringLiteral("The main database must be upgraded, but its backup to %1 failed, so nothing "
                                         "was changed: %2")
                              .arg(copia, r.Mensaje));
        // It holds the passwords as they were.
        if (QFileInfo::exists(copia))
            QFile::setPermissions(copia, QFile::ReadOwner | QFile::WriteOwner);
        TransaccionBD cambio(Conexion());
        if (ancho < Ancho_Password)
            Ejecuta(QStringLiteral("ALTER TABLE usuario ALTER COLUMN \"PASSWORD\" TYPE VARCHAR(%1)").arg(Ancho_Password));
        if (!control) {
            // A level other than the two already counts as USER (only "ADMIN"
            // gives more); stored as such, those rows can still take a new password.
            Ejecuta(QStringLiteral("UPDATE usuario SET ROL='USER' WHERE ROL IS NULL OR ROL NOT IN ('ADMIN', 'USER')"));
            Ejecuta(QStringLiteral("ALTER TABLE usuario ADD CONSTRAINT CK_USUARIO_ROL "
                                   "CHECK (ROL IS NOT NULL AND ROL IN ('ADMIN', 'USER'))"));
        }
        cambio.Confirma();
    }

    // Passwords still in plain text (the factory login, an older version's
    // rows) become hashes now rather than at their next login.
    QList<std::pair<QString, QString>> planos;
    QSqlQuery &q = Ejecuta(QStringLiteral("SELECT LOGIN, \"PASSWORD\" from usuario"));
    while (q.next()) {
        const QString guardado = q.value(1).toString();
        if (!guardado.isEmpty() && !Clave::Es_Cifrada(guardado))
            planos.append({q.value(0).toString(), guardado});
    }
    q.finish();
    if (!planos.isEmpty()) {
        TransaccionBD cambio(Conexion());
        for (const auto &[login, password] : planos)
            Guarda_Password(login, password);
        cambio.Confirma();
    }
    return copia;
}

const QString ZARVServer::Login_De_Fabrica = QStringLiteral("admin");

std::optional<QString> ZARVServer::Password_Guardado(const QString &login)
{
    QSqlQuery &q = Ejecuta(QStringLiteral("SELECT \"PASSWORD\" from usuario WHERE LOGIN='%1'").arg(Texto_SQL(login)));
    std::optional<QString> guardado;
    if (q.next())
        guardado = q.value(0).toString();
    q.finish();
    return guardado;
}

void ZARVServer::Guarda_Password(const QString &login, const QString &password)
{
    Ejecuta(QStringLiteral("UPDATE usuario SET \"PASSWORD\"='%1' WHERE LOGIN='%2'")
                .arg(Texto_SQL(Clave::Cifra(password)), Texto_SQL(login)));
}

bool ZARVServer::Comprueba_Login(const QString &login, const QString &password)
{
    const std::optional<QString> guardado = Password_Guardado(login);
    if (!guardado) {
        Clave::Simula_Comprobacion(password);
        return false;
    }
    if (!Clave::Coincide(*guardado, password))
        return false;
    if (Clave::Renovar(*guardado)) {
        // A plain text left by an older version, or a weaker hash, is
        // replaced now that the password is known. A station that cannot
        // write (an older schema on a shared server) still lets the operator in.
        try {
            Guarda_Password(login, password);
        } catch (const ErrorBD &) {
        }
    }
    QSqlQuery &q = Ejecuta(QStringLiteral("SELECT * from usuario WHERE LOGIN='%1'").arg(Texto_SQL(login)));
    // The row may have gone between the two statements (another station).
    if (!q.next())
        return false;
    m_cod_login = q.value(0).toInt();
    m_rol = q.value(3).toString();
    m_login_actual = q.value(1).toString();
    q.finish();
    return true;
}

bool ZARVServer::Pon_Password(const QString &login, const QString &nueva)
{
    Exige_Administrador();
    const QString l = login.toLower();
    if (!Password_Guardado(l))
        return false;
    Auditoria::Con_Entrada(Auditoria::Accion::Login_Password, Auditoria::Objeto{.nombre = l},
                           [&] { Guarda_Password(l, nueva); });
    return true;
}

bool ZARVServer::Cambia_Password(const QString &login, const QString &antigua, const QString &nueva)
{
    const QString l = login.toLower();
    const std::optional<QString> guardado = Password_Guardado(l);
    if (!guardado || !Clave::Coincide(*guardado, antigua))
        return false;
    Auditoria::Con_Entrada(Auditoria::Accion::Login_Password, Auditoria::Objeto{.nombre = l},
                           [&] { Guarda_Password(l, nueva); });
    return true;
}

bool ZARVServer::Clave_De_Fabrica()
{
    const std::optional<QString> guardado = Password_Guardado(Login_De_Fabrica);
    return guardado && Clave::Coincide(*guardado, Login_De_Fabrica);
}

void ZARVServer::Abre_Sesion_Consola()
{
    m_cod_login = 0;
    m_login_actual.clear();
    m_rol = Nivel::Administrador;
}

bool ZARVServer::Es_Administrador() const
{
    return Nivel::Es_Administrador(m_rol);
}

void ZARVServer::Exige_Administrador() const
{
    if (!Es_Administrador())
        throw Nivel::Sin_Permiso();
}

QStringList ZARVServer::Lista_Logins()
{
    QStringList lista;
    QSqlQuery &q = Ejecuta(QStringLiteral("SELECT *  from usuario"));
    while (q.next())
        lista << q.value(1).toString() + QLatin1Char('*') + q.value(3).toString();
    q.finish();
    return lista;
}

bool ZARVServer::Es_Admin(const QString &login)
{
    QSqlQuery &q = Ejecuta(QStringLiteral("SELECT *  from usuario where login='%1'").arg(Texto_SQL(login)));
    bool admin = false;
    while (q.next())
        admin = admin || q.value(3).toString() == QLatin1String("ADMIN");
    q.finish();
    return admin;
}

bool ZARVServer::Ultimo_Admin()
{
    return Escalar(QStringLiteral("Select count(*) from usuario where ROL='ADMIN'")).toLongLong() == 1;
}

bool ZARVServer::Existe_Login(const QString &login)
{
    return Escalar(QStringLiteral("Select count(*) from usuario where login='%1'").arg(Texto_SQL(login.toLower())))
               .toLongLong()
        == 1;
}

void ZARVServer::Nuevo_Login(const QString &login, const QString &password, const QString &rol)
{
    Exige_Administrador();
    if (Existe_Login(login))
        return;
    Auditoria::Con_Entrada(Auditoria::Accion::Login_Alta, Auditoria::Objeto{.nombre = login, .detalle = rol}, [&] {
        Ejecuta(QStringLiteral("INSERT INTO usuario(COD,LOGIN,\"PASSWORD\",ROL) VALUES(gen_id(GEN_USUARIO_ID, 1),'%1','%2','%3')")
                    .arg(Texto_SQL(login), Texto_SQL(Clave::Cifra(password)), Texto_SQL(rol)));
    });
}

void ZARVServer::Elimina_Login(const QString &login)
{
    Exige_Administrador();
    Auditoria::Con_Entrada(Auditoria::Accion::Login_Baja, Auditoria::Objeto{.nombre = login.toLower()}, [&] {
        Ejecuta(QStringLiteral("DELETE from usuario where login='%1'").arg(Texto_SQL(login.toLower())));
    });
}
