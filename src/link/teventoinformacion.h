#pragma once

#include <QString>

// A decoded controller event. It names the port, not the controller: the
// consumer finds the controller by its port.
struct TEventoInformacion {
    int Tipo = 0;        // incidence kind 1..6 (tipoincidencia.h); 0: not an incidence
    QString Parametro_1; // code '1': parameter as two uppercase hex digits
    QString Parametro_7; // code '7': parameter as two uppercase hex digits
    QString Tarjeta;     // card bytes as uppercase hex pairs; empty when none
    QString Puerto;      // decimal port number of the receiving link
};
