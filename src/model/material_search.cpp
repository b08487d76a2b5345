// The property search of a database.
#include <algorithm>
#include <cmath>
#include <optional>

#include "kxtmat/material_db.h"
#include "model/prefetch.h"
#include "module/resources.h"
#include "platform/text.h"

namespace {

// String resource naming the cost criterion ("Material Cost" in English).
constexpr unsigned kCostCriterionStringId = 32965;

eKxtMaterialType MaterialTypeOf(eKxtMaterialBDType dbType, eKxtMaterialType current) {
    switch (dbType) {
        case eKxtNativeDB:
            return eKxtStandardMaterial;
        case eKxtNativeDinDB:
            return eKxtDinMaterial;
        case eKxtCustomDB:
        case eKxtSustainExtrasDB:
            return eKxtCustomMaterial;
    }
    return current;
}

}  // namespace

// The cost criterion's name, fetched from the framework at most once per
// search and only when a material lacks a criterion's property.
class kxtMaterialDB::CostCriterionName {
public:
    // True when name is the cost criterion. Without the resource its text is
    // empty, so only a criterion with an empty name is then the cost criterion.
    bool Matches(const std::u16string& name) {
        if (!text_) text_ = kxt::module::FindFrameworkString(kCostCriterionStringId);
        return kxt::platform::EqualsNoCase(name, *text_);
    }

private:
    std::optional<std::u16string> text_;
};

int kxtMaterialDB::iIsSatisfied(kxtPhysPropSearchCriterionDef::eSearchCondition condition, double v, double c) {
    switch (condition) {
        case kxtPhysPropSearchCriterionDef::eAny:
            return 1;
        case kxtPhysPropSearchCriterionDef::eGreaterThan:
            return v > c ? 1 : 0;
        case kxtPhysPropSearchCriterionDef::eLessThan:
            return v < c ? 1 : 0;
        case kxtPhysPropSearchCriterionDef::eApproximately:
            // Divided by c itself: c == 0 never qualifies, a negative c always
            // does; a quotient that is not a number fails the comparison.
            return std::abs(v - c) / c <= iAPPROXIMATELY_TOL ? 1 : 0;
    }
    return 0;
}

int kxtMaterialDB::SearchMaterials(const kxtSearchCriterionsSet& criteria, std::vector<kxtMaterialBase*>& results,
                                   const std::u16string& excludedName, kxtMaterialClass* group) const {
    CostCriterionName costName;
    if (criteria.GetClassIndex() == -1) {
        for (std::size_t i = 0; i < groups_.size(); ++i) {
            iSearchInGroup(criteria, static_cast<int>(i), results, 0, excludedName, nullptr, costName);
        }
    } else {
        iSearchInGroup(criteria, criteria.GetClassIndex(), results, 0, excludedName, group, costName);
    }
    return results.empty() ? 0 : 1;
}

int kxtMaterialDB::SearchInGroup(const kxtSearchCriterionsSet& criteria, int classIndex,
                                 std::vector<kxtMaterialBase*>& results, int includeAll,
                                 const std::u16string& excludedName, kxtMaterialClass* group) const {
    CostCriterionName costName;
    return iSearchInGroup(criteria, classIndex, results, includeAll, excludedName, group, costName);
}

int kxtMaterialDB::iSearchInGroup(const kxtSearchCriterionsSet& criteria, int classIndex,
                                  std::vector<kxtMaterialBase*>& results, int includeAll,
                                  const std::u16string& excludedName, kxtMaterialClass* group,
                                  CostCriterionName& costName) const {
    const kxtMaterialClass* searched = group != nullptr ? group : GetMaterialClass(classIndex);
    if (searched == nullptr) return 0;

    const std::size_t before = results.size();
    const auto satisfies = [&](const kxtMaterialBase& material, const kxtPhysPropSearchCriterionDef& criterion) {
        if (const kxtMatPhysProp* property = material.iFindProperty(criterion.GetName())) {
            return iIsSatisfied(criterion.GetCondition(), property->GetValue(), criterion.GetValue()) != 0;
        }
        if (costName.Matches(criterion.GetName())) {
            return iIsSatisfied(criterion.GetCondition(), material.GetMaterialCostPerUnitMass(), criterion.GetValue()) !=
                   0;
        }
        return false;
    };

    // Materials and their property lists are separate heap blocks: ask for
    // what the criteria read a few materials ahead (the list's lines once its
    // material has arrived), so the walk does not wait at each one.
    kxt::model::WalkMaterialsAhead<8, 4>(
        *searched,
        [](const kxtMaterialBase& ahead) {
            kxt::model::Prefetch(&ahead.properties_);
            kxt::model::Prefetch(&ahead.cost_);
        },
        [](const kxtMaterialBase& ahead) { kxt::model::PrefetchElements(ahead.properties_); },
        [&](kxtMaterialBase& material) {
            if (!excludedName.empty() && kxt::platform::EqualsNoCase(material.GetName(), excludedName)) return false;
            const bool qualifies = std::all_of(criteria.criteria_.begin(), criteria.criteria_.end(),
                                               [&](const auto& criterion) { return satisfies(material, criterion); });
            if (qualifies || includeAll != 0) {
                material.SetMaterialType(MaterialTypeOf(type_, material.GetType()));
                results.push_back(&material);
            }
            return false;
        });
    return results.size() > before ? 1 : 0;
}
