#include "model/conexionbd.h"

#include "model/errorbd.h"

#include <QAtomicInt>
#include <QSqlError>

namespace {
QAtomicInt g_contador;
}

ConexionBD::ConexionBD(const ParametrosBD &parametros, const QString &base_datos)
    : m_nombre(QStringLiteral("keyvane-%1").arg(g_contador.fetchAndAddRelaxed(1)))
    , m_base_datos(base_datos)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_nombre);
    // The driver builds "host:path" itself when a host is set; without one the
    // client library opens the file embedded. There is never a login prompt.
    m_db.setHostName(parametros.host);
    m_db.setDatabaseName(base_datos);
    m_db.setUserName(parametros.usuario);
    m_db.setPassword(parametros.password);
    m_db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
}

ConexionBD::~ConexionBD()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_nombre);
}

void ConexionBD::Abrir()
{
    if (m_db.isOpen())
        return;
    if (!m_db.open())
        throw ErrorBD(m_base_datos, m_db.lastError());
}

void ConexionBD::Cerrar()
{
    m_db.close();
}
