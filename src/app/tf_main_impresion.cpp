// The incidence list printed: its rows as they stand, under the printout's
// title, shown in a print preview first.
#include "app/impresion_incidencias.h"
#include "app/tf_main.h"

#include "model/variables.h"

#include <QTextEdit>

void TF_Main::SpeedButton5Click()
{
    // An empty list still gets its title page: the operator asked for a
    // printout and sees that there was nothing to list.
    impresion::Compone_Documento(*Re_Incidencia->document(),
                                 Variables::Mensaje(QStringLiteral("Variables_variables_F_Main_26")),
                                 Filas_Lista_Incidencias());
    impresion::Vista_Previa(this, *Re_Incidencia->document());
}
