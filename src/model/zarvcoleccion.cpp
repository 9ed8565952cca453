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

ZARVColeccion::ZARVColeccion(ZARVSistema *sistema, const QString &ruta_bd, QObject *owner,
                             QStringList columnas_orden)
    : m_sistema(sistema)
    , m_owner(owner)
    , m_columnas_orden(std::move(columnas_orden))
    , m_conexion(Parametros_De(sistema), ruta_bd)
{
    m_conexion.Abrir();
    m_consulta = std::make_unique<QSqlQuery>(m_conexion.db());
    m_apertura = m_conexion.Apertura();
    sistema->Registra_Coleccion(this);
}

void ZARVColeccion::Set_Orden(const QString &columna)
{
    const QStringList partes = columna.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const bool sentido = partes.size() == 2
        && (partes[1].compare(QLatin1String("asc"), Qt::CaseInsensitive) == 0
            || partes[1].compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0);
    if (partes.isEmpty() || partes.size() > 2 || (partes.size() == 2 && !sentido)
        || !m_columnas_orden.contains(partes[0], Qt::CaseInsensitive))
        throw ErrorBD(QStringLiteral("The list cannot be ordered by '%1'").arg(columna));
    m_orden = columna;
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
    Conexion_BD();
    // The driver's result takes the database handle when it is made: a
    // connection opened again needs a query of its own. Made here, where the
    // query starts over anyway, so that nobody still reading the old one
    // (which the reopening left empty) is left holding a freed one.
    if (m_apertura != m_conexion.Apertura()) {
        m_consulta = std::make_unique<QSqlQuery>(m_conexion.db());
        m_apertura = m_conexion.Apertura();
    }
    m_consulta->finish();
    m_consulta->setForwardOnly(true);
    if (!m_consulta->prepare(sentencia))
        Lanza(m_consulta->lastError());
    return *m_consulta;
}

QSqlQuery &ZARVColeccion::Ejecuta()
{
    if (!m_consulta->exec())
        Lanza(m_consulta->lastError());
    return *m_consulta;
}

QSqlDatabase &ZARVColeccion::Conexion_BD()
{
    if (!m_consulta)
        throw ErrorBD(QStringLiteral("%1: the installation is closed").arg(Ruta_BD()));
    m_conexion.Abrir();
    return m_conexion.db();
}

QSqlQuery &ZARVColeccion::Ejecuta(const QString &sentencia)
{
    Prepara(sentencia);
    return Ejecuta();
}

void ZARVColeccion::Lanza(const QSqlError &error, const QString &contexto) const
{
    ConexionBD::Lanza(m_conexion.db(), contexto, error);
}

void ZARVColeccion::Audita(Auditoria::Accion accion, const Auditoria::Objeto &objeto,
                           Auditoria::Resultado resultado)
{
    if (!Auditoria::Agrupacion::Activa())
        Auditoria::Registra(Conexion_BD(), accion, objeto, resultado);
}
