// Rewriting a material's class and material names between the native,
// user-interface and GaBi vocabularies, in the caller's strings.
#include <string_view>

#include "kxtmat/material_dbs_manager.h"
#include "manager/query_rules.h"
#include "platform/text.h"

namespace kxt::manager {
namespace {

// A standard material by class and material name, or by material name alone
// when the class name is empty.
kxtMaterialBase* FindStandard(kxtMaterialDBsManager& manager, const std::u16string& className,
                              const std::u16string& materialName) {
    return className.empty() ? manager.GetStandardMaterial(materialName)
                             : manager.GetStandardMaterial(className, materialName);
}

}  // namespace
}  // namespace kxt::manager

int kxtMaterialDBsManager::MapToLang(std::u16string& className, std::u16string& materialName) {
    const kxtMaterialBase* material = kxt::manager::FindStandard(*this, className, materialName);
    if (material == nullptr) return 0;
    className = material->GetLangClassName();
    materialName = material->GetLangName();
    return 1;
}

int kxtMaterialDBsManager::MapToNative(std::u16string& className, std::u16string& materialName) {
    const kxtMaterialBase* material = kxt::manager::FindStandard(*this, className, materialName);
    if (material == nullptr) return 0;
    materialName = material->GetName();
    if (const kxtMaterialClass* group = material->GetGrOwner()) className = group->GetName();
    return 1;
}

void kxtMaterialDBsManager::MapMaterialDataToNative(const std::u16string& id, std::u16string& className,
                                                    std::u16string& materialName, std::u16string& libraryName) {
    kxt::platform::ToLowerInPlace(libraryName);
    // Once lower-cased, containing the lower-case markers is containing them in any case.
    const kxtMaterialDB* db = nullptr;
    std::u16string_view libraryFound;
    if (libraryName.find(u"korvex din ") != std::u16string::npos) {
        db = &nativeDinDB_;
        libraryFound = kxt::manager::kDinLibrary;
    } else if (libraryName.find(u"korvex") != std::u16string::npos) {
        db = &nativeDB_;
        libraryFound = kxt::manager::kNativeLibrary;
    } else {
        return;
    }
    kxtMaterialBase* material = nullptr;
    if (db->GetMaterialByID(id, material) == 0) return;
    libraryName = libraryFound;
    materialName = material->GetName();
    if (const kxtMaterialClass* group = material->GetGrOwner()) className = group->GetName();
}

void kxtMaterialDBsManager::MapPartDataBeforeCalculations(std::u16string& className, std::u16string& materialName,
                                                          const std::u16string& libraryName) {
    if (className.empty() || materialName.empty() || libraryName.empty()) return;
    kxtMaterialBase* found = kxt::manager::FindByLibrary(*this, materialName, libraryName);
    if (found == nullptr) return;
    // A custom material is calculated as the standard material it links to.
    const kxtMaterialBase* reported = kxt::manager::TypeDependentOwner(*found);
    if (reported == nullptr) return;
    className = reported->GetGrOwnerName();
    materialName = reported->GetName();
}

void kxtMaterialDBsManager::PrepareMaterialDataToGabi(std::u16string& className, std::u16string& materialName,
                                                      std::u16string& processName) {
    if (className.empty() || materialName.empty() || processName.empty()) return;
    kxtMaterialBase* material = GetStandardMaterial(materialName);
    if (material == nullptr) {
        kxtMaterialClass* group = FindMaterialGroup(className, -1);
        if (group == nullptr) return;
        material = group->GetMaterial(materialName);
        if (material == nullptr) return;
    }
    if (material->GetEnvData() == 0) return;

    // The environmental data set spells this one class differently.
    className = material->GetNativeClassName();
    if (kxt::platform::EqualsNoCase(className, u"Other non-metals")) className = u"Other Non-Metals";
    materialName = material->GetGabiName();
    if (const kxtManufacturingProcess* process = material->FindProcType(processName)) {
        processName = process->GetGaBiName();
    }
}
