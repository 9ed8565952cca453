#include "fbtest.h"

#include "servidortest.h"

#include <QAtomicInt>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace kv::test {

namespace {
QAtomicInt g_counter;
}

FbConnection::FbConnection(const QString &file)
    : m_name(QStringLiteral("kvtest-%1").arg(g_counter.fetchAndAddRelaxed(1)))
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), m_name);
    const CuentaServidor &cuenta = cuentaServidor();
    m_db.setHostName(cuenta.host);
    m_db.setDatabaseName(file);
    m_db.setUserName(cuenta.usuario);
    m_db.setPassword(cuenta.password);
    if (!cuenta.error.isEmpty())
        m_error = cuenta.error;
    else if (!m_db.open())
        m_error = m_db.lastError().text();
}

FbConnection::~FbConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

QString FbConnection::lastError() const { return m_error; }

QVariant FbConnection::scalar(const QString &sql)
{
    QSqlQuery q(m_db);
    if (!q.exec(sql) || !q.next()) {
        m_error = q.lastError().text();
        return {};
    }
    return q.value(0);
}

QStringList FbConnection::rows(const QString &sql)
{
    QStringList out;
    QSqlQuery q(m_db);
    if (!q.exec(sql)) {
        m_error = q.lastError().text();
        return out;
    }
    while (q.next()) {
        QStringList cols;
        for (int i = 0; i < q.record().count(); ++i)
            cols << q.value(i).toString();
        out << cols.join(QLatin1Char('|'));
    }
    return out;
}

bool FbConnection::exec(const QString &sql)
{
    QSqlQuery q(m_db);
    if (!q.exec(sql)) {
        m_error = q.lastError().text();
        return false;
    }
    return true;
}

} // namespace kv::test
