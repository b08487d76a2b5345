#include "chart_data.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

#include <kxtmat/material_walk.h>

#include "platform/text.h"
#include "property_search.h"

namespace kxt::cli {
namespace {

using platform::Utf16ToUtf8;

// The name of the axis in the user-interface language, taken from the first
// material that gives it a value.
void NameAxis(ChartAxis& axis, const kxtMaterialBase& material) {
    if (!axis.name.empty()) return;
    kxtMatPhysProp property;
    if (material.FindElement(axis.property, property) == 0) {
        axis.name = Utf16ToUtf8(axis.property);
        axis.title = axis.name + " (" + Utf16ToUtf8(material.GetUnitString()) + ")";
        return;
    }
    std::u16string name;
    property.GetLangPropName(name);
    if (name.empty()) property.GetPropName(name);
    axis.name = Utf16ToUtf8(name.empty() ? axis.property : name);
    axis.title = axis.name + " (" + Utf16ToUtf8(axis.property) + ")";
}

// The values of one axis for the materials of one class.
class AxisValues {
public:
    AxisValues(const kxtMaterialDB& db, kxtMaterialClass& group, ChartAxis& axis) : axis_(axis) {
        kxtSearchCriterionsSet criteria;
        kxtPhysPropSearchCriterionDef criterion;
        criterion.SetName(axis.property);
        criterion.SetCondition(kxtPhysPropSearchCriterionDef::eAny);
        criteria.InsertCriterion(criterion);
        const std::vector<kxtMaterialBase*> found = SearchLibrary(db, criteria, &group);
        found_.insert(found.begin(), found.end());
    }

    std::optional<double> Of(const kxtMaterialBase& material) {
        if (!found_.contains(&material)) return std::nullopt;
        const std::optional<double> value = SearchedValue(material, axis_.property);
        if (value) NameAxis(axis_, material);
        return value;
    }

private:
    ChartAxis& axis_;
    std::unordered_set<const kxtMaterialBase*> found_;
};

// Why value cannot be placed on the axis; nullopt when it can.
std::optional<LeftOutReason> Unplaceable(std::optional<double> value, bool log) {
    if (!value || !std::isfinite(*value)) return LeftOutReason::kNoValue;
    if (log && *value <= 0.0) return LeftOutReason::kNotPositive;
    return std::nullopt;
}

void AddClass(ChartData& data, const kxtMaterialDB& db, kxtMaterialClass& group) {
    AxisValues xs(db, group, data.x);
    AxisValues ys(db, group, data.y);
    const std::string className = Utf16ToUtf8(group.GetName());
    const std::size_t index = data.classes.size();
    kxt::ForEachMaterial(group, [&](kxtMaterialBase& material) {
        const std::optional<double> x = xs.Of(material);
        const std::optional<double> y = ys.Of(material);
        const std::optional<LeftOutReason> xFails = Unplaceable(x, data.log);
        const std::optional<LeftOutReason> yFails = Unplaceable(y, data.log);
        if (xFails || yFails) {
            data.leftOut.push_back({className, Utf16ToUtf8(material.GetName()), xFails ? *xFails : *yFails, !!xFails});
            return;
        }
        data.points.push_back({index, Utf16ToUtf8(material.GetName()), *x, *y});
    });
    if (!data.points.empty() && data.points.back().group == index) data.classes.push_back(className);
}

void NameUnnamedAxis(ChartAxis& axis) {
    if (axis.name.empty()) axis.title = axis.name = Utf16ToUtf8(axis.property);
}

}  // namespace

ChartData GatherChart(const kxtMaterialDB& db, const std::vector<const kxtMaterialClass*>& classes,
                      const std::u16string& x, const std::u16string& y, bool log) {
    ChartData data;
    data.library = Utf16ToUtf8(db.GetDbName());
    data.x.property = x;
    data.y.property = y;
    data.log = log;
    kxt::ForEachClass(db, [&](kxtMaterialClass& group) {
        if (classes.empty() || std::ranges::find(classes, &group) != classes.end()) AddClass(data, db, group);
    });
    NameUnnamedAxis(data.x);
    NameUnnamedAxis(data.y);
    return data;
}

}  // namespace kxt::cli
