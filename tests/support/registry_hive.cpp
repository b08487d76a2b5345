#include "support/registry_hive.h"

#include <stdexcept>

#include "platform/environment.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <vector>

#include "platform/reg_file.h"
#include "platform/win32/windows_api.h"
#endif

namespace kxt::test {

#ifdef _WIN32
void UseRegistryExport(const std::string& text) {
    // The prefix keeps what earlier programs wrote: each key is written anew.
    static std::vector<std::u16string> written;
    const std::vector<std::u16string> keys = platform::RegFileKeys(text);
    written.insert(written.end(), keys.begin(), keys.end());
    for (const std::u16string& key : written) RegDeleteTreeW(HKEY_CURRENT_USER, platform::Wide(key)), RegDeleteKeyW(HKEY_CURRENT_USER, platform::Wide(key));
    written.clear();
    for (const std::u16string& key : keys) {
        const auto values = platform::ParseRegFileKey(text, key);
        HKEY handle = nullptr;
        if (!values || RegCreateKeyExW(HKEY_CURRENT_USER, platform::Wide(key), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
            continue;
        written.push_back(key);
        for (const platform::RegFileValue& value : *values) {
            // RegSetValueExW adds a terminator to a string whose next character in memory is zero:
            // what follows the data here is not, so the value holds the export's bytes exactly.
            std::vector<std::uint8_t> data = value.value.data;
            data.insert(data.end(), {0xFF, 0xFF});
            const LSTATUS status = RegSetValueExW(handle, platform::Wide(value.name), 0, static_cast<DWORD>(value.value.type), data.data(),
                                                  static_cast<DWORD>(value.value.data.size()));
            if (status != ERROR_SUCCESS) throw std::runtime_error("cannot write a registry value");
        }
        RegCloseKey(handle);
    }
}

void UseRegistryFile(const std::filesystem::path& file) { UseRegistryExport(ReadFileBytes(file)); }

#else

void UseRegistryExport(const std::string& text) {
    static const TempDir folder;
    UseRegistryFile(folder.Write("registry.reg", text));
}

void UseRegistryFile(const std::filesystem::path& file) {
    if (!platform::SetEnvironmentValue("KXT_REGISTRY_FILE", file.string())) throw std::runtime_error("cannot set KXT_REGISTRY_FILE");
}

#endif

}  // namespace kxt::test
