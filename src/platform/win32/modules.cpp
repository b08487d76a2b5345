// Windows modules: the loader's own module list and string tables.
#include "platform/modules.h"

#include "platform/files.h"
#include "platform/win32/windows_api.h"

namespace kxt::platform {

ModuleHandle FindLoadedModule(const std::u16string& nameOrPath) {
    if (nameOrPath.empty()) return nullptr;
    return GetModuleHandleW(Wide(nameOrPath));
}

void* FindExport(ModuleHandle module, const char* name) {
    if (module == nullptr || name == nullptr) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

std::u16string ModuleFileName(ModuleHandle module) {
    std::u16string name(MAX_PATH, u'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(name.size());
        const DWORD length =
            GetModuleFileNameW(static_cast<HMODULE>(module), reinterpret_cast<wchar_t*>(name.data()), size);
        if (length == 0) return {};
        if (length < size) {
            name.resize(length);
            return name;
        }
        if (name.size() >= 32768) return {};  // longer than any path Windows allows
        name.resize(name.size() * 2);
    }
}

std::u16string NativeModuleFileName(std::u16string_view logicalName) { return std::u16string(logicalName); }

bool ModuleFileExists(const std::u16string& path) {
    return PathExists(path) && !IsDirectory(path);
}

ModuleHandle LoadModule(const std::u16string& path) { return LoadLibraryW(Wide(path)); }

ModuleHandle LoadModuleForResources(const std::u16string& path) {
    // Flag 1: map the module without resolving its imports or running its entry point.
    return LoadLibraryExW(Wide(path), nullptr, 1);
}

void ReleaseModule(ModuleHandle module) {
    if (module != nullptr) FreeLibrary(static_cast<HMODULE>(module));
}

std::optional<std::u16string> LoadModuleString(ModuleHandle module, unsigned id) {
    if (module == nullptr) return std::nullopt;
    // With a zero buffer size LoadStringW hands out a pointer into the read-only resource.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(static_cast<HINSTANCE>(module), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}

}  // namespace kxt::platform
