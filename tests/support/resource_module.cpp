#include "support/resource_module.h"

#include "platform/text.h"

namespace kxt::test {
namespace {

struct LoadedModule {
    platform::ModuleHandle handle = platform::LoadModuleForResources(
        platform::Utf8ToUtf16(KXTMAT_SAMPLE_DIR "/lang/english/kxTerraMatResU.dll"));
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
