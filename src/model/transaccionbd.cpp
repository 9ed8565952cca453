#include "model/transaccionbd.h"

#include "model/errorbd.h"

#include <QSqlError>

TransaccionBD::TransaccionBD(QSqlDatabase &db)
    : m_db(db)
{
    if (!m_db.transaction())
        throw ErrorBD(m_db.databaseName(), m_db.lastError());
    m_abierta = true;
}

TransaccionBD::~TransaccionBD()
{
    if (m_abierta)
        m_db.rollback();
}

void TransaccionBD::Confirma()
{
    if (!m_abierta)
        return;
    if (!m_db.commit()) {
        const QSqlError error = m_db.lastError();
        m_db.rollback();
        m_abierta = false;
        throw ErrorBD(m_db.databaseName(), error);
    }
    m_abierta = false;
}
