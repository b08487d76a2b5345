// The file name of a module on this platform.
#pragma once

#include <string>
#include <string_view>

namespace kxt::test {

// "kxTerraU" -> "kxTerraU.dll" on Windows, "libkxTerraU.so" elsewhere.
inline std::string ModuleFileOf(std::string_view stem) {
#ifdef _WIN32
    return std::string(stem) + ".dll";
#else
    return "lib" + std::string(stem) + ".so";
#endif
}

}  // namespace kxt::test
