#pragma once

#include <QString>

// A decoded controller event: the port it came in on and the bus address of
// the controller that sent it, by which the consumer finds the controller.
struct TEventoInformacion {
    int Tipo = 0;        // incidence kind 1..6 (tipoincidencia.h); 0: not an incidence
    QString Parametro_1; // code '1': parameter as two uppercase hex digits
    QString Parametro_7; // code '7': parameter as two uppercase hex digits
    QString Tarjeta;     // card bytes as uppercase hex pairs; empty when none
    QString Puerto;      // decimal port number of the receiving link
    // Sender's bus address as it travels on the line (170 for a controller
    // whose record says 0); -1 when not known.
    int Direccion = -1;
};
