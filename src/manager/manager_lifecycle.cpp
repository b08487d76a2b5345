// Construction, copying and destruction of the manager, its database set and
// the small stores the host keeps in it.
#include "kxtmat/material_dbs_manager.h"

#include <algorithm>

#include "module/resources.h"
#include "paths/data_paths.h"
#include "platform/modules.h"

namespace kxt::manager {
namespace {

// The resource module as one counted owner per module: managers that find the
// same module share it, whichever of them loaded it, so the module stays
// loaded while any of them holds it. The last owner unregisters it and
// releases it only when the search loaded it.
std::shared_ptr<void> ShareResourceModule(const paths::FoundModule& found) {
    if (found.handle == nullptr) return nullptr;
    static std::vector<std::weak_ptr<void>> owners;
    std::erase_if(owners, [](const std::weak_ptr<void>& owner) { return owner.expired(); });
    for (const auto& owner : owners) {
        if (std::shared_ptr<void> shared = owner.lock(); shared.get() == found.handle) {
            // Balance a load that an earlier owner's module already covered.
            if (found.loadedHere) platform::ReleaseModule(found.handle);
            return shared;
        }
    }
    module::RegisterResourceModule(found.handle);
    std::shared_ptr<void> owner(found.handle, [loadedHere = found.loadedHere](void* handle) {
        module::UnregisterResourceModule(handle);
        if (loadedHere) platform::ReleaseModule(handle);
    });
    owners.push_back(owner);
    return owner;
}

}  // namespace
}  // namespace kxt::manager

kxtMaterialDBsManager::kxtMaterialDBsManager() = default;

kxtMaterialDBsManager::kxtMaterialDBsManager(const kxtMaterialDBsManager& other) = default;

// Member by member; every member copes with assignment to itself.
kxtMaterialDBsManager& kxtMaterialDBsManager::operator=(const kxtMaterialDBsManager& other) = default;

// The resource module goes first; the members then go in reverse order of
// declaration, the databases (with their classes) last.
kxtMaterialDBsManager::~kxtMaterialDBsManager() {
    resourceModule_.reset();
}

void kxtMaterialDBsManager::InitResourcesData() {
    ownModuleName_ = kxt::paths::kOwnModule;
    resourceModuleName_ = kxt::paths::kResourceModule;
    resourceModule_ =
        kxt::manager::ShareResourceModule(kxt::paths::SearchResourceModule(ownModuleName_, resourceModuleName_));
}

int kxtMaterialDBsManager::GetDatabaseCount() const {
    return static_cast<int>(dbs_.size());
}

kxtMaterialDB* kxtMaterialDBsManager::GetDB(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= dbs_.size()) return nullptr;
    return dbs_[static_cast<std::size_t>(index)];
}

void kxtMaterialDBsManager::GetCustomDBs(std::vector<kxtMaterialDB>& out) const {
    if (&out != &customDBs_) out = customDBs_;
}

void kxtMaterialDBsManager::SetSustainSageString(int index, const std::u16string& text) {
    if (std::find(sageStrings_.begin(), sageStrings_.end(), text) != sageStrings_.end()) return;
    if (index < 0) return;
    if (static_cast<std::size_t>(index) >= sageStrings_.size())
        sageStrings_.push_back(text);
    else
        sageStrings_[static_cast<std::size_t>(index)] = text;
}
