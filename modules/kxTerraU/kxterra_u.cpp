// Stand-in for the add-in's main module. The installation root is the folder
// this module was loaded from; the user-interface language comes from the
// environment variable KXT_LANGUAGE ("english" when unset or empty).
#include <cstdlib>
#include <cwchar>
#include <string>
#include <string_view>

#if defined(_WIN32)
#include <windows.h>
#define KXT_STANDIN_EXPORT extern "C" __declspec(dllexport)
#else
#include <dlfcn.h>
#define KXT_STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

#if defined(_WIN32)
constexpr char16_t kSeparator = u'\\';
#else
constexpr char16_t kSeparator = u'/';
#endif

#if !defined(_WIN32)
// UTF-8 -> UTF-16; a malformed sequence becomes U+FFFD. Small on purpose:
// this module links nothing of the project.
std::u16string Widen(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        char32_t cp = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
        bool valid = length != 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return out;
}
#endif

// The full file name this module was loaded by; empty when unknown.
std::u16string OwnFileName() {
#if defined(_WIN32)
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&OwnFileName), &self))
        return {};
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(self, name.data(), static_cast<DWORD>(name.size()));
    return std::u16string(name.begin(), name.begin() + length);
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OwnFileName), &info) == 0 || info.dli_fname == nullptr) return {};
    return Widen(info.dli_fname);
#endif
}

// The installation root: the folder of this module, without a trailing separator.
const std::u16string& Root() {
    static const std::u16string root = [] {
        std::u16string name = OwnFileName();
        const auto cut = name.find_last_of(kSeparator);
        return cut == std::u16string::npos ? std::u16string(u".") : name.substr(0, cut);
    }();
    return root;
}

// KXT_LANGUAGE in UTF-16: on Windows from the wide environment, as the
// narrow one holds the ANSI code page's approximation of the value.
std::u16string LanguageVariable() {
#if defined(_WIN32)
    const wchar_t* value = _wgetenv(L"KXT_LANGUAGE");
    return value != nullptr ? std::u16string(value, value + std::wcslen(value)) : std::u16string();
#else
    const char* value = std::getenv("KXT_LANGUAGE");
    return value != nullptr ? Widen(value) : std::u16string();
#endif
}

const std::u16string& Language() {
    static const std::u16string language = [] {
        std::u16string value = LanguageVariable();
        return value.empty() ? std::u16string(u"english") : value;
    }();
    return language;
}

std::u16string LanguageFolder(const std::u16string& language) {
    std::u16string path = Root();
    path += kSeparator;
    path += u"lang";
    path += kSeparator;
    path += language;
    path += kSeparator;
    return path;
}

}  // namespace

// The folder of the English libraries, ending with a separator.
KXT_STANDIN_EXPORT void GetDefaultNativePath(std::u16string& out) {
    out = LanguageFolder(u"english");
}

// The folder of the user-interface language's libraries, ending with a separator.
KXT_STANDIN_EXPORT void GetDefaultLangPath(std::u16string& out) {
    out = LanguageFolder(Language());
}

// The language folder name; the text stays valid for the life of the process.
KXT_STANDIN_EXPORT const char16_t* getLangDir() {
    return Language().c_str();
}

// The Windows language identifier of the user-interface language (0 when unknown).
KXT_STANDIN_EXPORT int GetDefaultLangId() {
    const std::u16string& language = Language();
    if (language == u"english") return 1033;
    if (language == u"french") return 1036;
    if (language == u"german") return 1031;
    return 0;
}
