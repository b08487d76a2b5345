// Loaded modules (shared libraries): find by logical name, exports, file
// names, loading (to run, or for resources only). A module is named by its
// logical Windows file name ("kxTerraU.dll"); on POSIX the loaded object whose
// file name equals, without regard to case, that name or lib<stem>.so matches.
// A full path ("…/lang/english/kxTerraMatResU.dll") is mapped the same way in
// its last component.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kxt::platform {

// Opaque handle of a loaded module; null means "none".
using ModuleHandle = void*;

// The already loaded module whose file name (or, for a path, whose full path)
// matches; null when none is loaded. Never loads anything and takes no
// reference that must be released.
ModuleHandle FindLoadedModule(const std::u16string& nameOrPath);

// The address of an exported symbol, or null.
void* FindExport(ModuleHandle module, const char* name);

// The full file name of the module as it was loaded (symbolic links not
// resolved), using the platform's separator; for a null handle, the
// executable's file name. Empty when it cannot be obtained.
std::u16string ModuleFileName(ModuleHandle module);

// The file name under which this platform keeps the module of a logical name
// ("kxTerraU.dll"): the name itself on Windows, lib<stem>.so on POSIX (empty
// there when the name does not end with ".dll").
std::u16string NativeModuleFileName(std::u16string_view logicalName);

// True when a module file exists at path and is not a folder; on POSIX a
// "<stem>.dll" path also matches lib<stem>.so in the same folder.
bool ModuleFileExists(const std::u16string& path);

// Loads a module from a file as a program does, resolving its imports and
// running its initialisation (POSIX: dlopen with RTLD_NOW | RTLD_LOCAL, since
// its exports are looked up through its handle; Windows: LoadLibraryW). Null
// on failure. The load must be balanced by ReleaseModule.
ModuleHandle LoadModule(const std::u16string& path);

// Loads a module from a file for its resources only (POSIX: dlopen with
// RTLD_LAZY | RTLD_LOCAL; Windows: LoadLibraryExW(path, nullptr, 1), which
// neither resolves imports nor runs the module's code). Null on failure. The
// load must be balanced by ReleaseModule.
ModuleHandle LoadModuleForResources(const std::u16string& path);

// Releases a load made by LoadModule or LoadModuleForResources.
void ReleaseModule(ModuleHandle module);

// String resource `id` of a resource module (POSIX: its exported
// kxtResourceString; Windows: LoadStringW); nullopt when it has none.
std::optional<std::u16string> LoadModuleString(ModuleHandle module, unsigned id);

}  // namespace kxt::platform
