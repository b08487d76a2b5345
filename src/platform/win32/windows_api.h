// The Windows API as the win32 implementation files include it.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace kxt::platform {

// A UTF-16 string as the API's wide characters (both are 16-bit on Windows).
inline const wchar_t* Wide(const std::u16string& s) noexcept { return reinterpret_cast<const wchar_t*>(s.c_str()); }

}  // namespace kxt::platform
