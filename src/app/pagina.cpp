#include "app/pagina.h"

#include "app/disposicion.h"

#include <QWidget>

Pagina::Pagina(Vista_Principal &vista, const char *nombre_panel, QObject *padre)
    : QObject(padre)
    , m_vista(vista)
    , m_panel(disposicion::Panel(nullptr, nombre_panel))
{
    setObjectName(QLatin1String(nombre_panel) + QStringLiteral("_Pagina"));
}
