#pragma once

#include "workflows/interlocutor.h"

class QWidget;
class TF_Muestra_recep;

// The workflows' operator, answered through the program's own windows: the
// operator-answer seam for messages, the confirmation window for questions.
class Interlocutor_Ventanas : public kv::wf::Interlocutor {
public:
    explicit Interlocutor_Ventanas(QWidget *padre) : m_padre(padre) {}
    void Mensaje(const QString &texto, const QString &titulo = QString()) override;
    bool Confirma(const QString &texto) override;

private:
    QWidget *m_padre;
};

// A workflow's progress in the progress window F_Muestra_recep, or in
// F_Muestra_Del, whose Cancel the workflow sees.
class Progreso_Ventana : public kv::wf::Progreso {
public:
    explicit Progreso_Ventana(TF_Muestra_recep *ventana) : m_ventana(ventana) {}
    void Muestra() override;
    void Rango(int pasos) override;
    void Paso(const QString &texto) override;
    void Cierra() override;
    bool Cancelado() const override;

private:
    TF_Muestra_recep *m_ventana;
};
