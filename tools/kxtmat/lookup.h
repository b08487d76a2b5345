// The lookups over the loaded model that several commands share.
#pragma once

#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

namespace kxt::cli {

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
