#pragma once

#include <QString>

namespace kv::wf {

// How a workflow talks to the operator: messages and yes/no questions. The
// program answers through its own windows (the operator-answer seam of the
// widget library); tests answer from a script.
class Interlocutor {
public:
    virtual ~Interlocutor() = default;
    // A message with one OK button; an empty title shows the program's name.
    virtual void Mensaje(const QString &texto, const QString &titulo = QString()) = 0;
    // The confirmation window's question; true for yes.
    virtual bool Confirma(const QString &texto) = 0;
};

// The progress of a long workflow, shown in the progress window.
class Progreso {
public:
    virtual ~Progreso() = default;
    // Shows the window at position 0 with no text.
    virtual void Muestra() = 0;
    // The work now has this many steps; the animation runs.
    virtual void Rango(int pasos) = 0;
    // One step done, described by texto.
    virtual void Paso(const QString &texto) = 0;
    // Stops the animation and closes the window.
    virtual void Cierra() = 0;
    // True once the operator asked to stop (the window's Cancel): the
    // workflow ends before its next item.
    virtual bool Cancelado() const { return false; }
};

// Closes the progress window however the workflow ends.
class Cierre_Progreso {
public:
    explicit Cierre_Progreso(Progreso &progreso) : m_progreso(progreso) {}
    ~Cierre_Progreso() { m_progreso.Cierra(); }
    Cierre_Progreso(const Cierre_Progreso &) = delete;
    Cierre_Progreso &operator=(const Cierre_Progreso &) = delete;

private:
    Progreso &m_progreso;
};

} // namespace kv::wf
