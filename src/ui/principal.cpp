#include "ui/principal.h"

namespace kv::ui {
namespace {
Principal *g_principal = nullptr;
}

Principal::~Principal()
{
    if (g_principal == this)
        g_principal = nullptr;
}

Principal *Principal::Actual() { return g_principal; }
void Principal::Registra(Principal *principal) { g_principal = principal; }

} // namespace kv::ui
