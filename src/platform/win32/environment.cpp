// Windows environment: set through the C runtime's wide table, which also
// updates the process environment block, so both getenv and
// GetEnvironmentVariableW see a value set here; read from that block.
#include "platform/environment.h"

#include <stdlib.h>

#include "platform/text.h"
#include "platform/win32/windows_api.h"

namespace kxt::platform {
namespace {

// The name as the wide API takes it (names are ASCII or UTF-8).
std::u16string WideName(const char* name) { return Utf8ToUtf16(name); }

}  // namespace

std::optional<std::string> GetEnvironmentValue(const char* name) {
    const std::u16string wideName = WideName(name);
    std::u16string value(64, u'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length =
            GetEnvironmentVariableW(Wide(wideName), reinterpret_cast<wchar_t*>(value.data()), static_cast<DWORD>(value.size()));
        // 0 is also the length of an empty value; only the error tells them apart.
        if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        if (length < value.size()) {
            value.resize(length);
            return Utf16ToUtf8(value);
        }
        value.resize(length);  // the size asked for, terminator included
    }
}

bool SetEnvironmentValue(const char* name, const std::string& value) {
    const std::u16string wideName = WideName(name);
    if (wideName.empty() || wideName.find(u'=') != std::u16string::npos) return false;
    // "NAME=" removes the variable, as the interface says of an empty value.
    const std::u16string assignment = wideName + u'=' + Utf8ToUtf16(value);
    return _wputenv(Wide(assignment)) == 0;
}

bool RemoveEnvironmentValue(const char* name) { return SetEnvironmentValue(name, std::string()); }

}  // namespace kxt::platform
