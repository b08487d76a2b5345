#include "support/registry_hive.h"

#include <stdexcept>

#include "platform/environment.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <vector>

#include "platform/reg_file.h"
#include "platform/text.h"
#include "platform/win32/windows_api.h"
#endif

namespace kxt::test {

#ifdef _WIN32
namespace {

const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// The keys below HKEY_CURRENT_USER that the export's section headers name.
std::vector<std::u16string> CurrentUserKeys(const std::string& text) {
    const std::u16string decoded = text.starts_with("\xFF\xFE") ? platform::Utf16LeToUtf16(std::string_view(text).substr(2))
                                                                : platform::Utf8ToUtf16(text);
    std::vector<std::u16string> keys;
    for (std::size_t at = 0; (at = decoded.find(u'[', at)) != std::u16string::npos; ++at) {
        const std::size_t end = decoded.find(u']', at);
        if (end == std::u16string::npos) break;
        std::u16string_view section(decoded.data() + at + 1, end - at - 1);
        for (const std::u16string_view root : {u"HKEY_CURRENT_USER\\", u"HKCU\\"}) {
            if (platform::StartsWithNoCase(section, root)) keys.emplace_back(section.substr(root.size()));
        }
    }
    return keys;
}

}  // namespace

void UseRegistryExport(const std::string& text) {
    // The prefix keeps what earlier programs wrote: each key is written anew.
    static std::vector<std::u16string> written;
    const std::vector<std::u16string> keys = CurrentUserKeys(text);
    written.insert(written.end(), keys.begin(), keys.end());
    for (const std::u16string& key : written) RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key)), RegDeleteKeyW(HKEY_CURRENT_USER, Wide(key));
    written.clear();
    for (const std::u16string& key : keys) {
        const auto values = platform::ParseRegFileKey(text, key);
        HKEY handle = nullptr;
        if (!values || RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
            continue;
        written.push_back(key);
        for (const platform::RegFileValue& value : *values) {
            // RegSetValueExW adds a terminator to a string whose next character in memory is zero:
            // what follows the data here is not, so the value holds the export's bytes exactly.
            std::vector<std::uint8_t> data = value.value.data;
            data.insert(data.end(), {0xFF, 0xFF});
            const LSTATUS status = RegSetValueExW(handle, Wide(value.name), 0, static_cast<DWORD>(value.value.type), data.data(),
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
