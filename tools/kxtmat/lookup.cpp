#include "lookup.h"

#include "platform/text.h"

namespace kxt::cli {

std::vector<kxtMaterialDB*> Databases(kxtMaterialDBsManager& manager, const std::u16string* library) {
    std::vector<kxtMaterialDB*> databases;
    for (int i = 0; i < manager.GetDatabaseCount(); ++i) {
        kxtMaterialDB* db = manager.GetDB(i);
        if (db != nullptr && (library == nullptr || platform::EqualsNoCase(db->GetDbName(), *library)))
            databases.push_back(db);
    }
    return databases;
}

kxtMaterialBase* FindMaterial(kxtMaterialDBsManager& manager, const std::u16string& name,
                              const std::u16string* library) {
    if (library != nullptr) return manager.GetMaterial(name, *library);
    for (kxtMaterialDB* db : Databases(manager, nullptr))
        if (kxtMaterialBase* material = manager.GetMaterial(name, db)) return material;
    return nullptr;
}

std::u16string LibraryOf(const kxtMaterialBase& material) {
    std::u16string library;
    material.GetOwnerDbName(library);
    return library;
}

}  // namespace kxt::cli
