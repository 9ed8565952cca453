#include "ui/selector_instalaciones.h"

namespace kv::ui {

QString Selector_Instalaciones::Texto() const
{
    return m_seleccion >= 0 && m_seleccion < m_entradas.size() ? m_entradas[m_seleccion] : QString();
}

void Selector_Instalaciones::Vacia()
{
    m_entradas.clear();
    m_seleccion = -1;
    emit Cambiado();
}

void Selector_Instalaciones::Anade(const QString &entrada)
{
    m_entradas.append(entrada);
    emit Cambiado();
}

void Selector_Instalaciones::Selecciona(int indice)
{
    m_seleccion = indice >= 0 && indice < m_entradas.size() ? indice : -1;
    emit Cambiado();
}

void Selector_Instalaciones::Habilita_Eliminar(bool habilitado)
{
    m_eliminar = habilitado;
    emit Cambiado();
}

} // namespace kv::ui
