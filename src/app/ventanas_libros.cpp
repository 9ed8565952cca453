#include "app/ventanas_libros.h"

#include "app/tf_exp_imp.h"
#include "app/tf_main.h"
#include "app/ventanas.h"

#include "model/globales.h"
#include "model/zarvcolecciontarjeta.h"
#include "model/zarvcoleccionusuario.h"
#include "ui/operador.h"
#include "workflows/coordinacion.h"

void Ventanas::Exporta_Importa()
{
    if (!F_Exp_imp)
        return;
    {
        // Given back however the window ends: an import that failed must not
        // leave the doors unheard.
        const kv::wf::Suspension_Escucha escucha;
        const kv::wf::Retencion_Mantenimiento retencion;
        kv::ui::Operador::Modal(F_Exp_imp);
        if (Globales::Sistema && Globales::Sistema->Tarjetas()) {
            Globales::Sistema->Usuarios()->Refrescar();
            Globales::Sistema->Tarjetas()->Refrescar();
        }
        if (F_Main) {
            F_Main->Refrescar_usuariosII();
            F_Main->Refrescar_tarjetas();
        }
    }
    if (F_Main)
        F_Main->B_Test_TODOSClick();
}
