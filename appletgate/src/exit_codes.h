#pragma once
// The program's only output is its exit code, an HRESULT. Kept free of
// Windows headers so that the native tests can name the same values.
#include <cstdint>

namespace appletgate {

inline constexpr std::uint32_t kDone = 0;
inline constexpr std::uint32_t kFail = 0x80004005;         // E_FAIL
inline constexpr std::uint32_t kLoadFailed = 0x80040901;   // the server library would not load
inline constexpr std::uint32_t kNoEntryPoint = 0x80040902; // the library has no CPlApplet

} // namespace appletgate
