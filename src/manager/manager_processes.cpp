// Manufacturing process queries: the processes a material admits, its default
// process, process names in either vocabulary, the processes that classes
// share and a process's energy parameters.
#include <algorithm>
#include <vector>

#include "kxtmat/material_dbs_manager.h"
#include "kxtmat/material_walk.h"
#include "manager/query_rules.h"
#include "mapping/material_processes_mapper.h"
#include "model/shared_defaults.h"
#include "platform/text.h"

namespace kxt::manager {
namespace {

// The process named process (language, native or GaBi name) of the material
// that owns a material's processes by the type-dependent rule; null when none.
const kxtManufacturingProcess* FindOwnedProcess(const kxtMaterialBase* material, const std::u16string& process) {
    if (material == nullptr) return nullptr;
    // The owner rule and FindProcType only read, but are not declared const.
    kxtMaterialBase* owner = TypeDependentOwner(const_cast<kxtMaterialBase&>(*material));
    return owner != nullptr ? owner->FindProcType(process) : nullptr;
}

// The material that speaks for a class when processes are compared: the first
// with environmental data, else the last; null for an empty class.
const kxtMaterialBase* RepresentativeOf(const kxtMaterialClass& group) {
    if (const kxtMaterialBase* material =
            FirstMaterial(group, [](const kxtMaterialBase& m) { return m.GetEnvData() != 0; }))
        return material;
    const auto count = static_cast<unsigned int>(group.GetMaterialCount());
    return count == 0 ? nullptr : group.GetMaterial(count - 1);
}

bool HasProcessNamed(const std::vector<kxtManufacturingProcess>& processes, const std::u16string& langName) {
    return std::any_of(processes.begin(), processes.end(), [&](const kxtManufacturingProcess& process) {
        return platform::EqualsNoCase(process.GetLangName(), langName);
    });
}

}  // namespace
}  // namespace kxt::manager

using kxt::manager::FindByLibrary;
using kxt::manager::FindOwnedProcess;
using kxt::manager::LinkedFirst;

void kxtMaterialDBsManager::GetDefaultProcess(std::u16string langClassName, std::u16string& process) {
    // Built afresh on each call, so it always speaks the resource module's language.
    const kxt::mapping::kxtMaterialProcessesMapper mapper(iGetResourceModule());
    const std::u16string* found = mapper.Find(langClassName);
    if (found != nullptr) {
        process = *found;
    } else {
        process.clear();
    }
}

void kxtMaterialDBsManager::GetDefaultProcessForAnyMaterial(const std::u16string& name,
                                                            const std::u16string& libraryName,
                                                            std::u16string& process) {
    kxtMaterialBase* material = FindByLibrary(*this, name, libraryName);
    if (material == nullptr) return;
    kxtMaterialBase* owner = LinkedFirst(*material);
    GetDefaultProcess(owner->GetLangClassName(), process);

    const kxtManufacturingProcess* found = process.empty() ? nullptr : owner->FindProcType(process);
    if (found == nullptr) {
        // The class's default is not one of the material's: take its first process.
        if (owner->GetProcCount() != 0) process = owner->GetProcType(0)->GetNativeName();
        found = owner->FindProcType(process);
        if (found == nullptr) return;
    }
    process = found->GetNativeName();
}

int kxtMaterialDBsManager::IsProcessApplicable(const std::u16string& process, const std::u16string& name,
                                               const std::u16string& libraryName) {
    kxtMaterialBase* material = FindByLibrary(*this, name, libraryName);
    if (material == nullptr) return 0;
    return LinkedFirst(*material)->FindProcType(process) != nullptr ? 1 : 0;
}

const std::u16string& kxtMaterialDBsManager::MapMfgProcessToLang(const std::u16string& name,
                                                                 const std::u16string& libraryName,
                                                                 const std::u16string& process) {
    return MapMfgProcessToLang(FindByLibrary(*this, name, libraryName), process);
}

const std::u16string& kxtMaterialDBsManager::MapMfgProcessToLang(const kxtMaterialBase* material,
                                                                 const std::u16string& process) {
    const kxtManufacturingProcess* found = FindOwnedProcess(material, process);
    return found != nullptr ? found->GetLangName() : kxt::model::SharedEmptyString();
}

const std::u16string& kxtMaterialDBsManager::MapMfgProcessToNative(const std::u16string& name,
                                                                   const std::u16string& libraryName,
                                                                   const std::u16string& process, int* envData) {
    kxtMaterialBase* material = FindByLibrary(*this, name, libraryName);
    // The environmental data follows the link even where the processes do not.
    if (material != nullptr && envData != nullptr) *envData = LinkedFirst(*material)->GetEnvData();
    return MapMfgProcessToNative(material, process);
}

const std::u16string& kxtMaterialDBsManager::MapMfgProcessToNative(const kxtMaterialBase* material,
                                                                   const std::u16string& process) {
    const kxtManufacturingProcess* found = FindOwnedProcess(material, process);
    return found != nullptr ? found->GetNativeName() : kxt::model::SharedEmptyString();
}

void kxtMaterialDBsManager::GetInCommonProcesses(const std::vector<std::u16string>& classNames,
                                                 std::vector<std::u16string>& processes) {
    // The process lists of the classes' representative materials, read in place.
    std::vector<const std::vector<kxtManufacturingProcess>*> lists;
    for (const std::u16string& className : classNames) {
        const kxtMaterialClass* group = nativeDB_.FindMaterialGroup(className);
        if (group == nullptr) group = nativeDinDB_.FindMaterialGroup(className);
        if (group == nullptr) continue;
        if (const kxtMaterialBase* material = kxt::manager::RepresentativeOf(*group)) {
            lists.push_back(&material->GetManufacturingTypes());
        }
    }

    if (lists.empty()) return;
    if (lists.size() == 1) {
        processes.clear();
        for (const kxtManufacturingProcess& process : *lists.front()) processes.push_back(process.GetLangName());
        return;
    }
    // Only the processes that the standard library knows, in its order and spelling.
    for (std::u16string& type : nativeDB_.GetAllProcessTypes()) {
        const bool shared = std::all_of(lists.begin(), lists.end(), [&](const auto* list) {
            return kxt::manager::HasProcessNamed(*list, type);
        });
        if (shared) processes.push_back(std::move(type));
    }
}

void kxtMaterialDBsManager::GetManufacturingEnergyParams(const std::u16string& className, const std::u16string& name,
                                                         const std::u16string& process, std::vector<double>& params) {
    // The first class of that name decides, even when it lacks the material.
    const kxtMaterialBase* material = nullptr;
    if (kxtMaterialClass* group = FindMaterialGroup(className, -1)) {
        material = group->GetMaterial(name);
    } else {
        material = GetFavoritesMaterial(name);
    }
    if (material != nullptr) material->GetManufacturingEnergyParams(params, process);
}
