#include "workflows/parametros.h"

#include "model/auditoria.h"
#include "model/settings_errors.h"
#include "model/variables.h"

#include <QStringList>

namespace kv::wf {
namespace {

void Pon(const Parametros_App &p)
{
    Variables::Idioma = p.Idioma;
    Variables::El_inc = p.El_inc;
    Variables::Liberar_tarj = p.Liberar_tarj;
    Variables::Testear_cx = p.Testear_cx;
    Variables::USA_LECTOR = p.USA_LECTOR;
}

} // namespace

Parametros_App Parametros_Actuales()
{
    return {Variables::Idioma, Variables::El_inc, Variables::Liberar_tarj, Variables::Testear_cx,
            Variables::USA_LECTOR};
}

bool Aplica_Parametros(const Parametros_App &p)
{
    const Parametros_App antes = Parametros_Actuales();
    Parametros_App nuevos = p;
    if (nuevos.El_inc < 0 || nuevos.El_inc > 3)
        nuevos.El_inc = antes.El_inc;
    nuevos.USA_LECTOR = nuevos.USA_LECTOR.trimmed();
    int lector = 0;
    if (!nuevos.USA_LECTOR.isEmpty()) {
        bool numero = false;
        lector = nuevos.USA_LECTOR.toInt(&numero);
        if (!numero)
            throw kv::ConversionError(
                QStringLiteral("USA_LECTOR=\"%1\" is not a reader number").arg(nuevos.USA_LECTOR));
    }
    // The reading reader follows the stored choice even when nothing else
    // changed, so the in-memory pair never disagrees with USA_LECTOR.
    Variables::Lector_Activo = !nuevos.USA_LECTOR.isEmpty();
    Variables::Lector_Codigo = Variables::Lector_Activo ? lector : 0;
    if (nuevos == antes)
        return false;
    QStringList cambios;
    const auto compara = [&](const char *clave, const QString &a, const QString &b) {
        if (a != b)
            cambios << QStringLiteral("%1=%2").arg(QLatin1String(clave), b);
    };
    compara("Idioma", antes.Idioma, nuevos.Idioma);
    compara("El_inc", QString::number(antes.El_inc), QString::number(nuevos.El_inc));
    compara("Liberar_tarj", QString::number(antes.Liberar_tarj), QString::number(nuevos.Liberar_tarj));
    compara("Testear_cx", QString::number(antes.Testear_cx), QString::number(nuevos.Testear_cx));
    compara("USA_LECTOR", antes.USA_LECTOR, nuevos.USA_LECTOR);
    Pon(nuevos);
    try {
        Auditoria::Con_Entrada(Auditoria::Accion::Parametros_Cambiados,
                               Auditoria::Objeto{.detalle = cambios.join(QStringLiteral(", "))},
                               [] { Variables::Guarda_Configuracion(); });
    } catch (...) {
        Pon(antes);
        Variables::Lector_Activo = !antes.USA_LECTOR.isEmpty();
        Variables::Lector_Codigo = Variables::Lector_Activo ? antes.USA_LECTOR.toInt() : 0;
        throw;
    }
    return true;
}

} // namespace kv::wf
