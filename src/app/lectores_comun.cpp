#include "app/lectores_comun.h"

#include "link/zarvcomunicador.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "model/zarvcoleccionincidencia.h"
#include "ui/principal.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>

#include <exception>
#include <stdexcept>

namespace lectores {
namespace {

ZARVColeccionIncidencia *Incidencias()
{
    return Globales::Sistema ? Globales::Sistema->Incidencias() : nullptr;
}

QTimer *Temporizador()
{
    kv::ui::Principal *principal = kv::ui::Principal::Actual();
    return principal ? principal->Temporizador_Mantenimiento() : nullptr;
}

} // namespace

void Para_Escucha()
{
    if (ZARVColeccionIncidencia *i = Incidencias())
        i->Detiene_Registro();
}

void Inicia_Escucha()
{
    if (ZARVColeccionIncidencia *i = Incidencias())
        i->Inicia_Registro();
}

bool Para_Mantenimiento()
{
    QTimer *t = Temporizador();
    if (!t)
        return false;
    const bool activo = t->isActive();
    t->stop();
    return activo;
}

void Reanuda_Mantenimiento(bool estaba_activo)
{
    if (QTimer *t = Temporizador(); t && estaba_activo)
        t->start();
}

void Con_Limpieza(const std::function<void()> &trabajo, const std::function<void()> &limpieza)
{
    try {
        trabajo();
    } catch (...) {
        const std::exception_ptr primero = std::current_exception();
        try {
            limpieza();
        } catch (...) {
            // The error that ended the workflow is the one to show.
        }
        std::rethrow_exception(primero);
    }
    limpieza();
}

void Pausa(int ms)
{
    QEventLoop bucle;
    QTimer::singleShot(ms, &bucle, &QEventLoop::quit);
    bucle.exec(QEventLoop::ExcludeUserInputEvents);
}

std::shared_ptr<ZARVControlador> Controlador(int codigo)
{
    ZARVColeccionControlador *c = Globales::Sistema ? Globales::Sistema->Controladores() : nullptr;
    return c ? c->Busca(codigo) : nullptr;
}

ZARVComunicador &Comunicador(ZARVControlador &controlador)
{
    // A controller loaded since the last refresh of the readers list has no
    // command layer yet; opening it creates one (a port that cannot be opened
    // is then reported by the command itself).
    if (!controlador.Comunicador())
        controlador.Abrir_Comunicacion();
    ZARVComunicador *com = controlador.Comunicador();
    if (!com)
        throw std::logic_error("the controller has no command layer");
    com->SetConectado(false);
    return *com;
}

QString Segundos(const QString &hex)
{
    bool decimal = false;
    const int valor = hex.toInt(&decimal, 10);
    return decimal ? QString::number(valor) : Variables::Hex_a_Decimal(hex);
}

void Solo_Digitos(QLineEdit *edit, int longitud)
{
    edit->setMaxLength(longitud);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}

} // namespace lectores
