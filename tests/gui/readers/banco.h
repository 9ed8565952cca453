#pragma once

#include "entorno.h"
#include "simprocess.h"

#include <QString>
#include <QStringList>

#include <memory>

class TF_Main;
class QTreeWidgetItem;

// An installation with three readers on two simulated lines, as the readers
// page finds it at start-up:
//   1 "Entrada", COM1 address 1, holding cards 111 and 222 (both stored);
//   2 "Salida",  COM1 address 2, holding card 333 (stored) while 444 waits;
//   3 "Garaje",  COM2 address 0, which the line knows as 170, holding none.
// Cards are written as the database stores them, ten digits.
class Banco {
public:
    // mas_filas go into the installation after the standard rows.
    explicit Banco(const QStringList &mas_filas = {});
    ~Banco();

    // The databases and both lines are ready.
    bool listo() const { return m_listo; }
    // Starts the program; the start-up tests every reader.
    void arranca();

    TF_Main *m() const;

    // The card memory of a simulated controller, in position order.
    QStringList memoria(kv::test::SimProcess &sim, int direccion);
    // A value of the simulator's "list" line for a controller (lock, open, ...).
    QString ajuste(kv::test::SimProcess &sim, int direccion, const QString &clave);
    // "<card>|<stored>" for each assignment of the controller, by card.
    QStringList asignaciones(int controlador);
    // Rows of any statement on the installation, columns joined by "|".
    QStringList filas(const QString &sentencia);
    // Selects exactly the rows of L1_Contr with these numbers.
    void selecciona(const QList<int> &codigos);
    // Starts registering as the operator does, with a click on I_PLAY_OFF.
    void registra();
    // True when an event from each line reaches the live incidence list:
    // the lines listen.
    bool escuchando();
    // True when registering is off and neither line is held: nothing
    // listens, as the program was left before a workflow ran.
    bool en_reposo();

    Entorno e;
    std::unique_ptr<kv::test::SimProcess> com1;
    std::unique_ptr<kv::test::SimProcess> com2;

private:
    bool m_listo = false;
};

// Every column of a list row.
QStringList textos(const QTreeWidgetItem *fila);
// Texts of the messages shown since the last clear, in order.
QStringList mensajes();
// A padded card code, as stored and as the simulator dumps it.
QString tarjeta(int numero);
