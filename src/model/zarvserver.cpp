#include "model/zarvserver.h"

#include "model/transaccionbd.h"

#include "model/errorbd.h"
#include "model/sqltexto.h"
#include "model/uzarv.h"

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

bool ZARVServer::Comprueba_Login(const QString &login, const QString &password)
{
    const QString l = Texto_SQL(login), p = Texto_SQL(password);
    const qlonglong n =
        Escalar(QStringLiteral("SELECT count(*) from usuario WHERE LOGIN='%1' AND \"PASSWORD\"='%2'").arg(l, p))
            .toLongLong();
    if (n <= 0)
        return false;
    QSqlQuery &q = Ejecuta(QStringLiteral("SELECT * from usuario WHERE LOGIN='%1' AND \"PASSWORD\"='%2'").arg(l, p));
    // The row may have gone between the two statements (another station).
    if (!q.next())
        return false;
    m_cod_login = q.value(0).toInt();
    m_rol = q.value(3).toString();
    m_login_actual = q.value(1).toString();
    q.finish();
    return true;
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
    if (Existe_Login(login))
        return;
    Ejecuta(QStringLiteral("INSERT INTO usuario(COD,LOGIN,\"PASSWORD\",ROL) VALUES(gen_id(GEN_USUARIO_ID, 1),'%1','%2','%3')")
                .arg(Texto_SQL(login), Texto_SQL(password), Texto_SQL(rol)));
}

void ZARVServer::Elimina_Login(const QString &login)
{
    Ejecuta(QStringLiteral("DELETE from usuario where login='%1'").arg(Texto_SQL(login.toLower())));
}
