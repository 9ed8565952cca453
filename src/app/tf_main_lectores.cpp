// The readers list and the test of every reader belong to the readers page,
// which puts them into the hooks before the start-up runs; the start-up, the
// login and the other windows ask for them here.
#include "app/tf_main.h"

void TF_Main::Refrescar_Controladores()
{
    if (Gancho_Refrescar_Controladores)
        Gancho_Refrescar_Controladores();
}

void TF_Main::B_Test_TODOSClick()
{
    if (Gancho_Test_Todos)
        Gancho_Test_Todos();
}
