// Read-only access to the current user's registry hive. Windows: the real
// registry (RegOpenKeyExW under HKEY_CURRENT_USER). POSIX: a Windows registry
// export file (.reg) named by KXT_REGISTRY_FILE, else
// $XDG_CONFIG_HOME/kxterra/registry.reg (~/.config/... when unset), read afresh
// at each opening of a key; an open key reads the values as they were when it
// was opened. Key paths use '\' and compare without regard to case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kxt::platform {

// Whether the hive is a registry export file (POSIX) rather than the registry itself (Windows).
#ifdef _WIN32
inline constexpr bool kRegistryIsAnExportFile = false;
#else
inline constexpr bool kRegistryIsAnExportFile = true;
#endif

// Registry value types, as Windows numbers them.
enum class RegistryType : unsigned { kNone = 0, kString = 1, kExpandString = 2, kBinary = 3, kDword = 4 };

// One value as Windows stores it: a string value is its UTF-16LE text plus a
// terminating zero (2 x (characters + 1) bytes); a DWORD is 4 little-endian bytes.
struct RegistryValue {
    RegistryType type = RegistryType::kNone;
    std::vector<std::uint8_t> data;
};

// One value of a key with its name (empty for the default value).
struct RegistryNamedValue {
    std::u16string name;
    RegistryValue value;
};

// Where the current user's hive is read from, for messages: the export
// file on POSIX (empty when none is named), "HKEY_CURRENT_USER" on Windows.
std::u16string CurrentUserHiveName();

// An open key under HKEY_CURRENT_USER.
class RegistryKey {
public:
    // Opens subkey (e.g. "Software\\Korvex\\Korvex 2025\\Material"); nullopt
    // when the key does not exist or the hive cannot be read.
    static std::optional<RegistryKey> OpenCurrentUser(const std::u16string& subkey);

    RegistryKey(RegistryKey&& other) noexcept;
    RegistryKey& operator=(RegistryKey&& other) noexcept;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    // The named value with its type and bytes; nullopt when absent.
    std::optional<RegistryValue> ReadValue(const std::u16string& name) const;
    // A REG_DWORD value; nullopt when absent or of another type.
    std::optional<std::uint32_t> ReadDword(const std::u16string& name) const;
    // The names of the key's values, each once, in the order the platform
    // lists them; empty when it cannot list them.
    std::vector<std::u16string> ValueNames() const;

private:
    explicit RegistryKey(void* handle, std::u16string subkey) noexcept;
    void* handle_ = nullptr;  // HKEY on Windows; unused on POSIX
    std::u16string subkey_;   // the key path below HKEY_CURRENT_USER
    // POSIX: the key's values as parsed when it was opened, and each folded
    // name's position among them. Unused on Windows.
    std::vector<RegistryNamedValue> values_;
    std::unordered_map<std::u16string, std::size_t> positions_;
};

}  // namespace kxt::platform
