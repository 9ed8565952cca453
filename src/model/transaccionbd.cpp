#include "model/transaccionbd.h"

#include "model/conexionbd.h"
#include "model/errorbd.h"

#include <QHash>
#include <QSqlError>

namespace {

struct Estado {
    int abiertas = 0;
    bool estropeada = false; // an inner one ended without its Confirma
};

// The connections (by name) where a TransaccionBD runs.
thread_local QHash<QString, Estado> g_estados;

} // namespace

TransaccionBD::TransaccionBD(QSqlDatabase &db)
    : m_db(db)
{
    Estado &estado = g_estados[m_db.connectionName()];
    if (estado.abiertas > 0) {
        m_externa = true;
    } else if (!m_db.transaction()) {
        g_estados.remove(m_db.connectionName());
        ConexionBD::Lanza(m_db, m_db.databaseName(), m_db.lastError());
    }
    ++estado.abiertas;
    m_abierta = true;
}

TransaccionBD::~TransaccionBD()
{
    if (!m_abierta)
        return;
    Estado &estado = g_estados[m_db.connectionName()];
    --estado.abiertas;
    if (m_externa) {
        // Its error is on the way out; should someone in between swallow it,
        // the outer one must still not keep half of this change.
        estado.estropeada = true;
        return;
    }
    g_estados.remove(m_db.connectionName());
    m_db.rollback();
}

void TransaccionBD::Confirma()
{
    if (!m_abierta)
        return;
    m_abierta = false;
    Estado &estado = g_estados[m_db.connectionName()];
    --estado.abiertas;
    if (m_externa)
        return;
    const bool estropeada = estado.estropeada;
    g_estados.remove(m_db.connectionName());
    if (estropeada) {
        m_db.rollback();
        throw ErrorBD(QStringLiteral("%1: part of the change failed; nothing of it was stored").arg(m_db.databaseName()));
    }
    if (!m_db.commit()) {
        const QSqlError error = m_db.lastError();
        m_db.rollback();
        ConexionBD::Lanza(m_db, m_db.databaseName(), error);
    }
}

bool TransaccionBD::En_Curso(const QSqlDatabase &db)
{
    const auto e = g_estados.constFind(db.connectionName());
    return e != g_estados.cend() && e->abiertas > 0;
}
