#include "idioma_temporal.h"

#include "lang/lang.h"
#include "model/variables.h"
#include "platform/paths.h"

#include <QFile>

IdiomaTemporal::IdiomaTemporal(const QByteArray &fichero)
{
    kv::Paths::setSystemDir(m_dir.path());
    Variables::Restablecer();
    if (!fichero.isNull()) {
        QFile f(m_dir.filePath(QStringLiteral("Keyvane20_Lang.ini")));
        if (f.open(QIODevice::WriteOnly))
            f.write(fichero);
    }
    Lang::Abrir_Fichero_Idioma();
}

IdiomaTemporal::~IdiomaTemporal()
{
    Lang::Cerrar_Fichero_Idioma();
    Variables::Restablecer();
    kv::Paths::reset();
}
