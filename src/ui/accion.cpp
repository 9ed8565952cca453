#include "ui/accion.h"

#include "ui/operador.h"

#include <exception>

namespace kv::ui {

void Ejecuta_Accion(QWidget *padre, const std::function<void()> &accion)
{
    try {
        accion();
    } catch (const std::exception &e) {
        // The program's errors carry their text as UTF-8.
        Operador::Error(padre, QString::fromUtf8(e.what()));
    }
}

void Al_Pulsar(QAbstractButton *boton, QWidget *padre, std::function<void()> accion)
{
    QObject::connect(boton, &QAbstractButton::clicked, padre,
                     [padre, accion = std::move(accion)] { Ejecuta_Accion(padre, accion); });
}

} // namespace kv::ui
