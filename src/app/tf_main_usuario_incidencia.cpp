// The cardholder of an incidence row, shown in F_User_Muestra when the
// operator clicks the row.
#include "app/disposicion.h"
#include "app/tf_main.h"
#include "app/tf_user_muestra.h"
#include "app/ventanas_incidencias.h"

#include <QTreeWidget>

void TF_Main::Lista_IncidenciasClick()
{
    // The row clicked, if the click left it selected (a Ctrl+click takes a
    // row out of the selection, and that row is not being asked about).
    QTreeWidgetItem *fila = Lista_Incidencias->currentItem();
    if (!fila || !fila->isSelected())
        return;
    const QString u = fila->text(4);
    if (u.isEmpty())
        return;
    TF_User_Muestra *ventana = Ventanas::F_User_Muestra;
    if (!ventana)
        return;
    // A row read back from a file may hold anything in U; what is not a
    // number names no cardholder.
    bool numero = false;
    const int id = u.trimmed().toInt(&numero);
    bool hallado = false;
    try {
        hallado = ventana->Muestra_Usuario(numero ? id : -1);
    } catch (...) {
        ventana->hide();
        throw;
    }
    // A row without a cardholder takes the previous one's details off the
    // screen: left there, they would read as this row's.
    if (hallado)
        disposicion::Al_Frente(ventana);
    else
        ventana->hide();
}
