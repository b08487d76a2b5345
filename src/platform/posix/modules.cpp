// POSIX modules: shared objects named lib<stem>.so stand for "<stem>.dll".
#include "platform/modules.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "platform/files.h"
#include "platform/text.h"

namespace kxt::platform {
namespace {

constexpr std::u16string_view kDllSuffix = u".dll";

// A requested module: the folder (when a path was given) and the file names
// under which it may be loaded.
struct ModuleRequest {
    std::u16string_view folder;
    bool hasFolder = false;
    std::u16string_view fileName;
    std::u16string sharedObjectName;  // lib<stem>.so, or empty when the name has no .dll suffix
};

ModuleRequest ParseRequest(std::u16string_view nameOrPath) {
    const PathParts parts = SplitPath(nameOrPath);
    return ModuleRequest{parts.folder, parts.hasFolder, parts.name, NativeModuleFileName(parts.name)};
}

bool Matches(const ModuleRequest& request, std::u16string_view loadedPath) {
    const PathParts loaded = SplitPath(loadedPath);
    if (!EqualsNoCase(loaded.name, request.fileName) &&
        (request.sharedObjectName.empty() || !EqualsNoCase(loaded.name, request.sharedObjectName))) {
        return false;
    }
    return !request.hasFolder || EqualsNoCase(loaded.folder, request.folder);
}

struct SearchState {
    const ModuleRequest* request;
    std::string found;  // the loaded object's name as the dynamic linker knows it
};

int VisitLoadedObject(dl_phdr_info* info, std::size_t, void* data) {
    auto* state = static_cast<SearchState*>(data);
    if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;  // the executable
    if (!Matches(*state->request, Utf8ToUtf16(info->dlpi_name))) return 0;
    state->found = info->dlpi_name;
    return 1;
}

// The handle of an object already loaded under `name`, without keeping a reference.
ModuleHandle HandleOfLoaded(const char* name) {
    void* handle = ::dlopen(name, RTLD_LAZY | RTLD_NOLOAD);
    if (handle != nullptr) ::dlclose(handle);  // balances the NOLOAD reference; the object stays loaded
    return handle;
}

std::u16string ExecutableFileName() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return {};
    return Utf8ToUtf16(std::string_view(buffer, static_cast<std::size_t>(n)));
}

// The native name of an existing file that is not a folder; empty when there is none.
std::string ExistingFile(const std::u16string& path) {
    std::string file = ResolveNativePath(path);
    struct stat st {};
    if (file.empty() || ::stat(file.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return {};
    return file;
}

// The native name of the module file at `path`: the file itself, or for
// "<stem>.dll" lib<stem>.so in the same folder; empty when neither exists.
std::string ModuleFile(const std::u16string& path) {
    std::string file = ExistingFile(path);
    if (!file.empty()) return file;
    const ModuleRequest request = ParseRequest(path);
    if (request.sharedObjectName.empty()) return {};
    return ExistingFile(request.hasFolder ? JoinPath(std::u16string(request.folder), {request.sharedObjectName})
                                          : request.sharedObjectName);
}

// dlopen of the module file at `path` (see ModuleFile); null when there is none.
ModuleHandle OpenModuleFile(const std::u16string& path, int flags) {
    std::string file = ModuleFile(path);
    if (file.empty()) return nullptr;
    // A name without a folder would make dlopen search the library path.
    if (file.find('/') == std::string::npos) file.insert(0, "./");
    return ::dlopen(file.c_str(), flags);
}

// A relative name is completed with the current folder; links stay as they are.
std::u16string AbsoluteFileName(const char* name) {
    if (name[0] == '/') return Utf8ToUtf16(name);
    char cwd[PATH_MAX];
    if (::getcwd(cwd, sizeof cwd) == nullptr) return {};
    return JoinPath(Utf8ToUtf16(cwd), {Utf8ToUtf16(name)});
}

}  // namespace

std::u16string NativeModuleFileName(std::u16string_view logicalName) {
    if (logicalName.size() <= kDllSuffix.size() || !EndsWithNoCase(logicalName, kDllSuffix)) return {};
    std::u16string name = u"lib";
    name.append(logicalName.substr(0, logicalName.size() - kDllSuffix.size()));
    return name.append(u".so");
}

ModuleHandle FindLoadedModule(const std::u16string& nameOrPath) {
    if (nameOrPath.empty()) return nullptr;
    const ModuleRequest request = ParseRequest(nameOrPath);
    SearchState state{&request, {}};
    if (::dl_iterate_phdr(VisitLoadedObject, &state) == 0) return nullptr;
    return HandleOfLoaded(state.found.c_str());
}

void* FindExport(ModuleHandle module, const char* name) {
    if (module == nullptr || name == nullptr) return nullptr;
    return ::dlsym(module, name);
}

std::u16string ModuleFileName(ModuleHandle module) {
    if (module == nullptr) return ExecutableFileName();
    link_map* map = nullptr;
    if (::dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return {};
    if (map->l_name == nullptr || map->l_name[0] == '\0') return ExecutableFileName();
    return AbsoluteFileName(map->l_name);
}

bool ModuleFileExists(const std::u16string& path) { return !ModuleFile(path).empty(); }

ModuleHandle LoadModule(const std::u16string& path) { return OpenModuleFile(path, RTLD_NOW | RTLD_LOCAL); }

ModuleHandle LoadModuleForResources(const std::u16string& path) {
    return OpenModuleFile(path, RTLD_LAZY | RTLD_LOCAL);
}

void ReleaseModule(ModuleHandle module) {
    if (module != nullptr) ::dlclose(module);
}

std::optional<std::u16string> LoadModuleString(ModuleHandle module, unsigned id) {
    using ResourceStringFunction = const char16_t* (*)(unsigned);
    void* symbol = FindExport(module, "kxtResourceString");
    if (symbol == nullptr) return std::nullopt;
    const char16_t* text = reinterpret_cast<ResourceStringFunction>(symbol)(id);
    if (text == nullptr) return std::nullopt;
    return std::u16string(text);
}

}  // namespace kxt::platform
