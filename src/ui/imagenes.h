#pragma once

#include <QIcon>
#include <QPixmap>

class QTreeWidgetItem;

namespace kv::ui {

// The program's one image list. Lists refer to icons by these numbers, so
// each keeps its place; several mean one thing in one list and another in
// the next, as noted.
enum Icono : int {
    Icono_Evento = 0,            // an event of no known kind
    Icono_Tarjeta_Rechazada = 1, // card refused at a door
    Icono_Tarjeta_Aceptada = 2,  // card accepted at a door; a card that uses its expiry date
    Icono_Elemento = 3,          // a reader or a cardholder
    Icono_Pendiente = 4,         // a card still to be written into a reader; the door button
    Icono_Login = 5,             // an operator login
    Icono_Tarjeta = 6,           // a card; a cardholder in the attendance tree
    Icono_Puerta_Cerrada = 7,    // door closed
    Icono_Alarma = 8,            // door alarm; a reader that gave no test answer
    Icono_Puerta_Abierta = 9,    // door opened; the attendance period
    Icono_Calendario = 10,       // a day or a month
    Icono_Sin_Respuesta = 11,    // a reader that did not answer its last test
    Icono_Responde = 12,         // a reader that answered (with the card count the database expects)
    Icono_Diferencia = 13,       // a reader that answered with another card count
};
inline constexpr int Numero_Iconos = 14;

// The icon at indice; a null icon outside the list. Drawn once, on first use.
QIcon Icono(int indice);

// Larger pictures for the tools entries and the registering switch.
enum class Dibujo { Incidencias, Presencia, Camaras, Registro_Apagado, Registro_Encendido };
QPixmap Imagen(Dibujo dibujo, int lado);

// The data role under which a list cell keeps the number of its icon, so
// that the number is what a window and its tests read back, not a picture.
inline constexpr int Rol_Icono = Qt::UserRole + 0x4b56;
// Shows icon indice in one cell of a list row; -1 takes it away.
void Pon_Icono(QTreeWidgetItem *fila, int columna, int indice);
// The icon number of that cell, -1 when it shows none.
int Icono_De(const QTreeWidgetItem *fila, int columna);

} // namespace kv::ui
