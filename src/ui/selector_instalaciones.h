#pragma once

#include <QObject>
#include <QStringList>

namespace kv::ui {

// The installation list as the main window loads it at start-up: the entries
// "<code>.- <name>", the one selected, and whether the delete button may be
// used (the last installation cannot be deleted). The installation window
// shows it as its drop-down and delete button.
class Selector_Instalaciones : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const QStringList &Entradas() const { return m_entradas; }
    int Seleccion() const { return m_seleccion; }
    // The selected entry's text; empty when nothing is selected.
    QString Texto() const;
    bool Eliminar_Habilitado() const { return m_eliminar; }

    void Vacia();
    void Anade(const QString &entrada);
    void Selecciona(int indice);
    void Habilita_Eliminar(bool habilitado);

signals:
    void Cambiado();

private:
    QStringList m_entradas;
    int m_seleccion = -1;
    bool m_eliminar = false;
};

} // namespace kv::ui
