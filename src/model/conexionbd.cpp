#include "model/conexionbd.h"

#include "model/errorbd.h"
#include "model/transaccionbd.h"

#include <QAtomicInt>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSqlError>

namespace {

QAtomicInt g_contador;

// Every ConexionBD alive, by connection name: a lost server marks all of its own.
QMutex g_mutex;
QHash<QString, ConexionBD *> &Vivas()
{
    static QHash<QString, ConexionBD *> vivas;
    return vivas;
}

QString Texto_Perdida(const QString &host, const QString &detalle)
{
    return QStringLiteral("The database server %1 cannot be reached (%2). What was being done was not stored; "
                          "the station connects again by itself once the server is back, so try again then.")
        .arg(host, detalle);
}

} // namespace

ConexionBD::ConexionBD(const ParametrosBD &parametros, const QString &base_datos)
    : m_nombre(QStringLiteral("keyvane-%1").arg(g_contador.fetchAndAddRelaxed(1)))
    , m_base_datos(base_datos)
    , m_host(parametros.host)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_nombre);
    // The driver builds "host:path" itself when a host is set; without one the
    // client library opens the file embedded. There is never a login prompt.
    m_db.setHostName(parametros.host);
    m_db.setDatabaseName(base_datos);
    m_db.setUserName(parametros.usuario);
    m_db.setPassword(parametros.password);
    m_db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    QMutexLocker cerrojo(&g_mutex);
    Vivas().insert(m_nombre, this);
}

ConexionBD::~ConexionBD()
{
    {
        QMutexLocker cerrojo(&g_mutex);
        Vivas().remove(m_nombre);
    }
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_nombre);
}

void ConexionBD::Abrir()
{
    if (m_perdida.load() && m_db.isOpen()) {
        if (TransaccionBD::En_Curso(m_db))
            throw ErrorBD::Perdida(Texto_Perdida(m_host, QStringLiteral("the connection was lost during this change")));
        m_perdida = false;
        m_db.close();
    }
    if (m_db.isOpen())
        return;
    m_perdida = false;
    if (!m_db.open())
        Lanza(m_db, m_base_datos, m_db.lastError());
    ++m_apertura;
}

void ConexionBD::Cerrar()
{
    m_db.close();
}

bool ConexionBD::Es_Perdida(const QSqlDatabase &db, const QSqlError &error)
{
    // -902 is the SQLCODE of every fatal error, a file that cannot be opened
    // among them; only those about the connection mean the server went.
    static const QRegularExpression red(QStringLiteral("connection|network"),
                                        QRegularExpression::CaseInsensitiveOption);
    return !db.hostName().isEmpty() && error.nativeErrorCode() == QLatin1String("-902")
        && red.match(error.text()).hasMatch();
}

bool ConexionBD::Revisa(const QSqlDatabase &db, const QSqlError &error)
{
    if (!Es_Perdida(db, error))
        return false;
    const QString host = db.hostName();
    QMutexLocker cerrojo(&g_mutex);
    for (ConexionBD *c : std::as_const(Vivas()))
        if (c->m_host == host)
            c->m_perdida = true;
    return true;
}

void ConexionBD::Lanza(const QSqlDatabase &db, const QString &contexto, const QSqlError &error)
{
    if (Revisa(db, error))
        throw ErrorBD::Perdida(Texto_Perdida(db.hostName(), error.text()));
    throw ErrorBD(contexto, error);
}
