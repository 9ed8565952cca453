#include "workflows/consulta_incidencias.h"

#include "model/globales.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvincidencia.h"
#include "model/zarvsistema.h"

#include <QLocale>

namespace kv::wf {

Consulta_Incidencias::Consulta_Incidencias() = default;
Consulta_Incidencias::~Consulta_Incidencias() = default;

ZARVColeccionIncidencia *Consulta_Incidencias::Coleccion()
{
    ZARVSistema *sistema = Globales::Sistema.get();
    if (sistema != m_sistema) {
        m_coleccion.reset();
        m_sistema = sistema;
        m_siguiente = m_total = 0;
    }
    if (!m_coleccion && sistema)
        m_coleccion = std::make_unique<ZARVColeccionIncidencia>(sistema, sistema->Ruta_BD(), nullptr);
    return m_coleccion.get();
}

void Consulta_Incidencias::Filtra(const QDateTime &inicio, const QDateTime &fin)
{
    Carga(-1, inicio, fin, false);
}

void Consulta_Incidencias::Filtra_Usuario(int usr, const QDateTime &desde, const QDateTime &hasta)
{
    Carga(usr, desde, hasta, true);
}

void Consulta_Incidencias::Carga(int usr, const QDateTime &inicio, const QDateTime &fin, bool fin_exclusivo)
{
    ZARVColeccionIncidencia *c = Coleccion();
    if (!c)
        return;
    const QString formato = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    c->Filtro_Textos(inicio.toString(formato), fin.toString(formato), usr);
    c->Filtro_Fechas(usr, inicio, fin);
    c->Filtro_Fin_Exclusivo(fin_exclusivo);
    c->Refrescar();
    m_siguiente = 0;
    m_total = c->Cuenta();
}

QList<std::shared_ptr<ZARVIncidencia>> Consulta_Incidencias::Siguientes(int cuantas)
{
    QList<std::shared_ptr<ZARVIncidencia>> filas;
    ZARVColeccionIncidencia *c = Coleccion();
    for (; c && m_siguiente < m_total && filas.size() < cuantas; ++m_siguiente)
        if (auto i = c->Elemento(m_siguiente))
            filas << std::move(i);
    return filas;
}

int Consulta_Incidencias::Quedan() const
{
    // Another installation opened since the load: nothing of it is left.
    return m_coleccion && m_sistema == Globales::Sistema.get() ? m_total - m_siguiente : 0;
}

QList<std::shared_ptr<ZARVIncidencia>> Consulta_Incidencias::Resto() const
{
    QList<std::shared_ptr<ZARVIncidencia>> filas;
    const int quedan = Quedan();
    filas.reserve(quedan);
    for (int i = m_siguiente; i < m_siguiente + quedan; ++i)
        if (auto incidencia = m_coleccion->Elemento(i))
            filas << std::move(incidencia);
    return filas;
}

void Consulta_Incidencias::Olvida()
{
    m_siguiente = m_total = 0;
}

Fila_Incidencia Fila_De(const ZARVIncidencia &i, const QStringList &tipos)
{
    const int tipo = i.Evento();
    const QDateTime &momento = i.Timestamp();
    const QString fecha = momento.time() == QTime(0, 0)
                              ? QLocale::system().toString(momento.date(), QLocale::ShortFormat)
                              : i.Fecha_Texto();
    return {tipo >= 1 && tipo <= 6 ? tipos.value(tipo - 1) : QString(), fecha, i.Hist_Controlador(),
            i.Descripcion(), QString::number(i.Usr())};
}

} // namespace kv::wf
