#pragma once

#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <memory>

// The two model objects every window reaches: the main-database server, which
// lives for the whole run, and the open installation, replaced when another
// one is opened.
namespace Globales {

inline std::unique_ptr<ZARVServer> Servidor;
inline std::unique_ptr<ZARVSistema> Sistema;

} // namespace Globales
