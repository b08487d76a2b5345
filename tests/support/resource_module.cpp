#include "support/resource_module.h"

#include "support/temp_dir.h"

namespace kxt::test {
namespace {

struct LoadedModule {
    platform::ModuleHandle handle = platform::LoadModuleForResources(
        ModulePath(Utf8Path(KXTMAT_SAMPLE_DIR "/lang/english/kxTerraMatResU.dll")));
    ~LoadedModule() {
        if (handle != nullptr) platform::ReleaseModule(handle);
    }
};

}  // namespace

platform::ModuleHandle EnglishResourceModule() {
    static const LoadedModule module;
    return module.handle;
}

}  // namespace kxt::test
