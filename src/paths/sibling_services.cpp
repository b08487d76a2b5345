#include "paths/sibling_services.h"

#include "platform/modules.h"

namespace kxt::paths {
namespace {

using PathFunction = void (*)(std::u16string&);
using LangIdFunction = int (*)();

// The export `name` of the loaded main module, as a function of type F; null
// when the module is not loaded or lacks the export.
template <class F>
F MainModuleExport(const char* name) {
    platform::ModuleHandle module = platform::FindLoadedModule(kMainModule);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<F>(platform::FindExport(module, name));
}

std::u16string ReportedPath(const char* exportName) {
    std::u16string path;
    if (auto report = MainModuleExport<PathFunction>(exportName)) report(path);
    return path;
}

}  // namespace

std::u16string DefaultNativePath() {
    return ReportedPath("GetDefaultNativePath");
}

std::u16string DefaultLangPath() {
    return ReportedPath("GetDefaultLangPath");
}

void CallDefaultLangId() {
    if (auto langId = MainModuleExport<LangIdFunction>("GetDefaultLangId")) static_cast<void>(langId());
}

LangDirFunction FindLangDirExport() {
    return MainModuleExport<LangDirFunction>("getLangDir");
}

}  // namespace kxt::paths
