#pragma once

#include "modelfixture.h"
#include "simprocess.h"

#include "workflows/interlocutor.h"

#include <QList>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

// The operator of a workflow test: records what it was told and answers the
// confirmations from a queue (no when the queue is empty).
class Guion : public kv::wf::Interlocutor {
public:
    void Mensaje(const QString &texto, const QString &titulo = QString()) override;
    bool Confirma(const QString &texto) override;

    QList<bool> respuestas;
    QStringList mensajes;
    QStringList preguntas;
};

// The progress window of a workflow test: records the steps and runs
// en_paso, if set, at each one (to act while the workflow is under way).
class Progreso_Registrado : public kv::wf::Progreso {
public:
    void Muestra() override { ++mostrado; }
    void Rango(int pasos) override { rangos << pasos; }
    void Paso(const QString &texto) override;
    void Cierra() override { ++cerrado; }

    int mostrado = 0;
    int cerrado = 0;
    QList<int> rangos;
    QStringList pasos;
    std::function<void()> en_paso;
};

// A progress window whose Cancel is pressed once cancelar_tras steps were
// shown (never when 0).
class Progreso_Cancelable : public Progreso_Registrado {
public:
    int cancelar_tras = 0;
    bool Cancelado() const override { return cancelar_tras > 0 && pasos.size() >= cancelar_tras; }
};

// Installation 1 open as the program keeps it (Globales::Sistema, with its
// incidence log), controllers 1 and 3 on COM1 at addresses 1 and 3 and
// controller 2 on COM2 at address 2, each line answered by keyvane-sim, and
// the maintenance timer handed to the workflows; Globales::Servidor on the main
// database with the console's administrator session.
class FlujoTest : public ModelTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a controller to the open installation.
    void Controlador(int cod, int puerto, int direccion);
    // A card with its holder-less row and an assignment per controller, "S".
    void Tarjeta(const QString &codigo, const QList<int> &controladores);

    // What really listens: every port held open, and a card presented at
    // controller 1 stored as an incidence within a moment.
    bool Escucha_De_Verdad();
    // Neither port held: nothing keeps a line the commands need.
    bool Lineas_Libres();
    int Incidencias_Guardadas();

    std::unique_ptr<kv::test::SimProcess> com1;
    std::unique_ptr<kv::test::SimProcess> com2;
    std::unique_ptr<kv::test::FbConnection> db;
    QTimer temporizador;
    Guion operador;
    Progreso_Registrado progreso;
};

// Runs the event loop until hecho() or ms milliseconds passed; hecho()'s last answer.
bool Espera(const std::function<bool()> &hecho, int ms);
