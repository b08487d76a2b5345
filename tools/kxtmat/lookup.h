// Walks over the loaded model and the lookups that several commands share.
// Every walk is in list order and skips null entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

namespace kxt::cli {

template <class F>
void ForEachClass(const kxtMaterialDB& db, F&& visit) {
    for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i)
        if (kxtMaterialClass* group = db.GetMaterialClass(static_cast<int>(i))) visit(*group);
}

template <class F>
void ForEachMaterial(const kxtMaterialClass& group, F&& visit) {
    for (std::uint64_t i = 0; i < group.GetMaterialCount(); ++i)
        if (kxtMaterialBase* material = group.GetMaterial(static_cast<unsigned int>(i))) visit(*material);
}

// The manager's database list, or only its databases whose library name
// equals library (without regard to case) when library is not null.
std::vector<kxtMaterialDB*> Databases(kxtMaterialDBsManager& manager, const std::u16string* library);

// The first material of that native or language name in the database list
// (or in the databases of that library); null when none.
kxtMaterialBase* FindMaterial(kxtMaterialDBsManager& manager, const std::u16string& name,
                              const std::u16string* library);

// The library (short database) name of the material's database; empty without one.
std::u16string LibraryOf(const kxtMaterialBase& material);

}  // namespace kxt::cli
