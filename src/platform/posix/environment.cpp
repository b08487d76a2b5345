// POSIX environment: the C library's own table.
#include "platform/environment.h"

#include <stdlib.h>

namespace kxt::platform {

std::optional<std::string> GetEnvironmentValue(const char* name) {
    const char* value = ::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool SetEnvironmentValue(const char* name, const std::string& value) {
    return ::setenv(name, value.c_str(), 1) == 0;
}

bool RemoveEnvironmentValue(const char* name) { return ::unsetenv(name) == 0; }

}  // namespace kxt::platform
