#include "model/zarvserver.h"

#include "model/transaccionbd.h"

#include "model/clave.h"
#include "model/errorbd.h"
#include "model/nivel.h"
#include "model/sqltexto.h"
#include "model/uzarv.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>
#include <filesystem>
#include <system_error>

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

// A restored file fit to replace an installation: it opens, it is online
// (a restore that stopped early, on a truncated backup, leaves the file shut
// down with its tables but not their rows, and the tool does not always say
// so), and it has every table of an installation (a good backup of another
// database restores fine but is not one).
bool Es_Instalacion(const ParametrosBD &parametros, const QString &fichero, QString *error)
{
    ConexionBD c(parametros, fichero);
    try {
        c.Abrir();
    } catch (const ErrorBD &e) {
        *error = e.Texto();
        return false;
    }
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select mon$shutdown_mode from mon$database")) || !q.next()) {
        *error = q.lastError().text();
        return false;
    }
    if (q.value(0).toInt() != 0) {
        *error = QStringLiteral("The backup is incomplete: the restore did not finish");
        return false;
    }
    if (!q.exec(QStringLiteral(
            "select count(*) from rdb$relations where rdb$relation_name in "
            "('ZARVCONTROLADOR','ZARVCONTROLADORTARJETA','ZARVTARJETA','ZARVUSUARIO','ZARVINCIDENCIA')"))
        || !q.next()) {
        *error = q.lastError().text();
        return false;
    }
    if (q.value(0).toInt() != 5) {
        *error = QStringLiteral("The backup does not hold an installation database");
        return false;
    }
    return true;
}

// Connections other than the asking one that hold the installation open: in
// this process (an installation not closed) or, on a server, at another
// station. Replacing the file under them would leave them writing into the
// old one, and what they write would be lost. A file that does not exist or
// cannot be opened has nobody attached; restoring over it is the remedy.
int Otras_Conexiones(const ParametrosBD &parametros, const QString &fichero)
{
    if (parametros.host.isEmpty() && !QFileInfo::exists(fichero))
        return 0;
    ConexionBD c(parametros, fichero);
    try {
        c.Abrir();
    } catch (const ErrorBD &) {
        return 0;
    }
    QSqlQuery q(c.db());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select count(*) from mon$attachments where mon$attachment_id <> current_connection "
                               "and mon$system_flag = 0"))
        || !q.next())
        return 0;
    return q.value(0).toInt();
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
    // the query is made only once the connection is open.
    if (!m_consulta)
        m_consulta = std::make_unique<QSqlQuery>(m_conexion->db());
    return m_conexion->db();
}

QSqlQuery &ZARVServer::Ejecuta(const QString &sentencia)
{
    Conexion();
    m_consulta->finish();
    m_consulta->setForwardOnly(true);
    if (!m_consulta->exec(sentencia))
        throw ErrorBD(QString(), m_consulta->lastError());
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
    // on a shared server may be taking the next one meanwhile).
    TransaccionBD cambio(Conexion());
    QSqlQuery &q = Ejecuta(
        QStringLiteral("INSERT INTO INSTALACION VALUES(gen_id(INSTALACION_ID, 1),'%1') RETURNING COD").arg(Texto_SQL(nombre)));
    const QString codigo = q.next() ? q.value(0).toString() : QString();
    q.finish();
    if (codigo.isEmpty())
        throw ErrorBD(QStringLiteral("The new installation got no code"));

    const QString bdkv = directorio + QStringLiteral("/BDKV/");
    const QString plantilla = bdkv + QStringLiteral("INSTALACION_B.FDB");
    const QString destino = Fichero_Instalacion(bdkv, codigo);
    const QString provisional = Fichero_Provisional(destino);

    QString error;
    QFile origen(plantilla);
    if (!origen.copy(provisional)) {
        error = origen.errorString();
    } else {
        // The template may be read-only; the installation is written to.
        QFile::setPermissions(provisional, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                               | QFile::WriteGroup);
        if (!Reemplaza(provisional, destino, &error))
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
    return Con_Separador(directorio_bd) + QStringLiteral("INSTALACION_") + codigo + QStringLiteral(".FDB");
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
        return {false, QString::fromUtf8(Nivel::Sin_Permiso().what()), {}};
    QString codigo;
    try {
        codigo = Codigo_De_Clave(nombre_base);
    } catch (const ErrorBD &e) {
        return {false, e.Texto(), {}};
    }
    const QString base = Fichero_Instalacion(directorio_bd, codigo);
    // A backup that fails half-way must not leave a truncated file where the
    // operator's previous backup of that name was.
    const QString provisional = Fichero_Provisional(fichero);
    ZARVResultadoCopia r = ServicioCopia(m_parametros, std::move(progreso)).Copia(base, provisional);
    if (r.Correcto && !Reemplaza(provisional, fichero, &r.Mensaje))
        r.Correcto = false;
    if (!r.Correcto)
        QFile::remove(provisional);
    return r;
}

ZARVResultadoCopia ZARVServer::Importa_Instalacion(const QString &nombre_base, const QString &fichero,
                                                   const QString &directorio_bd, ProgresoCopia progreso)
{
    if (!Es_Administrador())
        return {false, QString::fromUtf8(Nivel::Sin_Permiso().what()), {}};
    QString codigo;
    try {
        codigo = Codigo_De_Clave(nombre_base);
    } catch (const ErrorBD &e) {
        return {false, e.Texto(), {}};
    }
    const QString base = Fichero_Instalacion(directorio_bd, codigo);
    // Never restore over the installation itself: a restore that fails
    // half-way (a corrupt or foreign file) would take the installation with it.
    const QString provisional = Fichero_Provisional(base);
    ZARVResultadoCopia r = ServicioCopia(m_parametros, std::move(progreso)).Restaura(fichero, provisional);
    if (r.Correcto && !Es_Instalacion(m_parametros, provisional, &r.Mensaje))
        r.Correcto = false;
    if (r.Correcto && Otras_Conexiones(m_parametros, base) > 0) {
        r.Correcto = false;
        r.Mensaje = QStringLiteral("%1 is in use: close the installation before restoring it").arg(base);
    }
    if (r.Correcto && !Reemplaza(provisional, base, &r.Mensaje))
        r.Correcto = false;
    if (!r.Correcto)
        QFile::remove(provisional);
    return r;
}

namespace {

// Wide enough for the hash's text form (the library's limit is 128 bytes).
constexpr int Ancho_Password = 128;

} // namespace

QString ZARVServer::Actualiza_Esquema()
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
    Guarda_Password(l, nueva);
    return true;
}

bool ZARVServer::Cambia_Password(const QString &login, const QString &antigua, const QString &nueva)
{
    const QString l = login.toLower();
    const std::optional<QString> guardado = Password_Guardado(l);
    if (!guardado || !Clave::Coincide(*guardado, antigua))
        return false;
    Guarda_Password(l, nueva);
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
    Ejecuta(QStringLiteral("INSERT INTO usuario(COD,LOGIN,\"PASSWORD\",ROL) VALUES(gen_id(GEN_USUARIO_ID, 1),'%1','%2','%3')")
                .arg(Texto_SQL(login), Texto_SQL(Clave::Cifra(password)), Texto_SQL(rol)));
}

void ZARVServer::Elimina_Login(const QString &login)
{
    Exige_Administrador();
    Ejecuta(QStringLiteral("DELETE from usuario where login='%1'").arg(Texto_SQL(login.toLower())));
}
