#include "property_search.h"

namespace kxt::cli {
namespace {

// The index of group in db; -1 (every class) for a null group.
int IndexOf(const kxtMaterialDB& db, const kxtMaterialClass* group) {
    for (std::uint64_t i = 0; i < db.GetGroupCount(); ++i)
        if (db.GetMaterialClass(static_cast<int>(i)) == group) return static_cast<int>(i);
    return -1;
}

}  // namespace

std::vector<kxtMaterialBase*> SearchLibrary(const kxtMaterialDB& db, kxtSearchCriterionsSet criteria,
                                            kxtMaterialClass* group, const std::u16string& excluded) {
    criteria.SetClassIndex(static_cast<unsigned int>(IndexOf(db, group)));
    std::vector<kxtMaterialBase*> found;
    db.SearchMaterials(criteria, found, excluded, group);
    std::erase(found, nullptr);
    return found;
}

std::optional<double> SearchedValue(const kxtMaterialBase& material, const std::u16string& name) {
    kxtMatPhysProp property;
    if (material.FindElement(name, property) != 0) return property.GetValue();
    if (material.IsMaterialCostDefined()) return material.GetMaterialCostPerUnitMass();
    return std::nullopt;
}

}  // namespace kxt::cli
