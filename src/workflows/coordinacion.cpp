#include "workflows/coordinacion.h"

#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccionincidencia.h"
#include "workflows/lectura.h"

#include <QPointer>
#include <QTimer>

#include <utility>

namespace kv::wf {
namespace {

QPointer<QTimer> g_temporizador;
Lectura_Tarjetas *g_lectura = nullptr;
int g_retenciones = 0;
bool g_ocupado = false;

} // namespace

Ocupado::Ocupado()
    : std::runtime_error(Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_34")).toStdString())
{
}

void Coordinacion::Set_Temporizador(QTimer *temporizador)
{
    g_temporizador = temporizador;
    Ajusta_Mantenimiento();
}

QTimer *Coordinacion::Temporizador()
{
    return g_temporizador.data();
}

void Coordinacion::Ajusta_Mantenimiento()
{
    if (!g_temporizador)
        return;
    const bool pedido = Variables::Testear_cx || Variables::Liberar_tarj;
    const bool debe = g_retenciones == 0 && pedido && Globales::Sistema;
    if (!debe)
        g_temporizador->stop();
    else if (!g_temporizador->isActive())
        g_temporizador->start();
}

int Coordinacion::Retenciones()
{
    return g_retenciones;
}

bool Coordinacion::Ocupado()
{
    return g_ocupado;
}

void Coordinacion::Exige_Libres()
{
    if (g_ocupado)
        throw kv::wf::Ocupado();
}

ZARVColeccionIncidencia *Coordinacion::Incidencias()
{
    return Globales::Sistema ? Globales::Sistema->Incidencias() : nullptr;
}

Lectura_Tarjetas *Coordinacion::Lectura()
{
    return g_lectura;
}

void Coordinacion::Set_Lectura(Lectura_Tarjetas *lectura)
{
    g_lectura = lectura;
}

void Coordinacion::Reabre_Lectura()
{
    if (g_lectura)
        g_lectura->Reanuda();
}

Retencion_Mantenimiento::Retencion_Mantenimiento()
{
    ++g_retenciones;
    Coordinacion::Ajusta_Mantenimiento();
}

Retencion_Mantenimiento::~Retencion_Mantenimiento()
{
    --g_retenciones;
    Coordinacion::Ajusta_Mantenimiento();
}

Suspension_Escucha::Suspension_Escucha()
{
    ZARVColeccionIncidencia *incidencias = Coordinacion::Incidencias();
    if (incidencias && incidencias->Escuchando()) {
        incidencias->Detiene_Registro();
        m_suspendida = true;
    }
    if (g_lectura && g_lectura->Linea_Propia()) {
        g_lectura->Suspende();
        m_lectura = true;
    }
}

Suspension_Escucha::~Suspension_Escucha()
{
    try {
        Reanuda();
    } catch (...) {
        // The error that ended the workflow is the one the operator sees.
    }
}

void Suspension_Escucha::Reanuda()
{
    const bool suspendida = std::exchange(m_suspendida, false);
    const bool lectura = std::exchange(m_lectura, false);
    // The installation may have changed meanwhile: the lines to put back are
    // those of the one open now.
    ZARVColeccionIncidencia *incidencias = Coordinacion::Incidencias();
    if (suspendida && incidencias)
        incidencias->Inicia_Registro();
    // Registering keeps the reading reader's line itself; without it the
    // reader gets its own back (also when a window took it meanwhile).
    if ((suspendida || lectura) && g_lectura)
        g_lectura->Reanuda();
}

Trabajo_Controladores::Turno::Turno()
{
    if (g_ocupado)
        throw kv::wf::Ocupado();
    g_ocupado = true;
}

Trabajo_Controladores::Turno::~Turno()
{
    g_ocupado = false;
}

Trabajo_Controladores::Trabajo_Controladores() = default;

Trabajo_Controladores::~Trabajo_Controladores() = default;

void Trabajo_Controladores::Termina()
{
    m_suspension.Reanuda();
}

} // namespace kv::wf
