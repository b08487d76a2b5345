// Material and class lookups across the manager's databases: each walks one
// or two database lists in order and answers the first hit.
#include <array>

#include "kxtmat/material_dbs_manager.h"
#include "manager/query_rules.h"

using kxt::manager::FirstHit;
using kxt::manager::FirstNamed;
using kxt::manager::MaterialIn;
using kxt::manager::MaterialInLibrary;

kxtMaterialBase* kxtMaterialDBsManager::GetMaterial(const std::u16string& name, const kxtMaterialDB* db) {
    return FirstHit(dbs_, [&](kxtMaterialDB& entry) { return &entry == db ? MaterialIn(entry, name) : nullptr; });
}

kxtMaterialBase* kxtMaterialDBsManager::GetMaterial(const std::u16string& name, const std::u16string& libraryName) {
    return FirstHit(dbs_, MaterialInLibrary(name, libraryName));
}

kxtMaterialBase* kxtMaterialDBsManager::GetStandardMaterial(const std::u16string& name) {
    return FirstHit(standardDBs_, [&](kxtMaterialDB& entry) { return MaterialIn(entry, name); });
}

kxtMaterialBase* kxtMaterialDBsManager::GetStandardMaterial(const std::u16string& className,
                                                            const std::u16string& name) {
    return FirstHit(standardDBs_, [&](kxtMaterialDB& entry) { return entry.FindMaterial(className, name); });
}

kxtMaterialBase* kxtMaterialDBsManager::GetCustomMaterial(const std::u16string& name,
                                                          const std::u16string& libraryName) {
    return FirstHit(customDBs_, MaterialInLibrary(name, libraryName));
}

kxtMaterialBase* kxtMaterialDBsManager::GetCustomMaterial(const std::u16string& name, const kxtMaterialDB* db) {
    return FirstHit(customDBs_, [&](kxtMaterialDB& entry) {
        return db == nullptr || &entry == db ? MaterialIn(entry, name) : nullptr;
    });
}

kxtMaterialBase* kxtMaterialDBsManager::GetCustomMaterialForObsoleteDocuments(const std::u16string& name) {
    return GetCustomMaterial(name, static_cast<const kxtMaterialDB*>(nullptr));
}

kxtMaterialClass* kxtMaterialDBsManager::FindMaterialGroup(const std::u16string& className, int dbType) {
    const auto findClass = [&](kxtMaterialDB& entry) { return entry.FindMaterialGroup(className); };
    switch (dbType) {
        case -1:
            if (kxtMaterialClass* group = FirstHit(standardDBs_, findClass)) return group;
            return FirstHit(customDBs_, findClass);
        case eKxtNativeDB:
        case eKxtNativeDinDB:
            return FirstHit(standardDBs_, findClass);
        case eKxtCustomDB:
        case eKxtSustainExtrasDB:
            return FirstHit(customDBs_, findClass);
        default:
            return nullptr;
    }
}

void kxtMaterialDBsManager::GetStandardMaterialClass(const std::u16string& name, std::u16string& className) {
    // The two database members themselves, whatever the standard list holds.
    className = nativeDB_.FindMaterialGroupName(name);
    if (className.empty()) className = nativeDinDB_.FindMaterialGroupName(name);
}

void kxtMaterialDBsManager::GetCustomMaterialClass(const std::u16string& name, const std::u16string& libraryName,
                                                   std::u16string& className) {
    if (kxtMaterialDB* db = FirstNamed(customDBs_, libraryName)) className = db->FindMaterialGroupName(name);
}

bool kxtMaterialDBsManager::IsMaterialsSupported(const std::u16string& name, const std::u16string& libraryName,
                                                 const int* flag) {
    if (name.empty()) return true;
    // Materials of the standard libraries carry their own environmental data;
    // the first of them that bears the name is the only one searched.
    const std::array<kxtMaterialDB*, 3> ownData{&nativeDB_, &nativeDinDB_, &sustainExtrasDB_};
    if (kxtMaterialDB* db = FirstNamed(ownData, libraryName)) {
        const kxtMaterialBase* material = MaterialIn(*db, name);
        return material != nullptr && material->GetEnvData() != 0;
    }
    // A custom material borrows the data of its linked material.
    if (const kxtMaterialBase* material = GetCustomMaterial(name, libraryName)) {
        return material->GetSageLink() != nullptr;
    }
    return flag != nullptr && *flag == 1 && !libraryName.empty();
}
