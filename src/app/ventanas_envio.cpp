#include "app/ventanas_envio.h"

#include "app/tf_main.h"
#include "app/ventanas.h"

#include "ui/operador.h"

#include <QDialog>

void Ventanas::Sincroniza_Y_Refresca(QDialog *ventana)
{
    if (!ventana)
        return;
    kv::ui::Operador::Modal(ventana);
    if (!F_Main)
        return;
    F_Main->Refrescar_usuariosII();
    F_Main->Refrescar_tarjetas();
    F_Main->B_Test_TODOSClick();
}
