// The lists handed to the environmental calculation: the sustainable classes
// and materials of the custom databases and the standard classes as general
// items. Every operation appends to the caller's list.
#include <algorithm>

#include "kxtmat/material_dbs_manager.h"
#include "kxtmat/material_walk.h"
#include "manager/query_rules.h"
#include "platform/text.h"

namespace kxt::manager {
namespace {

bool IsLinked(const kxtMaterialBase& material) { return material.GetSageLink() != nullptr; }

// Whether the environmental calculation can use a class: it holds materials,
// and it comes from sustainability extras or one of its materials is linked.
bool IsSustainable(const kxtMaterialClass& group) {
    if (group.GetMaterialCount() == 0) return false;
    return IsSustainExtras(group.GetDbOwner()) || FirstMaterial(group, IsLinked) != nullptr;
}

void AppendLangClassNames(const kxtMaterialDB& db, std::vector<std::u16string>& items) {
    ForEachClass(db, [&](const kxtMaterialClass& group) { items.push_back(group.GetLangName()); });
}

}  // namespace
}  // namespace kxt::manager

void kxtMaterialDBsManager::GetSustainableClasses(std::vector<kxtMaterialClass*>& classes) {
    for (const kxtMaterialDB& db : customDBs_) {
        kxt::ForEachClass(db, [&](kxtMaterialClass& group) {
            if (!kxt::manager::IsSustainable(group)) return;
            // One class per name: the first database's class stands for the others.
            const bool listed = std::any_of(classes.begin(), classes.end(), [&](const kxtMaterialClass* entry) {
                return entry != nullptr && kxt::platform::EqualsNoCase(entry->GetName(), group.GetName());
            });
            if (!listed) classes.push_back(&group);
        });
    }
}

void kxtMaterialDBsManager::GetSustainableMaterials(std::vector<kxtMaterialBase*>& materials) {
    for (const kxtMaterialDB& db : customDBs_) {
        kxt::ForEachMaterial(db, [&](kxtMaterialBase& material) {
            if (kxt::manager::IsLinked(material) || kxt::manager::IsSustainExtras(material.GetDbOwner())) {
                materials.push_back(&material);
            }
        });
    }
}

void kxtMaterialDBsManager::GetKxGeneralItems(std::vector<std::u16string>& items) {
    kxt::manager::AppendLangClassNames(nativeDB_, items);
}

void kxtMaterialDBsManager::GetDINGeneralItems(std::vector<std::u16string>& items) {
    kxt::manager::AppendLangClassNames(nativeDinDB_, items);
}

void kxtMaterialDBsManager::GetSustainExtrasGeneralItems(std::vector<std::u16string>& items) {
    std::vector<kxtMaterialClass*> classes;
    GetSustainableClasses(classes);
    for (const kxtMaterialClass* group : classes) items.push_back(group->GetLangName());
}
