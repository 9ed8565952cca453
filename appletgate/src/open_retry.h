#pragma once
// The retry rule for opening a registry key, kept apart from the registry so
// the native tests can drive it with scripted error codes.
#include <functional>

namespace appletgate {

inline constexpr long kErrorInvalidHandle = 6;        // ERROR_INVALID_HANDLE
inline constexpr long kErrorInsufficientBuffer = 122; // ERROR_INSUFFICIENT_BUFFER
inline constexpr int kOpenAttempts = 5;

// Calls `attempt` (which returns a Win32 error code, 0 on success) up to five
// times and waits 10*k ms after attempt k, after a successful one too. An
// invalid handle or a short buffer can clear up while the registry is busy, so
// only those two earn another try; any other answer (a missing key above all)
// is final. Returns the last attempt's code.
long Open_With_Retry(const std::function<long()> &attempt, const std::function<void(unsigned ms)> &wait);

} // namespace appletgate
