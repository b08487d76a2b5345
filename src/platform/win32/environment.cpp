// Windows environment: the C runtime's wide table, which also updates the
// process environment block, so both getenv and GetEnvironmentVariableW see a
// value set here.
#include "platform/environment.h"

#include <stdlib.h>

#include <memory>

#include "platform/text.h"
#include "platform/win32/windows_api.h"

namespace kxt::platform {
namespace {

// The name as the wide API takes it (names are ASCII or UTF-8).
std::u16string WideName(const char* name) { return Utf8ToUtf16(name); }

struct FreeDeleter {
    void operator()(wchar_t* p) const noexcept { free(p); }
};

}  // namespace

std::optional<std::string> GetEnvironmentValue(const char* name) {
    wchar_t* raw = nullptr;
    std::size_t length = 0;
    if (_wdupenv_s(&raw, &length, Wide(WideName(name))) != 0 || raw == nullptr) return std::nullopt;
    const std::unique_ptr<wchar_t, FreeDeleter> value(raw);
    return Utf16ToUtf8(reinterpret_cast<const char16_t*>(value.get()));
}

bool SetEnvironmentValue(const char* name, const std::string& value) {
    return _wputenv_s(Wide(WideName(name)), Wide(Utf8ToUtf16(value))) == 0;
}

}  // namespace kxt::platform
