// The current user's hive on Windows: the registry itself.
#include "platform/registry.h"

#include <utility>

#include "platform/win32/windows_api.h"

namespace kxt::platform {

std::u16string CurrentUserHiveName() { return u"HKEY_CURRENT_USER"; }

std::optional<RegistryKey> RegistryKey::OpenCurrentUser(const std::u16string& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(subkey), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    return RegistryKey(key, subkey);
}

RegistryKey::RegistryKey(void* handle, std::u16string subkey) noexcept : handle_(handle), subkey_(std::move(subkey)) {}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), subkey_(std::move(other.subkey_)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) RegCloseKey(static_cast<HKEY>(handle_));
        handle_ = std::exchange(other.handle_, nullptr);
        subkey_ = std::move(other.subkey_);
    }
    return *this;
}

RegistryKey::~RegistryKey() {
    if (handle_ != nullptr) RegCloseKey(static_cast<HKEY>(handle_));
}

std::optional<RegistryValue> RegistryKey::ReadValue(const std::u16string& name) const {
    if (handle_ == nullptr) return std::nullopt;
    const HKEY key = static_cast<HKEY>(handle_);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    RegistryValue value;
    // The value may grow between the two calls: ask again with the new size.
    for (;;) {
        value.data.resize(size);
        const LSTATUS status = RegQueryValueExW(key, Wide(name), nullptr, &type, value.data.data(), &size);
        if (status == ERROR_SUCCESS) break;
        if (status != ERROR_MORE_DATA) return std::nullopt;
    }
    value.data.resize(size);
    value.type = static_cast<RegistryType>(type);
    return value;
}

std::vector<std::u16string> RegistryKey::ValueNames() const {
    std::vector<std::u16string> names;
    if (handle_ == nullptr) return names;
    const HKEY key = static_cast<HKEY>(handle_);
    DWORD longest = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::u16string buffer(static_cast<std::size_t>(longest) + 1, u'\0');
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LSTATUS status = RegEnumValueW(key, index, reinterpret_cast<wchar_t*>(buffer.data()), &length, nullptr,
                                             nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status == ERROR_MORE_DATA) {  // a longer name was added meanwhile: ask again
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), length);
        ++index;
    }
    return names;
}

}  // namespace kxt::platform
