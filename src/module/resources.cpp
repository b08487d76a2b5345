#include "module/resources.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace kxt::module {
namespace {

ModuleHandle g_current = nullptr;

struct KnownModule {
    ModuleHandle module;
    unsigned count;
};

// Oldest registration first; the lookup walks it from the back.
std::vector<KnownModule>& KnownModules() {
    static std::vector<KnownModule> known;
    return known;
}

}  // namespace

ModuleHandle CurrentResourceModule() noexcept {
    return g_current;
}

ScopedResourceModule::ScopedResourceModule(ModuleHandle module) noexcept : previous_(g_current) {
    g_current = module;
}

ScopedResourceModule::~ScopedResourceModule() {
    g_current = previous_;
}

std::u16string LoadResourceString(unsigned id) {
    if (g_current == nullptr) return {};
    std::optional<std::u16string> text = platform::LoadModuleString(g_current, id);
    return text ? std::move(*text) : std::u16string();
}

void RegisterResourceModule(ModuleHandle module) {
    if (module == nullptr) return;
    auto& known = KnownModules();
    auto it = std::find_if(known.begin(), known.end(), [module](const KnownModule& k) { return k.module == module; });
    if (it == known.end()) {
        known.push_back({module, 1});
        return;
    }
    // A registration again makes the module the most recent one.
    KnownModule entry{module, it->count + 1};
    known.erase(it);
    known.push_back(entry);
}

void UnregisterResourceModule(ModuleHandle module) {
    auto& known = KnownModules();
    auto it = std::find_if(known.begin(), known.end(), [module](const KnownModule& k) { return k.module == module; });
    if (it == known.end()) return;
    if (--it->count == 0) known.erase(it);
}

ModuleHandle LatestResourceModule() noexcept {
    const auto& known = KnownModules();
    return known.empty() ? nullptr : known.back().module;
}

std::u16string FindFrameworkString(unsigned id) {
    const auto& known = KnownModules();
    for (auto it = known.rbegin(); it != known.rend(); ++it) {
        if (std::optional<std::u16string> text = platform::LoadModuleString(it->module, id)) return std::move(*text);
    }
    return {};
}

}  // namespace kxt::module
