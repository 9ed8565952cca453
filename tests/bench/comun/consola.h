#pragma once

#include "tempinstall.h"

#include "model/globales.h"
#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <memory>

namespace kv::bench {

// The main database of inst opened embedded into Globales::Servidor as
// keyvane-cli opens it: in the console's session, an administrator's.
inline void Abre_Consola(const kv::test::TempInstall &inst)
{
    Globales::Servidor = std::make_unique<ZARVServer>();
    Globales::Servidor->Configurar(QString(), inst.mainDatabase(), QStringLiteral("quillpond"), QStringLiteral("sysdba"));
    Globales::Servidor->Abre_Sesion_Consola();
}

// Abre_Consola, then installation 1 into Globales::Sistema with its collections loaded.
inline void Abre_Instalacion(const kv::test::TempInstall &inst)
{
    Abre_Consola(inst);
    Globales::Sistema = std::make_unique<ZARVSistema>(nullptr, inst.installationFile(1), Globales::Servidor.get());
    Globales::Sistema->Crea_Colecciones();
}

} // namespace kv::bench
