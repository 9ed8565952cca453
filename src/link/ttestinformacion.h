#pragma once

#include <QString>

// A controller's answer to the test command. The texts stay empty and Correcto
// stays 0 when the controller did not answer as expected.
struct TTest_Informacion {
    QString Estado;
    QString Tiempo_Cerradura;      // door-lock time, two uppercase hex digits
    QString Tiempo_Puerta_Abierta; // door-open time, two uppercase hex digits
    int Version = 0;               // 21 reads as version 2.1
    QString Num_Tarjetas;          // cards stored, decimal text
    int Correcto = 0;
};
