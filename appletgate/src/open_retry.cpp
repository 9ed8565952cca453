#include "open_retry.h"

namespace appletgate {

long Open_With_Retry(const std::function<long()> &attempt, const std::function<void(unsigned ms)> &wait)
{
    long error = 0;
    for (int k = 0; k < kOpenAttempts; ++k) {
        error = attempt();
        wait(10u * static_cast<unsigned>(k));
        if (error != kErrorInvalidHandle && error != kErrorInsufficientBuffer)
            break;
    }
    return error;
}

} // namespace appletgate
