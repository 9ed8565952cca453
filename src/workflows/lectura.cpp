#include "workflows/lectura.h"

#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"

#include "model/variables.h"
#include "model/zarvcoleccionincidencia.h"
#include "model/zarvcontrolador.h"

namespace kv::wf {

Lectura_Tarjetas::Lectura_Tarjetas(std::function<void(const QString &codigo)> leida)
{
    ZARVColeccionIncidencia *incidencias = Coordinacion::Incidencias();
    const auto c = Variables::Lector_Activo ? Controlador(Variables::Lector_Codigo) : nullptr;
    if (!incidencias || !c)
        return;
    m_cod = c->Cod();
    m_puerto = c->Puerto_Serie();
    incidencias->Desvia(m_cod, [leida](const TEventoInformacion &info) {
        if (leida && !info.Tarjeta.isEmpty())
            leida(info.Tarjeta);
    });
    Coordinacion::Set_Lectura(this);
    try {
        Reanuda();
    } catch (...) {
        incidencias->Quita_Desvio();
        Coordinacion::Set_Lectura(nullptr);
        m_cod = -1;
        throw;
    }
}

Lectura_Tarjetas::~Lectura_Tarjetas()
{
    if (!Activa())
        return;
    Coordinacion::Set_Lectura(nullptr);
    if (ZARVColeccionIncidencia *incidencias = Coordinacion::Incidencias()) {
        incidencias->Quita_Desvio();
        Suspende();
    }
}

void Lectura_Tarjetas::Suspende()
{
    ZARVColeccionIncidencia *incidencias = Coordinacion::Incidencias();
    if (!m_linea_propia || !incidencias)
        return;
    m_linea_propia = false;
    // Registering switched on meanwhile keeps the line for the log.
    if (!incidencias->Escuchando())
        incidencias->Deja_Puerto(m_puerto);
}

void Lectura_Tarjetas::Reanuda()
{
    ZARVColeccionIncidencia *incidencias = Coordinacion::Incidencias();
    // While registering is on every port listens already, this one too.
    if (!Activa() || !incidencias || incidencias->Escuchando() || m_linea_propia)
        return;
    incidencias->Escucha_Puerto(m_puerto);
    m_linea_propia = true;
}

} // namespace kv::wf
