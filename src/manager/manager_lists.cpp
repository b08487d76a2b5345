// The lists handed to the environmental calculation: the sustainable classes
// and materials of the custom databases and the standard classes as general
// items. Every operation appends to the caller's list.
#include <algorithm>

#include "kxtmat/material_dbs_manager.h"
#include "manager/query_rules.h"
#include "mapping/material_index.h"
#include "platform/text.h"

namespace kxt::manager {
namespace {

// Calls visit with every class of the database, in order.
template <class Visit>
void ForEachClass(const kxtMaterialDB& db, Visit&& visit) {
    const auto count = static_cast<int>(db.GetGroupCount());
    for (int i = 0; i < count; ++i) {
        if (kxtMaterialClass* group = db.GetMaterialClass(i)) visit(*group);
    }
}

bool IsLinked(const kxtMaterialBase* material) { return material != nullptr && material->GetSageLink() != nullptr; }

// Whether the environmental calculation can use a class: it holds materials,
// and it comes from sustainability extras or one of its materials is linked.
bool IsSustainable(const kxtMaterialClass& group) {
    const auto count = static_cast<unsigned int>(group.GetMaterialCount());
    if (count == 0) return false;
    if (IsSustainExtras(group.GetDbOwner())) return true;
    for (unsigned int i = 0; i < count; ++i) {
        if (IsLinked(group.GetMaterial(i))) return true;
    }
    return false;
}

void AppendLangClassNames(const kxtMaterialDB& db, std::vector<std::u16string>& items) {
    ForEachClass(db, [&](const kxtMaterialClass& group) { items.push_back(group.GetLangName()); });
}

}  // namespace
}  // namespace kxt::manager

void kxtMaterialDBsManager::GetSustainableClasses(std::vector<kxtMaterialClass*>& classes) {
    for (const kxtMaterialDB& db : customDBs_) {
        kxt::manager::ForEachClass(db, [&](kxtMaterialClass& group) {
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
        kxt::mapping::ForEachMaterial(db, [&](kxtMaterialBase& material, const kxtMaterialClass&) {
            if (kxt::manager::IsLinked(&material) || kxt::manager::IsSustainExtras(material.GetDbOwner())) {
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
