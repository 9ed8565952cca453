// What other windows ask of the main window's pages: each request goes to
// the page that owns the list.
#include "app/tf_main.h"

#include "app/aviso_clave.h"

#include "model/globales.h"

void TF_Main::Refresca_Lista_INI()
{
    if (Pagina_Instalacion *p = Instalacion())
        p->Refrescar();
}

void TF_Main::Refrescar_usuariosII()
{
    Anota_Marca_Cambios();
    if (Pagina_Usuarios *p = Usuarios())
        p->Refrescar();
}

void TF_Main::Refrescar_tarjetas()
{
    Anota_Marca_Cambios();
    if (Pagina_Tarjetas *p = Tarjetas())
        p->Refrescar();
}

void TF_Main::Refresca_Logins()
{
    if (Pagina_Logins *p = Logins())
        p->Refrescar();
    Panel_Aviso_Clave->Comprueba();
}

void TF_Main::Refrescar_Controladores()
{
    if (Pagina_Lectores *p = Lectores())
        p->Refrescar_Controladores();
}

void TF_Main::B_Test_TODOSClick()
{
    if (Pagina_Lectores *p = Lectores())
        p->B_Test_TODOSClick();
}
