#include "workflows/freno_login.h"

#include <algorithm>

namespace kv::wf {

int Freno_Login::Fallo()
{
    ++m_fallos;
    const int exceso = m_fallos - Fallos_Libres;
    if (exceso <= 0)
        return 0;
    // 2^5 already passes the ceiling; the shift never grows past it.
    return std::min(1 << std::min(exceso - 1, 5), Espera_Maxima);
}

} // namespace kv::wf
