#include "model/zarvcoleccion.h"

#include "model/errorbd.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <QSqlError>

namespace {

ParametrosBD Parametros_De(ZARVSistema *sistema)
{
    if (!sistema || !sistema->Servidor())
        throw ErrorBD(QStringLiteral("No main database server for the installation"));
    return sistema->Servidor()->Parametros();
}

} // namespace

ZARVColeccion::ZARVColeccion(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner)
    : m_sistema(sistema)
    , m_owner(owner)
    , m_conexion(Parametros_De(sistema), ruta_bd)
{
    m_conexion.Abrir();
    m_consulta = std::make_unique<QSqlQuery>(m_conexion.db());
}

ZARVColeccion::~ZARVColeccion()
{
    m_consulta.reset();
}

int ZARVColeccion::Cuenta() const
{
    return static_cast<int>(Elementos.size());
}

void ZARVColeccion::Cerrar()
{
    m_consulta.reset();
    m_conexion.Cerrar();
}

std::shared_ptr<ZARVEntidad> ZARVColeccion::Entidad(int indice) const
{
    const int i = indice == -1 ? m_cursor : indice;
    if (i < 0 || i >= static_cast<int>(Elementos.size()))
        return nullptr;
    return Elementos[static_cast<size_t>(i)];
}

QSqlQuery &ZARVColeccion::Prepara(const QString &sentencia)
{
    if (!m_consulta)
        throw ErrorBD(QStringLiteral("%1: the installation is closed").arg(Ruta_BD()));
    m_consulta->finish();
    m_consulta->setForwardOnly(true);
    if (!m_consulta->prepare(sentencia))
        throw ErrorBD(QString(), m_consulta->lastError());
    return *m_consulta;
}

QSqlQuery &ZARVColeccion::Ejecuta()
{
    if (!m_consulta->exec())
        throw ErrorBD(QString(), m_consulta->lastError());
    return *m_consulta;
}

QSqlQuery &ZARVColeccion::Ejecuta(const QString &sentencia)
{
    Prepara(sentencia);
    return Ejecuta();
}
