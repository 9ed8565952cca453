#include "app/paginas.h"

#include "app/pagina_instalacion.h"
#include "app/pagina_lectores.h"
#include "app/pagina_logins.h"
#include "app/pagina_parametros.h"
#include "app/pagina_tarjetas.h"
#include "app/pagina_usuarios.h"

namespace {

template <class T>
std::function<Pagina *(Vista_Principal &, QObject *)> pagina()
{
    return [](Vista_Principal &vista, QObject *padre) -> Pagina * { return new T(vista, padre); };
}

} // namespace

const std::vector<Nodo_Navegacion> &Tabla_Navegacion()
{
    static const std::vector<Nodo_Navegacion> tabla = {
        {QStringLiteral("Keyvane"), false, false, pagina<Pagina_Instalacion>()},
        {QStringLiteral("Usuarios"), true, false, pagina<Pagina_Usuarios>()},
        {QStringLiteral("Tarjetas"), true, false, pagina<Pagina_Tarjetas>()},
        {QStringLiteral("Lectores"), true, false, pagina<Pagina_Lectores>()},
        {QString::fromUtf8("Gestión"), false, true, nullptr},
        {QStringLiteral("Logins"), true, true, pagina<Pagina_Logins>()},
        {QString::fromUtf8("Parámetros"), true, true, pagina<Pagina_Parametros>()},
    };
    return tabla;
}
