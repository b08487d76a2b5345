// The property search of one library, shared by the search and chart
// commands: both name a property the same way (an abbreviation, or the cost
// criterion "Material Cost" in the user-interface language).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <kxtmat/kxtmat.h>

namespace kxt::cli {

// The materials of db that satisfy every criterion, in walk order: those of
// group only when it is not null, and none whose native name is excluded
// (when not empty).
std::vector<kxtMaterialBase*> SearchLibrary(const kxtMaterialDB& db, kxtSearchCriterionsSet criteria,
                                            kxtMaterialClass* group, const std::u16string& excluded = {});

// The value a criterion named name compares for material: its property of
// that abbreviation, else its cost per unit mass; nullopt when the cost is
// not defined. REQUIRES: a search for name with any value found material.
std::optional<double> SearchedValue(const kxtMaterialBase& material, const std::u16string& name);

}  // namespace kxt::cli
